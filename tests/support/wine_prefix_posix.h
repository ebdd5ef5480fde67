#pragma once

#include "support/temp_folder.h"

#include <filesystem>
#include <optional>
#include <string>

// A Wine-style prefix in a temporary folder, named by WINEPREFIX while the
// object lives. It starts with an empty dosdevices folder: no drive but Z:.
// The platform layer reads a prefix's drives once, so link every drive before
// the first path is mapped.
class TempWinePrefix {
public:
    TempWinePrefix();
    ~TempWinePrefix();
    TempWinePrefix(const TempWinePrefix&) = delete;
    TempWinePrefix& operator=(const TempWinePrefix&) = delete;

    const std::filesystem::path& path() const { return folder_.path(); }
    // Links dosdevices/<letter>: to the target, as written (relative or absolute).
    void linkDrive(char letter, const std::filesystem::path& target);
    // Makes the folder drive_<letter> in the prefix and links the drive to it the
    // way Wine does; returns the folder.
    std::filesystem::path addDriveFolder(char letter);
    void writeSystemReg(const std::string& text) const;

private:
    TempFolder folder_;
    std::optional<std::string> previousPrefix_;
};
