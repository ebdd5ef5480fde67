#pragma once

#include <string>
#include <string_view>
#include <vector>

class Group;
struct WriterSettings;

// The paths the writer derives. They are joined with one backslash and never
// normalised: the user's separators and the names' own separators stay.

// The folder of the project-wide personality files, with its trailing backslash.
std::string projectPersonFolder(const WriterSettings& settings);
inline constexpr std::string_view messageExtension = ".p_s";
inline constexpr std::string_view analyserExtension = ".p_a";
inline constexpr std::string_view compilerExtension = ".p_c";

// A project-wide personality: the project's name with the extension, in that folder.
std::string projectPersonality(const WriterSettings& settings, std::string_view extension);
// The analyser project file.
std::string projectFilePath(const WriterSettings& settings);

// The folder a group's name is created in: the destination folder, then the
// parent path when there is one.
std::string groupBaseFolder(const std::string& destinationFolder, const std::string& parentPath);
// The parent path of a group's children.
std::string childParentPath(const std::string& parentPath, const std::string& name);

// A group name's last part: after its last backslash, else after its last slash.
std::string groupBaseName(const std::string& name);
// Whether the group has include folders or macros, which its own analyser
// personality carries.
bool hasOwnAnalyserPersonality(const Group& group);
// The folder name of the root group, and of each child of a group. Groups that
// write files are told apart by distinctFolderNames; empty ones, which only
// make their folders, keep their names.
std::string rootFolderName(const Group& root);
std::vector<std::string> childFolderNames(const Group& group);
// The analyser personality of a group with options of its own, in its folder.
std::string ownAnalyserPersonality(const std::string& groupFolder, const std::string& folderName);
