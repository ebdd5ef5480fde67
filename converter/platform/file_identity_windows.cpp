#include "platform/file_identity.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

// Opened for no access at all, which any file allows, and with backup
// semantics, without which a folder cannot be opened.
std::optional<std::string> fileIdentity(const std::string& windowsPath)
{
    if (windowsPath.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const HANDLE handle = CreateFileA(windowsPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
}

// Host paths are Windows paths here.
std::optional<std::string> hostFileIdentity(const std::string& hostPath)
{
    return fileIdentity(hostPath);
}

} // namespace platform
