#include "writer/output_plan.h"

#include "base/windows_path.h"
#include "driver/converter.h"
#include "writer/output_paths.h"

namespace {

constexpr std::string_view analyserRole = "the analyser personality";

// The own analyser personalities, found by the walk that Group::write makes.
void addOwnPersonalities(const Group& group, const std::string& groupFolder, const std::string& folderName,
                         std::vector<RunFile>& files)
{
    if (group.isEmpty()) {
        return;
    }
    if (hasOwnAnalyserPersonality(group)) {
        files.push_back({analyserRole, ownAnalyserPersonality(groupFolder, folderName)});
    }
    const std::vector<std::string> childFolders = childFolderNames(group);
    for (std::size_t i = 0; i < childFolders.size(); ++i) {
        addOwnPersonalities(*group.children()[i], joinPath(groupFolder, childFolders[i]), childFolders[i], files);
    }
}

} // namespace

std::vector<RunFile> plannedProjectFiles(const Converter& converter)
{
    const std::string destinationFolder = converter.getDestinationFolder();
    std::vector<RunFile> files{{"the project file", joinPath(destinationFolder, converter.getProjectName() + ".prj")}};
    if (converter.getMessagePersonality().empty()) {
        files.push_back({"the message personality", projectPersonality(converter, messageExtension)});
    }
    if (converter.getCompilerPersonality().empty()) {
        files.push_back({"the compiler personality", projectPersonality(converter, compilerExtension)});
    }
    files.push_back({analyserRole, projectPersonality(converter, analyserExtension)});
    const Group& root = converter.getRootGroup();
    const std::string rootFolder = rootFolderName(root);
    addOwnPersonalities(root, joinPath(destinationFolder, rootFolder), rootFolder, files);
    return files;
}
