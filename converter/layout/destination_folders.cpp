#include "layout/destination_folders.h"

#include "base/errors.h"
#include "base/windows_path.h"
#include "platform/platform.h"

namespace {

// "X:\" and "\" must keep their backslash: without it, "X:" names the drive's
// current folder and "" no folder at all.
std::string withoutTrailingBackslash(const std::string& path)
{
    if (!endsWithSeparator(path) || isDriveRoot(path) || path.size() == 1) {
        return path;
    }
    return path.substr(0, path.size() - 1);
}

} // namespace

DestinationFolders::DestinationFolders(const std::string& rootFolder) : root_(withoutTrailingBackslash(rootFolder))
{
}

DestinationFolders::DestinationFolders(const std::string& rootFolder, FilePreview& preview)
    : root_(withoutTrailingBackslash(rootFolder)), preview_(&preview)
{
}

void DestinationFolders::makeDirectory(const std::string& path)
{
    std::string folder = withoutTrailingBackslash(path);
    if (known_.contains(folder)) {
        return;
    }
    // A link would lead the folders and files below it anywhere.
    const platform::EntryKind kind = platform::entryKind(folder);
    if (kind == platform::EntryKind::link && folder != root_) {
        throw IOERROR(IOERROR::cannotCreateDirectory, path);
    }
    if (kind == platform::EntryKind::none && preview_ != nullptr) {
        preview_->makeFolder(folder);
        made_.push_back(folder);
    } else if (kind == platform::EntryKind::none) {
        const platform::DirectoryCreation creation = platform::createDirectory(folder);
        if (creation == platform::DirectoryCreation::failed) {
            throw IOERROR(IOERROR::cannotCreateDirectory, path);
        }
        if (creation == platform::DirectoryCreation::created) {
            made_.push_back(folder);
        }
    }
    known_.insert(std::move(folder));
}

bool DestinationFolders::isKnown(const std::string& path) const
{
    return known_.contains(withoutTrailingBackslash(path));
}
