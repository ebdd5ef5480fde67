#include "base/project_name.h"

#include "base/windows_path.h"

namespace {

constexpr std::string_view parentFolderName = "..";
constexpr std::string_view folderSeparators = "\\/";
constexpr std::string_view forbiddenInWindowsFileNames = "<>:\"|?*";
constexpr unsigned char firstNonControl = 0x20;

bool holdsControlCharacter(std::string_view name)
{
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < firstNonControl) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string defaultProjectName(std::string_view sourcePath)
{
    return std::string(withoutExtension(fileName(withoutExtension(sourcePath))));
}

// The name becomes the file name of the project file and of the project-wide
// personalities: one that leaves the destination folder would put them outside
// it, and one that Windows cannot hold fails there or, with ":", names a stream
// of another file.
std::optional<std::string> projectNameFault(std::string_view name)
{
    if (name == parentFolderName || name.find_first_of(folderSeparators) != std::string_view::npos) {
        return "a project name holds no \"\\\", \"/\" or \"..\"";
    }
    if (name.find_first_of(forbiddenInWindowsFileNames) != std::string_view::npos || holdsControlCharacter(name)) {
        return "a project name holds no < > : \" | ? * or control character, which Windows forbids in file names";
    }
    return std::nullopt;
}
