#pragma once

#include <optional>
#include <string>

// The path rules of one project file: its include folders and source files
// are anchored at the project file's folder, and the installation variables
// become the installation folder when one is known.
class ProjectPaths {
public:
    // `projectFolder` is none when the project file's path holds no backslash.
    ProjectPaths(std::string installFolder, std::optional<std::string> projectFolder);
    // The rules of the project file at `projectPath`.
    static ProjectPaths of(std::string installFolder, const std::string& projectPath);

    // An include folder, changed in place.
    void resolveProjectPath(std::string& folder) const;
    // Into `resolved`, another string than `file`, whose room is reused: this
    // runs for every file entry.
    void resolveSourceFilePath(const std::string& file, std::string& resolved) const;
    const std::string& installFolder() const { return installFolder_; }

private:
    std::string installFolder_;
    std::optional<std::string> projectFolder_;
};

// A project file that a project group lists, relative to the group file.
std::string resolveGroupMemberPath(const std::string& groupFilePath, const std::string& file);
