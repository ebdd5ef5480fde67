// Windows paths on a POSIX system, mapped the way Wine maps them: each drive
// letter is the folder that the prefix's dosdevices entry leads to, and the
// installation is recorded in the prefix's registry file.
#include "platform/platform.h"
#include "platform/regular_stream_posix.h"

#include "base/registry_text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr std::size_t driveCount = 'z' - 'a' + 1;
constexpr mode_t newDirectoryMode = 0777;
constexpr mode_t newFileMode = 0666;
// A FIFO planted under the name would block the open until someone reads it.
constexpr int createFileFlags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
// Strings take it through a temporary: assigning the view itself trips a false
// -Wrestrict in GCC 12 optimised builds.
constexpr std::string_view hostRoot = "/";
// The key as system.reg writes it, with its backslashes escaped.
constexpr std::string_view ideAppPathsKey = R"(Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe)";
constexpr std::string_view defaultValueStart = "@=\"";

constexpr const char* nullDevice = "/dev/null";

// Host folder of each drive, "" where the drive has no folder.
using DriveFolders = std::array<std::string, driveCount>;

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::optional<std::size_t> driveIndex(char letter)
{
    const char lower = lowerAscii(letter);
    if (lower < 'a' || lower > 'z') {
        return std::nullopt;
    }
    return static_cast<std::size_t>(lower - 'a');
}

fs::path winePrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".wine";
    }
    return {};
}

// The folder a dosdevices entry leads to. Dangling links still name a folder,
// so that writing there fails with the converter's own message.
std::string driveFolderOf(const fs::path& entry)
{
    std::error_code error;
    fs::path target = entry;
    if (fs::is_symlink(entry, error)) {
        target = fs::read_symlink(entry, error);
        if (error) {
            return {};
        }
        if (target.is_relative()) {
            target = entry.parent_path() / target;
        }
    }
    std::string folder = fs::weakly_canonical(target, error).string();
    if (error) {
        return {};
    }
    while (folder.size() > hostRoot.size() && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

DriveFolders readDriveFolders(const fs::path& prefix)
{
    DriveFolders folders;
    folders[*driveIndex('z')] = std::string{hostRoot};
    if (prefix.empty()) {
        return folders;
    }
    const fs::path dosdevices = prefix / "dosdevices";
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const fs::path entry = dosdevices / std::string{letter, ':'};
        std::error_code error;
        if (fs::exists(fs::symlink_status(entry, error))) {
            folders[*driveIndex(letter)] = driveFolderOf(entry);
        }
    }
    return folders;
}

// Read once per prefix: reading the dosdevices folder costs about a tenth of a
// millisecond, and the writer maps several paths for every group it writes.
// The prefix is known by the variables it comes from, compared as they stand:
// making its path for every call would cost more than the mapping it serves.
const DriveFolders& driveFolders()
{
    static std::optional<std::pair<std::string, std::string>> readFor;
    static DriveFolders folders;
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value == nullptr ? "" : value);
    };
    const std::string_view prefixVariable = variable("WINEPREFIX");
    const std::string_view home = variable("HOME");
    if (!readFor || readFor->first != prefixVariable || readFor->second != home) {
        folders = readDriveFolders(winePrefix());
        readFor.emplace(prefixVariable, home);
    }
    return folders;
}

bool liesWithin(std::string_view hostPath, std::string_view folder)
{
    if (folder == hostRoot) {
        return hostPath.starts_with('/');
    }
    return hostPath.starts_with(folder) && (hostPath.size() == folder.size() || hostPath[folder.size()] == '/');
}

// An absolute host path in Windows form, through the drive whose folder is
// the longest prefix of it.
std::optional<std::string> windowsFormOf(const std::string& hostPath, const DriveFolders& folders)
{
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < driveCount; ++i) {
        if (!folders[i].empty() && liesWithin(hostPath, folders[i]) &&
            (!best || folders[i].size() > folders[*best].size())) {
            best = i;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    std::string rest = folders[*best] == hostRoot ? hostPath : hostPath.substr(folders[*best].size());
    if (rest.empty()) {
        rest = std::string{hostRoot};
    }
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return std::string{static_cast<char>('A' + *best), ':'} + rest;
}

std::string currentDirectoryThrough(const DriveFolders& folders)
{
    std::error_code error;
    const std::string current = fs::current_path(error).string();
    if (error) {
        return {};
    }
    return windowsFormOf(current, folders).value_or("");
}

std::string driveCurrentDirectoryThrough(char driveLetter, const DriveFolders& folders)
{
    const std::string current = currentDirectoryThrough(folders);
    if (!current.empty() && lowerAscii(current[0]) == lowerAscii(driveLetter)) {
        return current;
    }
    return {upperAscii(driveLetter), ':', '\\'};
}

// `rest` is empty or begins with a separator.
std::string joinHost(const std::string& folder, std::string rest)
{
    std::replace(rest.begin(), rest.end(), '\\', '/');
    if (rest.empty()) {
        return folder;
    }
    return folder == hostRoot ? rest : folder + rest;
}

std::string hostPathThrough(const std::string& windowsPath, const DriveFolders& folders)
{
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
        const std::optional<std::size_t> drive = driveIndex(windowsPath[0]);
        if (!drive || folders[*drive].empty()) {
            return {};
        }
        std::string rest = windowsPath.substr(2);
        if (rest.empty() || !isSeparator(rest[0])) {
            std::string base = driveCurrentDirectoryThrough(windowsPath[0], folders).substr(2);
            if (!base.ends_with('\\')) {
                base += '\\';
            }
            rest.insert(0, base);
        }
        return joinHost(folders[*drive], rest);
    }
    if (windowsPath.size() >= 2 && isSeparator(windowsPath[0]) && isSeparator(windowsPath[1])) {
        return {};
    }
    if (!windowsPath.empty() && isSeparator(windowsPath[0])) {
        const std::string current = currentDirectoryThrough(folders);
        if (current.empty()) {
            return {};
        }
        return joinHost(folders[*driveIndex(current[0])], windowsPath);
    }
    std::string relative = windowsPath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return relative;
}

