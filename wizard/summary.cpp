#include "summary.h"

#include "converter_arguments.h"
#include "neighbour_projects.h"
#include "typed_path.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

namespace {

// One line per member of a project group source; empty when the source is a single project.
QString projectGroupText(const std::optional<ProjectGroup>& group)
{
    if (!group) {
        return {};
    }
    QStringList lines = group->members;
    if (group->members.isEmpty()) {
        lines << wizardText("none: the group lists no project");
    }
    if (!group->readWhole) {
        lines << wizardText("the group file could not be read beyond this point");
    }
    return lines.join(u'\n');
}

} // namespace

QString summaryText(const WizardFields& fields, const std::optional<ProjectGroup>& group)
{
    const auto orElse = [](const QString& value, const QString& meaning) { return value.isEmpty() ? meaning : value; };
    const QString none = wizardText("none");
    QList<std::pair<QString, QString>> blocks = {
        {wizardText("Visual DSP Project:\n"), typedPath(fields.projectFile)},
        {wizardText("Visual DSP Install Location:\n"),
         orElse(typedPath(fields.installFolder), wizardText("looked up"))},
        {wizardText("Tavric / Tavric++ Project Directory:\n"), typedPath(fields.destination)},
        {wizardText("Tavric / Tavric++ Project Name:\n"), projectName(fields)},
        {wizardText("Message Personality:\n"), orElse(typedPath(fields.messagePersonality), none)},
        {wizardText("Tamplate Analyser Personality:\n"), orElse(typedPath(fields.analyserPersonality), none)},
        {wizardText("Compiler Personality:\n"), orElse(typedPath(fields.compilerPersonality), none)},
        {wizardText("File Extensions:\n"), orElse(fields.extensionList, wizardText("all files"))},
        {wizardText("Conversion Report:\n"), fields.report ? reportFilePath(fields) : none},
        {wizardText("Compilation Databases:\n"),
         fields.compilationDatabases ? compilationDatabaseFolder(fields) : none},
    };
    const QString projectFile = projectFilePath(fields);
    if (QFileInfo::exists(localPath(projectFile))) {
        blocks.insert(4, {wizardText("Existing Project:\n"),
                          wizardText("%1 exists: this run updates it, and your edits stay in effect, merged with the "
                                     "update where they can be.")
                              .arg(projectFile)});
    }
    if (const QString neighbour = neighbourInProjectFolder(fields.destination, projectName(fields), fields.projectFile);
        !neighbour.isEmpty()) {
        blocks.insert(4, {wizardText("Other Project In The Folder:\n"),
                          wizardText("%1, converted into this folder from a project file of the same name, wrote the "
                                     "files this run would write: Finish will refuse to write over them. Choose "
                                     "another folder, or convert under the name %1.")
                              .arg(neighbour)});
    }
    const QString members = projectGroupText(group);
    if (!members.isEmpty()) {
        blocks.insert(1, {wizardText("Project Group Members:\n"), members});
    }
    QStringList texts;
    for (const auto& [heading, value] : blocks) {
        texts << heading + value;
    }
    return texts.join(QStringLiteral("\n\n")) + u'\n';
}
