#include "layout/name_folders.h"

#include "base/errors.h"
#include "base/windows_path.h"
#include "layout/destination_folders.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view parentFolderSegment = "..";

// The lengths of the name's parts that name a folder, shortest first. Where
// both separators are left, the next backslash is taken first.
std::vector<std::size_t> nameFolderLengths(const std::string& name)
{
    std::vector<std::size_t> lengths;
    std::size_t backslash = name.find('\\');
    std::size_t slash = name.find('/');
    while (backslash != std::string::npos || slash != std::string::npos) {
        const std::size_t end = backslash != std::string::npos ? backslash : slash;
        lengths.push_back(end);
        backslash = name.find('\\', end + 1);
        slash = name.find('/', end + 1);
    }
    return lengths;
}

} // namespace

void refuseNameLeavingItsFolder(const std::string& baseFolder, const std::string& name)
{
    const std::vector<std::string_view> parts = pathParts(name);
    if (std::find(parts.begin(), parts.end(), parentFolderSegment) != parts.end()) {
        throw RefusedBeforeWriting(std::string(cannotCreateDirectoryMessage) + joinPath(baseFolder, name));
    }
}

// Walks back from the deepest folder already known, so a deep name given again
// costs one lookup, not one per level.
void makeNameFolders(DestinationFolders& folders, const std::string& baseFolder, const std::string& name)
{
    const std::vector<std::size_t> lengths = nameFolderLengths(name);
    const auto folder = [&](std::size_t i) {
        return joinPath(baseFolder, std::string_view(name).substr(0, lengths[i]));
    };
    std::size_t firstToMake = lengths.size();
    while (firstToMake > 0 && !folders.isKnown(folder(firstToMake - 1))) {
        --firstToMake;
    }
    for (std::size_t i = firstToMake; i < lengths.size(); ++i) {
        folders.makeDirectory(folder(i));
    }
}
