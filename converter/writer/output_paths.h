#pragma once

#include <string>
#include <string_view>

class Converter;

// The paths the writer derives. They are joined with one backslash and never
// normalised: the user's separators and the names' own separators stay.

// The folder of the project-wide personality files, with its trailing backslash.
std::string projectPersonFolder(const Converter& converter);
inline constexpr std::string_view analyserExtension = ".p_a";

// A project-wide personality: the project's name with the extension, in that folder.
std::string projectPersonality(const Converter& converter, std::string_view extension);

// The folder a group's name is created in: the destination folder, then the
// parent path when there is one.
std::string groupBaseFolder(const std::string& destinationFolder, const std::string& parentPath);
// The parent path of a group's children.
std::string childParentPath(const std::string& parentPath, const std::string& name);

// A group name's last part: after its last backslash, else after its last slash.
std::string groupBaseName(const std::string& name);
// The analyser personality of a group with options of its own, in its folder.
std::string ownAnalyserPersonality(const std::string& groupFolder, const std::string& folderName);
