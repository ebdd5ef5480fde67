// The analyser project file and the destination folder tree, written by walking
// the group tree depth first.
#include "driver/console.h"
#include "driver/converter.h"
#include "driver/errors.h"
#include "reader/windows_path.h"
#include "writer/make_directory.h"
#include "writer/output_paths.h"
#include "writer/project_file.h"

namespace {

constexpr std::string_view parentFolderSegment = "..";

// Group names come from the project file. A ".." part would put folders and
// personality files outside the destination folder.
bool leavesItsFolder(const std::string& name)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = name.find_first_of("\\/", start);
        const std::size_t end = separator == std::string::npos ? name.size() : separator;
        if (std::string_view(name).substr(start, end - start) == parentFolderSegment)
            return true;
        if (separator == std::string::npos)
            return false;
        start = separator + 1;
    }
}

// A name holding "\" or "/" names nested folders; each level is made in turn.
// Where both separators are left, the next backslash is taken first.
void makeNameFolders(const std::string& baseFolder, const std::string& name)
{
    std::size_t backslash = name.find('\\');
    std::size_t slash = name.find('/');
    while (backslash != std::string::npos || slash != std::string::npos) {
        const std::size_t end = backslash != std::string::npos ? backslash : slash;
        makeDirectory(joinPath(baseFolder, std::string_view(name).substr(0, end)));
        backslash = name.find('\\', end + 1);
        slash = name.find('/', end + 1);
    }
}

} // namespace

int Converter::writeProject()
{
    ProjectFile projectFile(joinPath(destinationFolder, projectName + ".prj"));
    printLine("Creating Tavric/Tavric++ Project ...");
    projectFile.writeLine("VersionTag45");
    rootGroup->write(projectFile, "", projectPersonality(*this, ".p_a"));
    projectFile.close();
    printLine("Tavric/Tavric++ Project Completed!");
    return 0;
}

void Group::write(ProjectFile& out, const std::string& parentPath, const std::string& inheritedAnalyser) const
{
    const std::string destinationFolder = converter->getDestinationFolder();
    const std::string baseFolder = groupBaseFolder(destinationFolder, parentPath);
    const std::string groupFolder = joinPath(baseFolder, name);
    if (leavesItsFolder(name))
        throw IOERROR(IOERROR::cannotCreateDirectory, groupFolder);

    makeNameFolders(baseFolder, name);
    makeDirectory(groupFolder);
    makeDirectory(groupFolder + "\\output\\");
    makeDirectory(groupFolder + "\\person\\");
    if (files_.empty() && children_.empty())
        return;

    printLine("  Creating Group - " + name);
    out.writeLine("StartProjectMarker");
    out.writeLine("FolderName=" + name);
    out.writeLine("SourcePath=" + (sourceDir.empty() ? groupFolder + "\\" : sourceDir));
    out.writeLine("OutputPath=" + groupFolder + "\\output\\");
    out.writeLine("SubsPers=" + selectMessagePersonality());
    const std::string analyser = chooseAnalyserPersonality(parentPath, inheritedAnalyser);
    out.writeLine("AnalPers=" + analyser);
    produceAnalyserPersonality(analyser);
    out.writeLine("CompPers=" + selectCompilerPersonality());
    for (const std::string& file : files_) {
        if (!file.empty())
            out.writeLine(file);
    }
    out.writeLine("EndContainedFilesMarker");
    if (children_.empty())
        return;

    out.writeLine("StartSubProjectMarker");
    const std::string childrensParentPath = childParentPath(parentPath, name);
    for (const std::unique_ptr<Group>& child : children_)
        child->write(out, childrensParentPath, analyser);
    out.writeLine("EndSubProjectMarker");
}
