#pragma once

#include <string>
#include <string_view>
#include <vector>

// A file that a run reads or writes, with what it is to the user ("the
// report"), for the message that names it.
struct RunFile {
    std::string_view role;
    std::string path;
};

// Throws SameFile, before anything is written, when an output is the same file
// as an input or as an earlier output, however each is spelled: through a
// link, with "." parts, in other letter case where the file system ignores
// it. A file that is not there yet is known by the nearest folder on its way
// that is, and the rest of its path compared as Windows compares names.
void refuseSameFiles(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs);
