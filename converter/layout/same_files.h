#pragma once

#include <string>
#include <string_view>
#include <vector>

// A file that a run reads or writes, with what it is to the user ("the
// report"), for the message that names it.
struct RunFile {
    std::string_view role;
    std::string path;
    // Where the file is on this machine, when it is found otherwise than as
    // `path` spells it: a project of a group in other letter case, a stand-in.
    std::string hostPath = {};
    // Of an include stand-in: its name in the folder `path`, one part that may
    // hold backslashes. Stand-ins are written only where names keep their
    // letter case, each under a distinct name: they are weighed against every
    // other file, not against each other.
    std::string standInName = {};
};

// Throws SameFile, before anything is written, when an output is the same file
// as an input or as an earlier output, however each is spelled: through a
// link, with "." parts, in other letter case where the file system ignores
// it. A file that is not there yet is known by the nearest folder on its way
// that is, and the rest of its path compared as Windows compares names, with
// each ".." taking back the part before it: the run makes those folders.
void refuseSameFiles(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs);
