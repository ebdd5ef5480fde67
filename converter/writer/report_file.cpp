#include "writer/report_file.h"

#include "driver/conversion_report.h"
#include "reader/group.h"
#include "writer/output_paths.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr char fieldSeparator = '\t';

using GroupPaths = std::unordered_map<const Group*, std::string>;

// Each group's names from the root down, as the project file nests them.
void collectGroupPaths(const Group& group, const std::string& parentPath, GroupPaths& paths)
{
    const std::string path = childParentPath(parentPath, group.name);
    for (const std::unique_ptr<Group>& child : group.children())
        collectGroupPaths(*child, path, paths);
    paths.emplace(&group, path);
}

// A field holding a tab or a line break would shift or split the columns; a
// blank stands in for each.
std::string field(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

} // namespace

void ReportFile::write(const ConversionReport& report, const Group& root)
{
    GroupPaths groupPaths;
    collectGroupPaths(root, "", groupPaths);
    file.writeLine("kind\tconfiguration\titem\tdetail");
    std::string line;
    for (const ConversionReport::Finding& finding : report.findings()) {
        line.assign(finding.kind);
        line += fieldSeparator;
        line += field(finding.configuration);
        line += fieldSeparator;
        line += field(finding.item);
        line += fieldSeparator;
        if (finding.group != nullptr)
            line += field(groupPaths.at(finding.group)) + ": ";
        line += field(finding.detail);
        file.writeLine(line);
    }
    file.close();
}
