#include "typed_path.h"

#include "base/windows_path.h"
#include "converter_text.h"
#include "platform/platform.h"

#include <QDir>

namespace {

QString withoutSurroundingQuotes(const QString& text)
{
    for (const QChar quote : {u'"', u'\''}) {
        if (text.size() >= 2 && text.startsWith(quote) && text.endsWith(quote)) {
            return text.mid(1, text.size() - 2);
        }
    }
    return text;
}

// On Windows "~" is an ordinary character of file names.
QString withHomeFolder(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    if (path == u"~" || path.startsWith(QStringLiteral("~/"))) {
        return QDir::homePath() + path.mid(1);
    }
    return path;
#endif
}

} // namespace

QString typedPath(const QString& text)
{
    return withHomeFolder(withoutSurroundingQuotes(text.trimmed()));
}

QString localPath(const QString& text)
{
    const QString path = typedPath(text);
    const std::string converterPath = toConverterText(path);
    if (!hasDrive(converterPath)) {
        return path;
    }
    const std::string hostPath = platform::hostPath(converterPath);
    return hostPath.empty() ? path : fromConverterText(hostPath);
}
