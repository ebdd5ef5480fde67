#include "layout/output_plan.h"

#include "base/windows_path.h"
#include "reader/group.h"
#include "layout/output_paths.h"

#include <algorithm>

namespace {

constexpr std::string_view analyserRole = "the analyser personality";

} // namespace

OutputPlan::OutputPlan(WriterSettings settings, const Group& root) : settings_(std::move(settings))
{
    files_.push_back({"the project file", projectFilePath(settings_)});
    if (settings_.messagePersonality.empty()) {
        files_.push_back({"the message personality", projectPersonality(settings_, messageExtension)});
    }
    if (settings_.compilerPersonality.empty()) {
        files_.push_back({"the compiler personality", projectPersonality(settings_, compilerExtension)});
    }
    files_.push_back({analyserRole, projectPersonality(settings_, analyserExtension)});
    root_ = planGroup(root, "", rootFolderName(root), projectPersonality(settings_, analyserExtension));
}

PlannedGroup OutputPlan::planGroup(const Group& group, const std::string& parentPath, std::string folderName,
                                   const std::string& inheritedAnalyser)
{
    PlannedGroup planned;
    planned.group = &group;
    planned.baseFolder = groupBaseFolder(settings_.destinationFolder, parentPath);
    planned.folderName = std::move(folderName);
    planned.folder = joinPath(planned.baseFolder, planned.folderName);
    // An empty group makes its folders and nothing else.
    if (group.isEmpty()) {
        return planned;
    }
    planned.ownAnalyser = hasOwnAnalyserPersonality(group);
    if (planned.ownAnalyser) {
        planned.analyser = ownAnalyserPersonality(planned.folder, planned.folderName);
        files_.push_back({analyserRole, planned.analyser});
    } else {
        planned.analyser = inheritedAnalyser;
    }
    const std::string childrensParentPath = childParentPath(parentPath, planned.folderName);
    std::vector<std::string> childFolders = childFolderNames(group);
    planned.children.reserve(childFolders.size());
    for (std::size_t i = 0; i < childFolders.size(); ++i) {
        planned.children.push_back(
            planGroup(*group.children()[i], childrensParentPath, std::move(childFolders[i]), planned.analyser));
    }
    return planned;
}

bool OutputPlan::isMadeWhenMissing(const std::string& path) const
{
    return std::ranges::any_of(std::initializer_list<std::string_view>{messageExtension, compilerExtension,
                                                                       analyserExtension},
                               [&](std::string_view extension) {
                                   return path == projectPersonality(settings_, extension);
                               });
}
