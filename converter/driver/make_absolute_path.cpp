#include "driver/make_absolute_path.h"

#include "platform/platform.h"

std::string makeAbsolutePath(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':') {
        if (path.size() >= 3 && path[2] == '\\') {
            return path;
        }
        return platform::driveCurrentDirectory(path[0]) + '\\' + path.substr(2);
    }
    if (path.starts_with('\\')) {
        return path;
    }
    const std::string current = platform::currentDirectory();
    return path == "." ? current : current + '\\' + path;
}
