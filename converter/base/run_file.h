#pragma once

#include <string>
#include <string_view>

// A file that a run reads or writes, as the plan names it before anything is
// written: the same-file check, the record and the writers all take it.
struct RunFile {
    // What the file is to the user ("the report"), for the message that names it.
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
    // The placeholders and the default analyser personality are made when
    // missing and never rewritten: once there, they are the user's.
    bool madeOnlyWhenMissing = false;
    // The project file and the groups' own analyser personalities: an edit
    // of one is merged with what a rerun brings.
    bool mergedWhenEdited = false;
};
