#include "layout/output_plan.h"

#include "base/windows_path.h"
#include "reader/group.h"
#include "layout/name_folders.h"
#include "layout/output_paths.h"

namespace {

constexpr std::string_view analyserRole = "the analyser personality";

} // namespace

OutputPlan::OutputPlan(WriterSettings settings, const Group& root) : settings_(std::move(settings))
{
    files_.push_back({"the project file", projectFilePath(settings_), {}, {}, false, true});
    if (settings_.messagePersonality.empty()) {
        files_.push_back({"the message personality", projectPersonality(settings_, messageExtension), {}, {}, true});
    }
    if (settings_.compilerPersonality.empty()) {
        files_.push_back({"the compiler personality", projectPersonality(settings_, compilerExtension), {}, {}, true});
    }
    files_.push_back({analyserRole, projectPersonality(settings_, analyserExtension), {}, {}, true});
    root_ = planGroup(root, "", rootFolderName(root), projectPersonality(settings_, analyserExtension));
}

PlannedGroup OutputPlan::planGroup(const Group& group, const std::string& parentPath, std::string folderName,
                                   const std::string& inheritedAnalyser)
{
    PlannedGroup planned;
    planned.group = &group;
    planned.baseFolder = groupBaseFolder(settings_.destinationFolder, parentPath);
    // Group names come from the project file: one leading out of the
    // destination would put folders and personality files elsewhere.
    refuseNameLeavingItsFolder(planned.baseFolder, group.name);
    planned.folderName = std::move(folderName);
    planned.folder = joinPath(planned.baseFolder, planned.folderName);
    // An empty group makes its folders and nothing else.
    if (group.isEmpty()) {
        return planned;
    }
    planned.ownAnalyser = hasOwnAnalyserPersonality(group);
    if (planned.ownAnalyser) {
        planned.analyser = ownAnalyserPersonality(planned.folder, planned.folderName);
        files_.push_back({analyserRole, planned.analyser, {}, {}, false, true});
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
