#include "typed_path.h"

#include <QDir>

namespace {

QString withoutSurroundingQuotes(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"')) {
        return text.mid(1, text.size() - 2);
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
