#pragma once

#include <cstdio>
#include <memory>

// A file the converter reads, closed however the reading ends.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;
