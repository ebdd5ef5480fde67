#pragma once

#include "base/file_preview.h"

#include <string>
#include <unordered_set>
#include <vector>

// The folders that one run makes below a folder it writes into (the
// destination, or the compilation databases' folder). Each folder is asked for
// once however many groups name it: deep group names, repeated, would
// otherwise ask again for every folder on their way.
class DestinationFolders {
public:
    DestinationFolders() = default;
    // Users link the folders they write into: the root folder may be a link.
    explicit DestinationFolders(const std::string& rootFolder);
    // A dry run's folders: none is made, each counts as made, and the files
    // written into them go into the preview.
    DestinationFolders(const std::string& rootFolder, FilePreview& preview);

    // Creates one folder level when nothing exists under the path yet; a
    // trailing backslash names the same folder. Throws IOERROR code 1 with the
    // path as given when the folder cannot be created, or when a link stands
    // under its name below the root: nothing is made or written through one.
    void makeDirectory(const std::string& path);
    // Whether this run already made or found the folder.
    bool isKnown(const std::string& path) const;
    // The folders made or found, in no order; those made, parents first.
    std::vector<std::string> known() const { return {known_.begin(), known_.end()}; }
    const std::vector<std::string>& made() const { return made_; }
    // Where the files of a dry run go; nullptr for a real one.
    FilePreview* preview() const { return preview_; }

private:
    std::string root_;
    std::unordered_set<std::string> known_;
    std::vector<std::string> made_;
    FilePreview* preview_ = nullptr;
};
