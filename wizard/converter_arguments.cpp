#include "converter_arguments.h"

#include "converter_program.h"
#include "typed_path.h"

#include <QDir>

namespace {

QString inDestination(const WizardFields& fields, const QString& suffix)
{
    return QDir::toNativeSeparators(QDir(typedPath(fields.destination)).filePath(fields.name + suffix));
}

} // namespace

QString buildExtensionList(const QStringList& tickedExtensions, const QString& customExtensions)
{
    QString list;
    for (const QString& extension : tickedExtensions) {
        list += extension + u',';
    }
    list += customExtensions;
    if (list.endsWith(u',')) {
        list.chop(1);
    }
    return list;
}

QString projectFilePath(const WizardFields& fields)
{
    return inDestination(fields, QStringLiteral(".prj"));
}

QString reportFilePath(const WizardFields& fields)
{
    return inDestination(fields, QStringLiteral(".report.tsv"));
}

QString compilationDatabaseFolder(const WizardFields& fields)
{
    return inDestination(fields, QStringLiteral(".compdb"));
}

QStringList converterCommandLine(const WizardFields& fields)
{
    QStringList commandLine{converterProgramName,       typedPath(fields.projectFile),
                            typedPath(fields.destination), typedPath(fields.installFolder),
                            QStringLiteral("-pn"),      fields.name};
    const std::pair<QString, QString> options[] = {
        {QStringLiteral("-mp"), typedPath(fields.messagePersonality)},
        {QStringLiteral("-ap"), typedPath(fields.analyserPersonality)},
        {QStringLiteral("-cp"), typedPath(fields.compilerPersonality)},
        {QStringLiteral("-ext"), fields.extensionList},
        {QStringLiteral("-report"), fields.report ? reportFilePath(fields) : QString()},
        {QStringLiteral("-compdb"), fields.compilationDatabases ? compilationDatabaseFolder(fields) : QString()},
    };
    for (const auto& [option, value] : options) {
        if (!value.isEmpty()) {
            commandLine << option << value;
        }
    }
    return commandLine;
}