bool isIdeAppPathsKey(std::string_view line)
{
    if (line.size() < ideAppPathsKey.size() + 2 || line[ideAppPathsKey.size() + 1] != ']') {
        return false;
    }
    // Registry key names ignore letter case.
    return std::equal(ideAppPathsKey.begin(), ideAppPathsKey.end(), line.begin() + 1,
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

} // namespace

bool openClosedStandardStreams()
{
    for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free descriptor is the one just found closed.
        if (open(nullDevice, O_RDWR) != descriptor) {
            return false;
        }
    }
    return true;
}

std::string currentDirectory()
{
    return currentDirectoryThrough(driveFolders());
}

std::string driveCurrentDirectory(char driveLetter)
{
    return driveCurrentDirectoryThrough(driveLetter, driveFolders());
}

std::string ideAppPath()
{
    const fs::path prefix = winePrefix();
    if (prefix.empty()) {
        return {};
    }
    std::ifstream registry(prefix / "system.reg", std::ios::binary);
    bool inKey = false;
    std::string line;
    while (std::getline(registry, line)) {
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        if (line.starts_with('[')) {
            inKey = isIdeAppPathsKey(line);
        } else if (inKey && line.starts_with(defaultValueStart)) {
            return unescapeRegistryString(std::string_view(line).substr(defaultValueStart.size())).value_or("");
        }
    }
    return {};
}

bool pathExists(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    std::error_code error;
    return !host.empty() && fs::exists(host, error);
}

EntryKind entryKind(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    struct stat status {};
    if (host.empty() || ::lstat(host.c_str(), &status) != 0) {
        return EntryKind::none;
    }
    if (S_ISLNK(status.st_mode)) {
        return EntryKind::link;
    }
    return S_ISDIR(status.st_mode) ? EntryKind::folder : EntryKind::other;
}

std::FILE* createFile(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    return host.empty() ? nullptr : createHostFile(host);
}

std::FILE* createHostFile(const std::string& host)
{
    return regularFileStream(::open(host.c_str(), createFileFlags, newFileMode), "wb");
}

// Opened without waiting, so that a pipe under the name does not block; the
// kind is then told by the open file itself, which nothing can swap.
OpenedHostFile openRegularHostFile(const std::string& host)
{
    const int descriptor = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return {};
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return {HostFileOpening::notRegular, nullptr};
    }
    std::FILE* file = ::fdopen(descriptor, "rb");
    if (file == nullptr) {
        ::close(descriptor);
        return {};
    }
    return {HostFileOpening::opened, file};
}

DirectoryCreation createDirectory(const std::string& windowsPath)
{
    const std::string host = hostPath(windowsPath);
    if (host.empty()) {
        return DirectoryCreation::failed;
    }
    if (::mkdir(host.c_str(), newDirectoryMode) == 0) {
        return DirectoryCreation::created;
    }
    return errno == EEXIST ? DirectoryCreation::alreadyExists : DirectoryCreation::failed;
}

std::string hostPath(const std::string& windowsPath)
{
    // The system would end the name at a NUL and so reach another file than
    // the one named; no file is named with one.
    if (windowsPath.find('\0') != std::string::npos) {
        return {};
    }
    return hostPathThrough(windowsPath, driveFolders());
}

bool namesIgnoreLetterCase()
{
    return false;
}

// A backslash is a letter of a name here, as in the stand-in "..\board.h".
bool isHostFileName(const std::string& name)
{
    constexpr std::string_view leadsElsewhere("/\0", 2);
    return !name.empty() && name != "." && name != ".." && name.find_first_of(leadsElsewhere) == std::string::npos;
}

std::string hostPathIn(const std::string& windowsFolder, const std::string& name)
{
    const std::string folder = hostPath(windowsFolder);
    return folder.empty() || !isHostFileName(name) ? std::string() : folder + '/' + name;
}

bool hostEntryExists(const std::string& hostPath)
{
    struct stat status {};
    return ::lstat(hostPath.c_str(), &status) == 0;
}

std::vector<std::string> hostFolderEntries(const std::string& hostFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(hostFolder, error), end; !error && entry != end; entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    return names;
}

bool liesOnNoDrive(const std::string& typedPath)
{
    return typedPath.starts_with('/') && !windowsFormOf(typedPath, driveFolders());
}

std::string commandLinePath(const std::string& typedPath)
{
    std::string path = typedPath;
    if (typedPath.starts_with('/')) {
        path = windowsFormOf(typedPath, driveFolders()).value_or(typedPath);
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace platform
