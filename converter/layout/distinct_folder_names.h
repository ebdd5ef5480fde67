#pragma once

#include <string>
#include <vector>

// The folders that sibling names from the project file (configurations under a
// target, folders under a group, members under a group root) lead to inside
// one folder, so that no two of them write the same files.
//
// Names are compared as Windows compares the folders they lead to: parts are
// split at "\" and "/", empty and "." parts lead nowhere, a part's trailing
// dots and blanks are dropped, and letter case is ignored (a to z). So "a",
// "./a", "a/", "A" and "a." lead to the same folder. The first name of each
// folder keeps it, written as the name writes it. A later name of the same
// folder gets "<its parts joined with \> (N)" with the least N from 2 whose
// folder no sibling leads to; a name that leads to no folder of its own
// ("", ".") gets "unnamed", or "unnamed (N)" when a sibling leads there.

// The name as Windows compares it by the rule above: "./A." gives "a". A ".."
// part stays.
std::string folderKey(const std::string& name);

// For each name, in order: the name itself when it keeps its folder, else the
// name of the distinct folder it gets.
std::vector<std::string> distinctFolderNames(const std::vector<std::string>& names);
