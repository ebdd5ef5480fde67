// The analyser project file and the destination folder tree, written by walking
// the group tree depth first.
#include "driver/console.h"
#include "driver/converter.h"
#include "driver/errors.h"
#include "reader/windows_path.h"
#include "writer/destination_folders.h"
#include "writer/output_paths.h"
#include "writer/project_file.h"

#include <vector>

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
// Where both separators are left, the next backslash is taken first. The
// lengths of the name's parts that name a folder, shortest first.
std::vector<std::size_t> nameFolderLengths(const std::string& name)
{
    std::vector<std::size_t> lengths;
    std::size_t backslash = name.find('\\');
    std::size_t slash = name.find('/');
    while (backslash != std::string::npos || slash != std::string::npos) {
        const std::size_t end = backslash != std::string::npos ? backslash : slash;
        lengths.push_back(end);
        backslash = name.find('\\', end + 1);
        slash = name.find('/', end + 1);
    }
    return lengths;
}

// Folders this run made already are passed over from the deepest one known,
// so a deep name given again costs one lookup, not one per level.
void makeNameFolders(DestinationFolders& folders, const std::string& baseFolder, const std::string& name)
{
    const std::vector<std::size_t> lengths = nameFolderLengths(name);
    const auto folder = [&](std::size_t i) {
        return joinPath(baseFolder, std::string_view(name).substr(0, lengths[i]));
    };
    std::size_t firstToMake = lengths.size();
    while (firstToMake > 0 && !folders.isKnown(folder(firstToMake - 1)))
        --firstToMake;
    for (std::size_t i = firstToMake; i < lengths.size(); ++i)
        folders.makeDirectory(folder(i));
}

} // namespace

int Converter::writeProject()
{
    destinationFolders = DestinationFolders(destinationFolder);
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

    DestinationFolders& folders = converter->getDestinationFolders();
    makeNameFolders(folders, baseFolder, name);
    folders.makeDirectory(groupFolder);
    folders.makeDirectory(groupFolder + "\\output\\");
    folders.makeDirectory(groupFolder + "\\person\\");
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
