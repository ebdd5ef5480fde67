#include "compdb/configuration_builds.h"

#include "base/path_key.h"
#include "base/windows_path.h"
#include "reader/file_roles.h"
#include "reader/group.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// A group at its place in the tree's walk.
struct PlacedGroup {
    std::size_t place;
    const Group* group;
};

struct Walk {
    std::vector<PlacedGroup> common;
    std::unordered_map<std::string, std::vector<PlacedGroup>> byConfiguration;
    std::size_t place = 0;
};

// A configuration's group takes everything below it; a group of another
// configuration inside it belongs to none.
void walk(const Group& group, const std::string* owner, Walk& groups)
{
    if (group.isConfiguration) {
        if (owner != nullptr && *owner != group.name) {
            return;
        }
        owner = &group.name;
    }
    const PlacedGroup placed{groups.place++, &group};
    if (owner == nullptr) {
        groups.common.push_back(placed);
    } else {
        groups.byConfiguration[*owner].push_back(placed);
    }
    for (const std::unique_ptr<Group>& child : group.children()) {
        walk(*child, owner, groups);
    }
}

ConfigurationBuild gather(const Group& configuration, const std::vector<PlacedGroup>& common,
                          const std::vector<PlacedGroup>& own)
{
    std::vector<PlacedGroup> groups;
    groups.reserve(common.size() + own.size());
    std::merge(common.begin(), common.end(), own.begin(), own.end(), std::back_inserter(groups),
               [](const PlacedGroup& a, const PlacedGroup& b) { return a.place < b.place; });
    ConfigurationBuild build{configuration.name, {}, {}, {}, &configuration};
    std::vector<std::string> commonFolders;
    for (const PlacedGroup& placed : groups) {
        for (const std::string_view file : placed.group->files()) {
            if (!file.empty()) {
                (isBuiltSource(file) ? build.files : build.notBuilt).emplace_back(file);
            }
        }
        std::vector<std::string>& folders = placed.group->isConfiguration ? build.includeFolders : commonFolders;
        folders.insert(folders.end(), placed.group->includePaths().begin(), placed.group->includePaths().end());
    }
    // A folder named twice, in whatever spelling (".\src\" and "src"), is
    // searched at its first place only.
    build.includeFolders.insert(build.includeFolders.end(), commonFolders.begin(), commonFolders.end());
    std::unordered_set<std::string> named;
    std::erase_if(build.includeFolders, [&](const std::string& folder) {
        return !named.insert(pathKey(withoutEmptyOrDotParts(folder))).second;
    });
    return build;
}

} // namespace

std::vector<ConfigurationBuild> configurationBuilds(const Group& target)
{
    Walk groups;
    walk(target, nullptr, groups);
    static const std::vector<PlacedGroup> none;
    std::vector<ConfigurationBuild> builds;
    std::unordered_set<std::string> seen;
    for (const std::unique_ptr<Group>& child : target.children()) {
        if (child->isConfiguration && seen.insert(child->name).second) {
            const auto own = groups.byConfiguration.find(child->name);
            builds.push_back(gather(*child, groups.common, own == groups.byConfiguration.end() ? none : own->second));
        }
    }
    return builds;
}
