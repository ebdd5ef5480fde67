#pragma once

#include "reader/group.h"

#include <string>

// The whole group tree as indented lines, one per group and one per entry:
// "file", "include" and "define" lines under their group, then its children.
// Every occurrence of `projectFolder` is written as "P:", so that expected
// trees do not depend on where the project file lies.
std::string dumpTree(const Group& root, const std::string& projectFolder);

// The text with every occurrence of `projectFolder` written as "P:".
std::string markProjectFolder(std::string text, const std::string& projectFolder);

// True when every group of the tree carries the root's source folder.
bool groupsCarryRootSourceFolder(const Group& root);
