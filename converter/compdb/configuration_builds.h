#pragma once

#include <string>
#include <vector>

class Group;

// What one configuration of the target builds, gathered from the group tree.
struct ConfigurationBuild {
    std::string name;
    // In the order the project lists them.
    std::vector<std::string> files;
    // The project's other files, which the IDE does not build.
    std::vector<std::string> notBuilt;
    // The configuration's own folders first, then those common to all; each once.
    std::vector<std::string> includeFolders;
    // The configuration's group below the target, whose tool options it takes.
    const Group* configuration = nullptr;
};

// One build per configuration of the target, in project order. The tree is
// walked once: a project of many configurations costs each only its own
// groups and those they all share.
std::vector<ConfigurationBuild> configurationBuilds(const Group& target);
