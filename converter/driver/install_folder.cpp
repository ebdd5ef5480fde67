#include "driver/converter.h"

#include "base/windows_path.h"
#include "platform/platform.h"

namespace {

// A path without a backslash stays whole.
std::string cutBeforeLastBackslash(const std::string& path)
{
    return std::string(parentFolder(path).value_or(path));
}

} // namespace

// The recorded value names IDE.exe; the installation is the parent of its folder.
std::string findInstallFolder()
{
    return cutBeforeLastBackslash(cutBeforeLastBackslash(platform::ideAppPath()));
}
