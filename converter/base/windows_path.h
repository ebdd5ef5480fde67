#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows paths as project files and command lines write them: split at the
// last separator, joined with one backslash, never normalised.

// The text before the last separator; nothing when the path holds none.
std::optional<std::string> parentFolder(std::string_view path, char separator = '\\');
// The text after the last separator; the whole path when it holds none.
std::string fileName(std::string_view path, char separator = '\\');
// The text after the last dot; the whole path when it holds none.
std::string extension(std::string_view path);
// The text before the last dot; the whole path when it holds none.
std::string withoutExtension(std::string_view path);
// The folder, one backslash, then the name.
std::string joinPath(std::string_view folder, std::string_view name);
