#include "writer/name_folders.h"

#include "reader/windows_path.h"
#include "writer/make_directory.h"

#include <string_view>

namespace {

constexpr std::string_view parentFolderSegment = "..";

} // namespace

bool leavesItsFolder(const std::string& name)
{
    std::size_t start = 0;
    while (true) {
        const std::size_t separator = name.find_first_of("\\/", start);
        const std::size_t end = separator == std::string::npos ? name.size() : separator;
        if (std::string_view(name).substr(start, end - start) == parentFolderSegment)
            return true;
        if (separator == std::string::npos)
            return false;
        start = separator + 1;
    }
}

// Where both separators are left, the next backslash is taken first.
void makeNameFolders(const std::string& baseFolder, const std::string& name)
{
    std::size_t backslash = name.find('\\');
    std::size_t slash = name.find('/');
    while (backslash != std::string::npos || slash != std::string::npos) {
        const std::size_t end = backslash != std::string::npos ? backslash : slash;
        makeDirectory(joinPath(baseFolder, std::string_view(name).substr(0, end)));
        backslash = name.find('\\', end + 1);
        slash = name.find('/', end + 1);
    }
}
