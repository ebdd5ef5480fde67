#include "platform/file_identity.h"

#include "platform/platform.h"

#include <sys/stat.h>

namespace platform {

std::optional<std::string> fileIdentity(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    return host.empty() ? std::nullopt : hostFileIdentity(host);
}

std::optional<std::string> hostFileIdentity(const std::string& hostPath)
{
    struct stat status {};
    if (::stat(hostPath.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

} // namespace platform
