#pragma once

#include <string>
#include <unordered_set>

// The folders below the destination that one run of the writer makes. Each
// folder is asked for once however many groups name it: deep group names,
// repeated, would otherwise ask again for every folder on their way.
class DestinationFolders {
public:
    // Creates one folder level when nothing exists under the path yet; a
    // trailing backslash names the same folder. Throws IOERROR code 1 with the
    // path as given when the folder cannot be created.
    void makeDirectory(const std::string& path);
    // Whether this run already made or found the folder.
    bool isKnown(const std::string& path) const;

private:
    std::unordered_set<std::string> known_;
};
