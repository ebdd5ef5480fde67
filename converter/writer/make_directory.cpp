#include "writer/make_directory.h"

#include "driver/errors.h"
#include "platform/platform.h"

namespace {

// "X:\" must keep its backslash: without it, it names the drive's current folder.
std::string withoutTrailingBackslash(const std::string& path)
{
    if (path.size() < 2 || path.back() != '\\' || path[path.size() - 2] == ':')
        return path;
    return path.substr(0, path.size() - 1);
}

} // namespace

void makeDirectory(const std::string& path)
{
    const std::string folder = withoutTrailingBackslash(path);
    if (platform::pathExists(folder))
        return;
    if (platform::createDirectory(folder) == platform::DirectoryCreation::failed)
        throw IOERROR(IOERROR::cannotCreateDirectory, path);
}
