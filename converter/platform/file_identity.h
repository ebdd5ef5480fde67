#pragma once

#include <optional>
#include <string>

namespace platform {

// Who the file or folder under a Windows path is, links followed, so that two
// spellings of one file compare equal: the device and inode on POSIX, the
// volume and file ID on Windows, as one text. Nothing when nothing is there.
std::optional<std::string> fileIdentity(const std::string& windowsPath);
// The same for a host path (as hostPath gives it).
std::optional<std::string> hostFileIdentity(const std::string& hostPath);

} // namespace platform
