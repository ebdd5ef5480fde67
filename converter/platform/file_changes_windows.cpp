#include "platform/file_changes.h"

#include "platform/platform.h"

#include <sys/stat.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

bool isPlainFile(const std::string& windowsPath)
{
    return windowsPath.find('\0') == std::string::npos && entryKind(windowsPath) == EntryKind::other;
}

} // namespace

std::FILE* openPlainFile(const std::string& hostPath)
{
    return isPlainFile(hostPath) ? std::fopen(hostPath.c_str(), "rb") : nullptr;
}

std::optional<std::uint64_t> openedFileSize(std::FILE* file)
{
    struct _stat64 status {};
    if (_fstat64(_fileno(file), &status) != 0 || status.st_size < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return isPlainFile(from) && entryKind(to) != EntryKind::link &&
           MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

Renaming renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (!isPlainFile(from) || to.find('\0') != std::string::npos) {
        return Renaming::failed;
    }
    if (MoveFileExA(from.c_str(), to.c_str(), 0)) {
        return Renaming::renamed;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? Renaming::nameTaken : Renaming::failed;
}

bool removeFile(const std::string& hostPath)
{
    return isPlainFile(hostPath) && DeleteFileA(hostPath.c_str());
}

bool removeEmptyFolder(const std::string& windowsPath)
{
    return windowsPath.find('\0') == std::string::npos && entryKind(windowsPath) == EntryKind::folder &&
           RemoveDirectoryA(windowsPath.c_str());
}

std::vector<std::string> plainFilesIn(const std::string& windowsFolder)
{
    std::vector<std::string> names;
    if (windowsFolder.find('\0') != std::string::npos) {
        return names;
    }
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((windowsFolder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if (!(entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
            names.emplace_back(entry.cFileName);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

} // namespace platform
