#include "converter_arguments.h"

#include "base/windows_path.h"
#include "converter_program.h"
#include "converter_text.h"
#include "typed_path.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString projectFileSuffix = QStringLiteral(".prj");

// A destination typed with a drive ("Z:\tmp\out", as Wine's file dialogs give it) keeps Windows form on
// every platform, so that no path the wizard shows mixes the two.
QString inDestination(const WizardFields& fields, const QString& suffix)
{
    const QString destination = typedPath(fields.destination);
    const QString path = QDir(destination).filePath(projectName(fields) + suffix);
    return hasDrive(toConverterText(destination)) ? QString(path).replace(u'/', u'\\') : QDir::toNativeSeparators(path);
}

} // namespace

// "*.asm", ".asm" and " asm " all mean asm, as the check boxes show their extensions with "*." before them.
QString bareExtension(QString entry)
{
    entry = entry.trimmed();
    if (entry.startsWith(u'*')) {
        entry.remove(0, 1);
    }
    if (entry.startsWith(u'.')) {
        entry.remove(0, 1);
    }
    return entry.trimmed();
}

QString buildExtensionList(const QStringList& tickedExtensions, const QString& customExtensions)
{
    QString list;
    for (const QString& extension : tickedExtensions) {
        list += extension + u',';
    }
    if (!customExtensions.isEmpty()) {
        // Users separate with semicolons and blanks too ("asm; c"): each word
        // is an entry, while empty entries between commas stay as typed.
        QStringList custom = QString(customExtensions).replace(u';', u',').split(u',');
        std::transform(custom.begin(), custom.end(), custom.begin(), [](const QString& entry) {
            QStringList words = entry.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
            std::transform(words.begin(), words.end(), words.begin(), bareExtension);
            return words.join(u',');
        });
        list += custom.join(u',');
    }
    if (list.endsWith(u',')) {
        list.chop(1);
    }
    return list;
}

QString projectName(const WizardFields& fields)
{
    const QString name = fields.name.trimmed();
    return name.endsWith(projectFileSuffix, Qt::CaseInsensitive) ? name.chopped(projectFileSuffix.size()) : name;
}

QString projectFilePath(const WizardFields& fields)
{
    return inDestination(fields, projectFileSuffix);
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
    QStringList commandLine{converterProgramName,          typedPath(fields.projectFile),
                            typedPath(fields.destination), typedPath(fields.installFolder),
                            QStringLiteral("-pn"),         projectName(fields)};
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
