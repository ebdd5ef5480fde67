#include "converter_program.h"

#include <QStandardPaths>

QString findConverter(const QString& programName, const QString& ownFolder)
{
    const QString beside = QStandardPaths::findExecutable(programName, {ownFolder});
    return beside.isEmpty() ? QStandardPaths::findExecutable(programName) : beside;
}

QString converterFileName()
{
#ifdef Q_OS_WIN
    return converterProgramName + QStringLiteral(".exe");
#else
    return converterProgramName;
#endif
}
