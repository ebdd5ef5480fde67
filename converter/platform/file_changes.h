#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// What a run into a destination that an earlier run wrote does to the files
// there besides writing them. Paths are Windows paths, as in platform.h, but
// for the files that the run weighs, sets aside or removes: those are host
// paths (hostPath, hostPathIn), since a stand-in header has no Windows path.
namespace platform {

// Opens a plain file for reading; nullptr for nothing, a folder, a link or a
// device there: a link is never followed, a pipe never waited on.
std::FILE* openPlainFile(const std::string& hostPath);

// The size of a file opened for reading, without reading it; nothing when the
// system cannot tell.
std::optional<std::uint64_t> openedFileSize(std::FILE* file);

// Puts the file `from` in the place of `to` in one step, replacing any file
// there, so that a reader of `to` finds the old file or the new, never part.
bool replaceFile(const std::string& from, const std::string& to);

enum class Renaming { renamed, nameTaken, failed };

// Gives a file a new name under which nothing stands yet; never replaces
// anything, even when something appears there meanwhile.
Renaming renameWithoutReplacing(const std::string& from, const std::string& to);

// Removes a file, never a folder or what a link leads to.
bool removeFile(const std::string& hostPath);

// Removes a folder that is empty; leaves any other.
bool removeEmptyFolder(const std::string& windowsPath);

// The names of the plain files in a folder; empty when it cannot be read.
std::vector<std::string> plainFilesIn(const std::string& windowsFolder);

} // namespace platform
