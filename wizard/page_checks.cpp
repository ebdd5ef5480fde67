#include "page_checks.h"

#include "base/project_name.h"
#include "converter_arguments.h"
#include "converter_text.h"
#include "project_group.h"
#include "typed_path.h"

#include <QFileInfo>

namespace {

enum class Wanted { file, folder };

// What is wrong with a path typed for a field that wants a file or a folder; empty when nothing is.
QString wrongEntry(const QString& label, const QString& path, Wanted wanted, const QString& fileKind = {})
{
    const QFileInfo entry(path);
    if (!entry.exists()) {
        return (wanted == Wanted::folder ? wizardText("%1: no such folder.") : wizardText("%1: no such file."))
            .arg(label);
    }
    if (entry.isDir() == (wanted == Wanted::folder)) {
        return {};
    }
    return wanted == Wanted::folder ? wizardText("%1: this is a file, not a folder.").arg(label)
                                    : wizardText("%1: this is a folder, not a %2 file.").arg(label, fileKind);
}

QString projectFileProblem(const QString& typed)
{
    const QString path = localPath(typed);
    if (path.isEmpty()) {
        return wizardText("Project File: choose the project (.dpj) or project group (.dpg) to convert.");
    }
    const QString problem = wrongEntry(wizardText("Project File"), path, Wanted::file, wizardText("project"));
    return problem.isEmpty() ? sourceFileProblem(path) : problem;
}

// Empty is taken: the converter then looks the installation up itself.
QString installFolderProblem(const QString& typed)
{
    const QString path = localPath(typed);
    if (path.isEmpty()) {
        return {};
    }
    const QString problem = wrongEntry(wizardText("Install Location"), path, Wanted::folder);
    return QFileInfo::exists(path) ? problem : problem + wizardText(" Leave it empty to have it looked up.");
}

QString destinationProblem(const QString& typed)
{
    const QString path = localPath(typed);
    if (path.isEmpty()) {
        return wizardText("Folder: choose the folder that the Tavric/Tavric++ project goes into.");
    }
    const QString problem = wrongEntry(wizardText("Folder"), path, Wanted::folder);
    if (problem.isEmpty() && !QFileInfo(path).isWritable()) {
        return wizardText("Folder: this folder cannot be written.");
    }
    return problem;
}

QString nameProblem(const QString& name)
{
    if (name.isEmpty()) {
        return wizardText("Name: enter a name for the Tavric/Tavric++ project.");
    }
    const std::optional<std::string> fault = projectNameFault(toConverterText(name));
    return fault ? wizardText("Name: %1.").arg(fromConverterText(*fault)) : QString();
}

QString personalityProblem(const QString& typed, const QString& label)
{
    const QString path = localPath(typed);
    return path.isEmpty() ? QString() : wrongEntry(label, path, Wanted::file, wizardText("personality"));
}

} // namespace

bool destinationIsMissing(const WizardFields& fields)
{
    const QString path = localPath(fields.destination);
    return !path.isEmpty() && !QFileInfo::exists(path);
}

QStringList firstPageProblems(const WizardFields& fields)
{
    return {projectFileProblem(fields.projectFile), installFolderProblem(fields.installFolder),
            destinationProblem(fields.destination), nameProblem(projectName(fields))};
}

QStringList personalityPageProblems(const WizardFields& fields)
{
    return {personalityProblem(fields.messagePersonality, wizardText("Message Personality")),
            personalityProblem(fields.analyserPersonality, wizardText("Template Analyser Personality")),
            personalityProblem(fields.compilerPersonality, wizardText("Compiler Personality"))};
}
