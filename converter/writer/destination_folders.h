#pragma once

#include <string>
#include <unordered_set>

// The folders below the destination that one run of the writer makes. Each
// folder is asked for once however many groups name it: deep group names,
// repeated, would otherwise ask again for every folder on their way.
class DestinationFolders {
public:
    DestinationFolders() = default;
    // The destination folder is known from the start, and may be a link.
    explicit DestinationFolders(const std::string& destinationFolder);

    // Creates one folder level when nothing exists under the path yet; a
    // trailing backslash names the same folder. Throws IOERROR code 1 with the
    // path as given when the folder cannot be created or a link stands under
    // its name: nothing is ever made or written through a link.
    void makeDirectory(const std::string& path);
    // Whether this run already made or found the folder.
    bool isKnown(const std::string& path) const;

private:
    std::unordered_set<std::string> known_;
};
