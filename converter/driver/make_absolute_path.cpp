#include "driver/make_absolute_path.h"

#include "base/windows_path.h"
#include "platform/platform.h"

std::string makeAbsolutePath(const std::string& path)
{
    if (isDriveAbsolute(path) || isRooted(path)) {
        return path;
    }
    if (hasDrive(path)) {
        return platform::driveCurrentDirectory(path[0]) + '\\' + path.substr(2);
    }
    const std::string current = platform::currentDirectory();
    return path == "." ? current : current + '\\' + path;
}
