#pragma once

#include "base/content_digest.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// What a dry run would write, file by file by host path: each file's size and
// digest, to weigh it against the last run's, and the text of the files an
// edit may be merged into, up to a bound. Nothing of it reaches the disk.
class FilePreview {
public:
    struct File {
        std::uint64_t size = 0;
        ContentDigest digest;
        // The whole text of a file whose text is kept while `size` is within
        // the bound, else empty.
        std::string text;
        bool keepsText = false;
    };

    explicit FilePreview(std::uint64_t textBound) : textBound_(textBound) {}

    // Before the writing: a file whose text is kept.
    void keepTextOf(const std::string& hostPath) { textKept_.insert(hostPath); }
    // The file written afresh under the path.
    File& start(const std::string& hostPath);
    void add(File& file, std::string_view bytes) const;
    // Nothing for a file not written.
    const File* find(const std::string& hostPath) const;
    // The folders the run would make, by Windows path, so that a file in one
    // counts as one that could be written.
    void makeFolder(const std::string& windowsPath) { folders_.insert(windowsPath); }
    bool makesFolder(std::string_view windowsPath) const { return folders_.contains(std::string(windowsPath)); }

private:
    std::uint64_t textBound_;
    std::unordered_map<std::string, File> files_;
    std::unordered_set<std::string> folders_;
    std::unordered_set<std::string> textKept_;
};
