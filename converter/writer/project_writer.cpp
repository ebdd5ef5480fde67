// The analyser project file and the destination folder tree, written by walking
// the group tree depth first.
#include "writer/project_writer.h"

#include "base/console.h"
#include "base/errors.h"
#include "base/output_file.h"
#include "base/windows_path.h"
#include "driver/converter.h"
#include "report/conversion_report.h"
#include "writer/destination_folders.h"
#include "writer/name_folders.h"
#include "writer/output_paths.h"

void writeProjectFile(const Converter& converter)
{
    OutputFile projectFile(joinPath(converter.getDestinationFolder(), converter.projectName + ".prj"));
    printLine("Creating Tavric/Tavric++ Project ...");
    projectFile.writeLine("VersionTag45");
    converter.getRootGroup().write(converter, projectFile, "", projectPersonality(converter, analyserExtension));
    projectFile.close();
    printLine("Tavric/Tavric++ Project Completed!");
}

void Group::write(const Converter& converter, OutputFile& out, const std::string& parentPath,
                  const std::string& inheritedAnalyser) const
{
    writeAs(converter, out, parentPath, rootFolderName(*this), inheritedAnalyser);
}

void Group::writeAs(const Converter& converter, OutputFile& out, const std::string& parentPath,
                    const std::string& folderName, const std::string& inheritedAnalyser) const
{
    const std::string destinationFolder = converter.getDestinationFolder();
    const std::string baseFolder = groupBaseFolder(destinationFolder, parentPath);
    // Group names come from the project file: one leading out of the
    // destination would put folders and personality files elsewhere.
    if (leavesItsFolder(name)) {
        throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(baseFolder, name));
    }
    const std::string groupFolder = joinPath(baseFolder, folderName);
    if (folderName != name) {
        converter.getReport().folderRenamed(name, groupFolder);
    }

    DestinationFolders& folders = converter.getDestinationFolders();
    makeNameFolders(folders, baseFolder, folderName);
    folders.makeDirectory(groupFolder);
    folders.makeDirectory(groupFolder + "\\output\\");
    folders.makeDirectory(groupFolder + "\\person\\");
    if (isEmpty()) {
        return;
    }

    printLine("  Creating Group - " + name);
    out.writeLine("StartProjectMarker");
    out.writeLine("FolderName=" + name);
    out.writeLine("SourcePath=" + (sourceDir.empty() ? groupFolder + "\\" : sourceDir));
    out.writeLine("OutputPath=" + groupFolder + "\\output\\");
    out.writeLine("SubsPers=" + selectMessagePersonality(converter));
    const std::string analyser = chooseAnalyserPersonality(groupFolder, folderName, inheritedAnalyser);
    out.writeLine("AnalPers=" + analyser);
    produceAnalyserPersonality(converter, analyser);
    out.writeLine("CompPers=" + selectCompilerPersonality(converter));
    for (const std::string_view file : files_) {
        if (!file.empty()) {
            out.writeLine(file);
        }
    }
    out.writeLine("EndContainedFilesMarker");
    if (children_.empty()) {
        return;
    }

    out.writeLine("StartSubProjectMarker");
    const std::string childrensParentPath = childParentPath(parentPath, folderName);
    const std::vector<std::string> childFolders = childFolderNames(*this);
    // The root's children are the projects of a group, which its report names.
    const bool childrenAreProjects = parentPath.empty() && converter.sourceIsGroup();
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (childrenAreProjects) {
            converter.getReport().setProject(children_[i]->name);
        }
        children_[i]->writeAs(converter, out, childrensParentPath, childFolders[i], analyser);
    }
    if (childrenAreProjects) {
        converter.getReport().setProject("");
    }
    out.writeLine("EndSubProjectMarker");
}
