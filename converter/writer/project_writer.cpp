#include "writer/project_writer.h"

#include "base/console.h"
#include "base/errors.h"
#include "base/output_file.h"
#include "base/windows_path.h"
#include "reader/group.h"
#include "report/conversion_report.h"
#include "layout/destination_folders.h"
#include "layout/name_folders.h"
#include "layout/output_plan.h"
#include "layout/output_paths.h"

ProjectWriter::ProjectWriter(const OutputPlan& plan, DestinationFolders& folders, ConversionReport& report)
    : plan(plan), settings(plan.settings()), folders(folders), report(report)
{
}

void ProjectWriter::writeProjectFile()
{
    OutputFile projectFile(projectFilePath(settings), folders.preview());
    printLine("Creating Tavric/Tavric++ Project ...");
    projectFile.writeLine("VersionTag45");
    write(projectFile, plan.root());
    projectFile.close();
    printLine("Tavric/Tavric++ Project Completed!");
}

void ProjectWriter::write(OutputFile& out, const PlannedGroup& planned)
{
    const Group& group = *planned.group;
    if (planned.folderName != group.name) {
        report.folderRenamed(group.name, planned.folder);
    }

    makeNameFolders(folders, planned.baseFolder, planned.folderName);
    folders.makeDirectory(planned.folder);
    folders.makeDirectory(planned.folder + "\\output\\");
    folders.makeDirectory(planned.folder + "\\person\\");
    if (group.isEmpty()) {
        return;
    }

    printLine("  Creating Group - " + group.name);
    out.writeLine("StartProjectMarker");
    out.writeLine("FolderName=" + group.name);
    out.writeLine("SourcePath=" + (group.sourceDir.empty() ? planned.folder + "\\" : group.sourceDir));
    out.writeLine("OutputPath=" + planned.folder + "\\output\\");
    out.writeLine("SubsPers=" + selectMessagePersonality());
    out.writeLine("AnalPers=" + chooseAnalyserPersonality(planned));
    produceAnalyserPersonality(planned);
    out.writeLine("CompPers=" + selectCompilerPersonality());
    for (const std::string_view file : group.files()) {
        if (!file.empty()) {
            out.writeLine(file);
        }
    }
    out.writeLine("EndContainedFilesMarker");
    if (planned.children.empty()) {
        return;
    }

    out.writeLine("StartSubProjectMarker");
    // The root's children are the projects of a group, which its report names.
    const bool childrenAreProjects = &planned == &plan.root() && settings.sourceIsGroup;
    for (const PlannedGroup& child : planned.children) {
        if (childrenAreProjects) {
            report.setProject(child.group->name);
        }
        write(out, child);
    }
    if (childrenAreProjects) {
        report.setProject("");
    }
    out.writeLine("EndSubProjectMarker");
}
