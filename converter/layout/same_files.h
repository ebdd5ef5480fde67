#pragma once

#include "base/run_file.h"

#include <vector>

// Throws SameFile, before anything is written, when an output is the same file
// as an input or as an earlier output, however each is spelled: through a
// link, with "." parts, in other letter case where the file system ignores
// it. A file that is not there yet is known by the nearest folder on its way
// that is, and the rest of its path compared as Windows compares names, with
// each ".." taking back the part before it: the run makes those folders.
void refuseSameFiles(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs);
