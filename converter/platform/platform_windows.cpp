#include "platform/platform.h"

#include <algorithm>
#include <string_view>

#include <fcntl.h>
#include <io.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {

namespace {

constexpr const char* ideAppPathKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe";

// The directory may change between asking for its length and reading it, so
// ask again until the buffer was large enough. The wide call is the one that
// is not bound to MAX_PATH.
std::wstring readCurrentDirectory()
{
    std::wstring directory;
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    while (needed > directory.size()) {
        directory.resize(needed);
        needed = GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    }
    directory.resize(needed);
    return directory;
}

// Narrow strings are in the ANSI code page, as the file functions expect them.
std::string narrow(const std::wstring& wide)
{
    if (wide.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

// The C runtime keeps descriptors 0-2 for the standard handles even when the
// process was started without them, so no file of the run can take one.
bool openClosedStandardStreams()
{
    return true;
}

std::string currentDirectory()
{
    return narrow(readCurrentDirectory());
}

// Switching to a bare drive lands in that drive's current directory: the one
// the hidden "=X:" variable remembers, else its root. The whole remembered
// directory is restored, not only its drive, so nothing else moves. A drive
// that cannot be entered is taken at its root, as the path will name it.
std::string driveCurrentDirectory(char driveLetter)
{
    const std::wstring remembered = readCurrentDirectory();
    const wchar_t drive[] = {static_cast<wchar_t>(static_cast<unsigned char>(driveLetter)), L':', L'\0'};
    if (!SetCurrentDirectoryW(drive)) {
        return {driveLetter, ':', '\\'};
    }
    const std::wstring directory = readCurrentDirectory();
    SetCurrentDirectoryW(remembered.c_str());
    return narrow(directory);
}

// The value may grow between asking for its size and reading it.
std::string ideAppPath()
{
    std::string value;
    DWORD size = 0;
    LSTATUS status = RegGetValueA(HKEY_LOCAL_MACHINE, ideAppPathKey, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.resize(size);
        status = RegGetValueA(HKEY_LOCAL_MACHINE, ideAppPathKey, nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.resize(size);
            return value.substr(0, value.find('\0'));
        }
    }
    return {};
}

namespace {

// The system would end the name at a NUL and so reach another file than the
// one named; no file is named with one.
bool namesNoFile(const std::string& windowsPath)
{
    return windowsPath.find('\0') != std::string::npos;
}

} // namespace

bool pathExists(const std::string& windowsPath)
{
    if (namesNoFile(windowsPath)) {
        return false;
    }
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool namesIgnoreLetterCase()
{
    return true;
}

// Windows drops a name's trailing dots and blanks, so that "..." or ".. " would
// name the folder above; a colon would name a stream, or a drive.
bool isHostFileName(const std::string& name)
{
    const auto notInAName = [](char c) {
        return static_cast<unsigned char>(c) < ' ' || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
    };
    return !name.empty() && name.back() != '.' && name.back() != ' ' &&
           std::none_of(name.begin(), name.end(), notInAName);
}

std::string hostPathIn(const std::string& windowsFolder, const std::string& name)
{
    return namesNoFile(windowsFolder) || !isHostFileName(name) ? std::string() : windowsFolder + '\\' + name;
}

bool hostEntryExists(const std::string& hostPath)
{
    return pathExists(hostPath);
}

std::FILE* createHostFile(const std::string& hostPath)
{
    return createFile(hostPath);
}

// A folder is opened only with backup semantics, and a device or pipe reports a
// type of its own.
OpenedHostFile openRegularHostFile(const std::string& hostPath)
{
    if (namesNoFile(hostPath)) {
        return {};
    }
    const HANDLE handle = CreateFileA(hostPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {entryKind(hostPath) == EntryKind::folder ? HostFileOpening::notRegular : HostFileOpening::failed,
                nullptr};
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return {HostFileOpening::notRegular, nullptr};
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return {};
    }
    std::FILE* file = _fdopen(descriptor, "rb");
    if (file == nullptr) {
        _close(descriptor);
        return {};
    }
    return {HostFileOpening::opened, file};
}

std::vector<std::string> hostFolderEntries(const std::string&)
{
    return {};
}

EntryKind entryKind(const std::string& windowsPath)
{
    const DWORD attributes = namesNoFile(windowsPath) ? INVALID_FILE_ATTRIBUTES
                                                      : GetFileAttributesA(windowsPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return EntryKind::none;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return EntryKind::link;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::folder : EntryKind::other;
}

// The attributes tell a reparse point at the name itself; the standard stream
// would open through it.
std::FILE* createFile(const std::string& windowsPath)
{
    if (namesNoFile(windowsPath) || entryKind(windowsPath) == EntryKind::link) {
        return nullptr;
    }
    return std::fopen(windowsPath.c_str(), "wb");
}

// A file under the name also reports ERROR_ALREADY_EXISTS; only a directory
// there means the work is done.
DirectoryCreation createDirectory(const std::string& windowsPath)
{
    if (namesNoFile(windowsPath)) {
        return DirectoryCreation::failed;
    }
    if (CreateDirectoryA(windowsPath.c_str(), nullptr)) {
        return DirectoryCreation::created;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        return DirectoryCreation::failed;
    }
    const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
    const bool isDirectory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return isDirectory ? DirectoryCreation::alreadyExists : DirectoryCreation::failed;
}

std::string hostPath(const std::string& windowsPath)
{
    return namesNoFile(windowsPath) ? std::string() : windowsPath;
}

// Windows takes a forward slash for a separator too (file dialogs hand out such
// paths); the path rules know the backslash alone.
std::string commandLinePath(const std::string& typedPath)
{
    std::string path = typedPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool liesOnNoDrive(const std::string&)
{
    return false;
}

} // namespace platform
