#include "platform/file_changes.h"
#include "platform/regular_stream_posix.h"

#include "platform/platform.h"

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::FILE* openPlainFile(const std::string& host)
{
    return regularFileStream(host.empty() ? -1 : ::open(host.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC),
                             "rb");
}

std::optional<std::uint64_t> openedFileSize(std::FILE* file)
{
    struct stat status {};
    if (::fstat(::fileno(file), &status) != 0 || status.st_size < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

bool replaceFile(const std::string& from, const std::string& to)
{
    const std::string hostFrom = hostPath(from);
    const std::string hostTo = hostPath(to);
    return !hostFrom.empty() && !hostTo.empty() && ::rename(hostFrom.c_str(), hostTo.c_str()) == 0;
}

// A second name, then the first one dropped: link() never replaces.
Renaming renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty()) {
        return Renaming::failed;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno == EEXIST ? Renaming::nameTaken : Renaming::failed;
    }
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());
        return Renaming::failed;
    }
    return Renaming::renamed;
}

bool removeFile(const std::string& host)
{
    struct stat status {};
    return !host.empty() && ::lstat(host.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::unlink(host.c_str()) == 0;
}

bool removeEmptyFolder(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    struct stat status {};
    return !host.empty() && ::lstat(host.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           ::rmdir(host.c_str()) == 0;
}

std::vector<std::string> plainFilesIn(const std::string& windowsFolder)
{
    std::vector<std::string> names;
    const std::string host = hostPath(windowsFolder);
    DIR* folder = host.empty() ? nullptr : ::opendir(host.c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        struct stat status {};
        if (::fstatat(::dirfd(folder), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(folder);
    return names;
}

} // namespace platform
