#pragma once

#include <optional>
#include <string>
#include <string_view>

// The rules for the name that the project file and the project-wide
// personalities are given, shared by the converter and the wizard.

// The name when none is given, from the source project's path: the file name
// without up to two dot parts. "C:\w\app.dpj" gives "app"; "a.b.c.dpj" gives "a.b".
std::string defaultProjectName(std::string_view sourcePath);

// Why a name cannot name the project's files, or nothing when it can. A name
// that leaves its folder ("..", "\", "/") or holds a character Windows forbids
// in file names (< > : " | ? * and control characters) is refused.
std::optional<std::string> projectNameFault(std::string_view name);
