#include "driver/converter.h"

#include "platform/platform.h"

namespace {

std::string cutBeforeLastBackslash(const std::string& path)
{
    const std::size_t lastBackslash = path.rfind('\\');
    return lastBackslash == std::string::npos ? path : path.substr(0, lastBackslash);
}

} // namespace

// The recorded value names IDE.exe; the installation is the parent of its folder.
std::string findInstallFolder()
{
    return cutBeforeLastBackslash(cutBeforeLastBackslash(platform::ideAppPath()));
}
