#pragma once

#include <QString>

#include <string>
#include <string_view>

// The converter's strings are the system's 8-bit text, as its command line gives them.
inline std::string toConverterText(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

inline QString fromConverterText(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
