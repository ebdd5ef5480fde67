#pragma once

#include <optional>
#include <string>
#include <unordered_map>

// Where this machine holds a file that a project names. The IDE runs on
// Windows or Wine, which find a name whatever its letter case, and project
// files written in ISO-8859-1 name files that are stored under UTF-8 names
// here; every host path the converter hands on names the file as it is on disk.
class HostFileNames {
public:
    // The host path of what stands under the Windows path, each part spelt as
    // on disk; nothing when nothing stands there.
    std::optional<std::string> existing(const std::string& windowsPath);
    // The same for a host path.
    std::optional<std::string> existingHost(const std::string& hostPath);
    // The existing host path, else the path mapped as written; "" when it lies
    // on no drive.
    std::string hostPath(const std::string& windowsPath);

private:
    std::optional<std::string> lookUp(const std::string& hostPath);
    // The host path of one part below the resolved folder `found` ("" or
    // ending in a separator).
    std::optional<std::string> partOf(const std::string& found, const std::string& name);
    std::optional<std::string> entryFor(const std::string& hostFolder, const std::string& name);

    // Listed once per folder, by the names' lower case: a project names many
    // files of one folder, and every configuration names them again.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> folderEntries_;
    // By host path as written, also of each folder on the way to one.
    std::unordered_map<std::string, std::optional<std::string>> found_;
};
