#include "support/group_tree_dump.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view projectFolderMark = "P:";

void dumpGroup(const Group& group, const std::string& indent, const std::string& projectFolder, std::string& out)
{
    out += indent + group.name + "\n";
    const std::string inner = indent + "  ";
    for (const std::string_view file : group.files()) {
        out += inner + "file " + markProjectFolder(std::string(file), projectFolder) + "\n";
    }
    for (const std::string& folder : group.includePaths()) {
        out += inner + "include " + markProjectFolder(folder, projectFolder) + "\n";
    }
    for (const auto& [name, value] : group.definitions()) {
        out += inner + "define " + name + (value.empty() ? "" : "=" + value) + "\n";
    }
    for (const auto& child : group.children()) {
        dumpGroup(*child, inner, projectFolder, out);
    }
}

bool carries(const Group& group, const std::string& sourceDir)
{
    return group.sourceDir == sourceDir && std::all_of(group.children().begin(), group.children().end(),
                                                       [&](const auto& child) { return carries(*child, sourceDir); });
}

} // namespace

std::string markProjectFolder(std::string text, const std::string& projectFolder)
{
    if (projectFolder.empty()) {
        return text;
    }
    for (std::size_t at = text.find(projectFolder); at != std::string::npos;
         at = text.find(projectFolder, at + projectFolderMark.size())) {
        text.replace(at, projectFolder.size(), projectFolderMark);
    }
    return text;
}

std::string dumpTree(const Group& root, const std::string& projectFolder)
{
    std::string out;
    dumpGroup(root, "", projectFolder, out);
    return out;
}

bool groupsCarryRootSourceFolder(const Group& root)
{
    return carries(root, root.sourceDir);
}
