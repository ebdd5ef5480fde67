#pragma once

#include <string>
#include <vector>

// The "-ext" list: which source files a conversion takes, by their extension
// compared in any ASCII letter case. An empty list takes every file.
class ExtensionFilter {
public:
    // Adds each comma-separated entry as written, empty ones included.
    void add(const std::string& commaList);
    bool accepts(const std::string& path) const;
    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};
