#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Everything the converter needs from the operating system, one whole task per
// function. Paths going in and out are Windows paths (drive letter, colon,
// backslashes); on POSIX they are mapped through Wine's drive folders.
namespace platform {

// Opens the null device on each standard descriptor (0-2) that the process was
// started without, so that no file of the run takes one and receives the
// lines meant for standard output. False when one stays closed.
bool openClosedStandardStreams();

// The process's current directory, read whole, in Windows form.
std::string currentDirectory();

// The current directory of a drive (letter as typed), in Windows form. The
// process's current directory is the same afterwards.
std::string driveCurrentDirectory(char driveLetter);

// The default value of the App Paths entry of IDE.exe, or "" when there is none.
std::string ideAppPath();

// True when any file or folder exists under the path.
bool pathExists(const std::string& windowsPath);

// What stands under a path; a link is not followed. Windows counts every
// reparse point (symbolic link, junction, mount point) as a link.
enum class EntryKind { none, folder, link, other };
EntryKind entryKind(const std::string& windowsPath);

enum class DirectoryCreation { created, alreadyExists, failed };

// Creates one directory level; missing parents are not made.
DirectoryCreation createDirectory(const std::string& windowsPath);

// Creates or truncates a file for writing; nullptr when it cannot, and when a
// link, or anything but a file, stands under the name: the file is never
// written through a link.
std::FILE* createFile(const std::string& windowsPath);

// The name under which the file system knows a Windows path, for the standard
// file streams. Identity on Windows. "" when the path lies on no known drive or
// holds a NUL, which no file name can.
std::string hostPath(const std::string& windowsPath);

// Whether the file system takes names that differ in letter case alone for one
// name: true on Windows, false on POSIX.
bool namesIgnoreLetterCase();

// True when a name, read from a file the user could have edited, names an
// entry right inside a folder: no separator, not "." or "..", nothing the file
// system would read as another place.
bool isHostFileName(const std::string& name);

// The host path of the entry `name` right inside a Windows folder; "" when the
// folder lies on no drive or the name is no host file name. The stand-in
// headers are named so, as a source includes them ("..\board.h").
std::string hostPathIn(const std::string& windowsFolder, const std::string& name);

// True when anything stands under a host path (as hostPath gives it), a
// dangling link included.
bool hostEntryExists(const std::string& hostPath);

// createFile for a host path: the stand-in headers of the compilation
// databases are named as a source includes them, backslashes and all.
std::FILE* createHostFile(const std::string& hostPath);

// A regular file under a host path, opened for reading: what else stands there
// (a folder, a device, a pipe) might never end or block the open, and is left
// unopened. Links are followed.
enum class HostFileOpening { opened, notRegular, failed };
struct OpenedHostFile {
    HostFileOpening outcome = HostFileOpening::failed;
    // Owned by the caller; nullptr unless opened.
    std::FILE* file = nullptr;
};
OpenedHostFile openRegularHostFile(const std::string& hostPath);

// The names in a host folder, "." and ".." aside; empty when it cannot be read.
// Always empty on Windows, whose file system itself finds a name whatever its
// letter case and takes names in the ANSI code page, so that a name which does
// not exist as written has no other spelling to look for.
std::vector<std::string> hostFolderEntries(const std::string& hostFolder);

// A path argument as the user typed it, turned into the converter's Windows
// form before the path rules run: backslashes for separators.
std::string commandLinePath(const std::string& typedPath);

// True for a host path typed by the user that no drive maps, so that it has no
// Windows form. Never on Windows.
bool liesOnNoDrive(const std::string& typedPath);

} // namespace platform
