#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Windows paths as project files and command lines write them: split at the
// last separator, joined with one backslash, never normalised. Every test of a
// path's form goes through here, so that no caller splits a path by hand.
// Parts of a path are views into it: they live as long as the path does.

// Starts with a drive letter and its colon: "C:\w", "C:w", "C:" (not "\w", "w").
bool hasDrive(std::string_view path);
// A drive, a colon and a backslash: "C:\", "C:\w" (not "C:w", "\w").
bool isDriveAbsolute(std::string_view path);
// Starts at the root of the current drive: "\w", "\" (not "C:\w", "w").
bool isRooted(std::string_view path);
// A drive's root folder and nothing more: "C:\" (not "C:\w", "C:", "\").
bool isDriveRoot(std::string_view path);
// Ends with a backslash: "C:\w\", "\" (not "C:\w", "C:").
bool endsWithSeparator(std::string_view path);

// The text before the last separator; nothing when the path holds none.
// "C:\w\a.c" gives "C:\w"; "a.c" gives nothing.
std::optional<std::string_view> parentFolder(std::string_view path, char separator = '\\');
// The text after the last separator; the whole path when it holds none.
// "C:\w\a.c" gives "a.c"; "C:\w\" gives "".
std::string_view fileName(std::string_view path, char separator = '\\');
// The text after the last dot; the whole path when it holds none.
// "w\a.b.c" gives "c"; "make" gives "make".
std::string_view extension(std::string_view path);
// The extension of the file's name: the text after its last dot; "" when the
// name holds none. "a.c\\make" gives ""; "w\\crt.S" gives "S".
std::string_view fileExtension(std::string_view path);
// The text before the last dot; the whole path when it holds none.
// "w\a.b.c" gives "w\a.b"; "make" gives "make".
std::string_view withoutExtension(std::string_view path);
// The parts between "\\" and "/", empty ones kept: "a\\b/" gives "a", "b", "".
std::vector<std::string_view> pathParts(std::string_view path);
// An absolute path without empty or "." parts and without a trailing
// backslash: one spelling for the folder a user types as "out", "out\",
// "out\." or "out\\", so that every path the run derives from it is spelled
// alike. ".." parts stay, since a link may stand before them; so do a drive's
// root ("C:\") and the two backslashes of a network name.
std::string withoutEmptyOrDotParts(std::string_view path);
// The folder, one backslash, then the name: ("C:\w", "a.c") gives "C:\w\a.c".
std::string joinPath(std::string_view folder, std::string_view name);

// A file as a run names it to the user: a stand-in (`standInName` not empty)
// as its folder `path`, a backslash and its name; any other file as its path.
std::string shownFilePath(const std::string& path, const std::string& standInName);
