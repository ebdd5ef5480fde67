#include "reader/project_paths.h"

#include "base/install_variables.h"
#include "base/windows_path.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Replaces the first occurrence of each variable. Positions are taken in the
// text as written, so an installation folder that itself holds a variable name
// is not expanded again. Without an installation folder the variables stay, so
// that the paths show what is missing.
std::string replaceInstallVariables(const std::string& path, const std::string& installFolder)
{
    if (installFolder.empty()) {
        return path;
    }
    struct Occurrence {
        std::size_t position;
        std::size_t length;
    };
    std::array<Occurrence, installFolderVariables.size()> occurrences{};
    for (std::size_t i = 0; i < installFolderVariables.size(); ++i) {
        occurrences[i] = {path.find(installFolderVariables[i]), installFolderVariables[i].size()};
    }
    if (occurrences[1].position < occurrences[0].position) {
        std::swap(occurrences[0], occurrences[1]);
    }

    std::string result;
    std::size_t copied = 0;
    for (const Occurrence& occurrence : occurrences) {
        if (occurrence.position == std::string::npos) {
            break;
        }
        result.append(path, copied, occurrence.position - copied);
        result += installFolder;
        copied = occurrence.position + occurrence.length;
    }
    result.append(path, copied);
    return result;
}

} // namespace

ProjectPaths::ProjectPaths(std::string installFolder, std::optional<std::string> projectFolder)
    : installFolder_(std::move(installFolder)), projectFolder_(std::move(projectFolder))
{
}

ProjectPaths ProjectPaths::of(std::string installFolder, const std::string& projectPath)
{
    const std::optional<std::string_view> projectFolder = parentFolder(projectPath);
    return ProjectPaths(std::move(installFolder),
                        projectFolder ? std::optional<std::string>(*projectFolder) : std::nullopt);
}

void ProjectPaths::resolveProjectPath(std::string& folder) const
{
    folder = replaceInstallVariables(folder, installFolder_);
    if (folder.starts_with(".\\")) {
        folder.erase(0, 2);
    }
    if (folder.find(':') == std::string::npos && projectFolder_) {
        folder = joinPath(*projectFolder_, folder);
    }
    if (folder.ends_with(';')) {
        folder.pop_back();
    }
}

void ProjectPaths::resolveSourceFilePath(const std::string& file, std::string& resolved) const
{
    // Most paths name no variable, and are taken as they stand, without a copy.
    std::string replaced;
    std::string_view path = file;
    if (holdsInstallVariable(file)) {
        replaced = replaceInstallVariables(file, installFolder_);
        path = replaced;
    }
    if (path.starts_with('.') && !path.starts_with("..")) {
        path.remove_prefix(1);
    }
    if (path.find(':') != std::string_view::npos) {
        resolved.assign(path);
        return;
    }
    resolved.assign(projectFolder_ ? std::string_view(*projectFolder_) : std::string_view());
    if (!path.starts_with('\\')) {
        resolved += '\\';
    }
    resolved.append(path);
}

// The group file writes its projects' paths as ".\Core A\CoreA.dpj"; the
// IDE opens them as Windows does, which takes "/" for a separator too.
std::string resolveGroupMemberPath(const std::string& groupFilePath, const std::string& file)
{
    std::string path = file;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.starts_with(".\\")) {
        path.erase(0, 2);
    }
    if (hasDrive(path) || isRooted(path)) {
        return path;
    }
    return joinPath(parentFolder(groupFilePath).value_or(std::string_view()), path);
}
