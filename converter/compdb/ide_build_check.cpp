#include "compdb/ide_build_check.h"

#include "base/ascii_case.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "compdb/configuration_builds.h"
#include "compdb/database_entries.h"
#include "compdb/exported_makefile.h"
#include "report/conversion_report.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

std::string folderKey(const std::string& path)
{
    std::string key = pathKey(withoutEmptyOrDotParts(path));
    while (key.size() > 1 && (key.back() == '\\' || key.back() == '/')) {
        key.pop_back();
    }
    return key;
}

// The IDE writes both the project and the makefile, and names files whatever
// their letter case.
std::string fileKey(const std::string& windowsPath)
{
    return asciiUpperCase(withoutEmptyOrDotParts(windowsPath));
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text.empty() ? "none" : text;
}

// What the database entry holds that the comparison looks at.
struct EntryView {
    std::unordered_set<std::string> macros;
    std::vector<std::string> includeKeys;
};

EntryView entryView(const std::vector<std::string>& words)
{
    EntryView view;
    for (const std::string& word : words) {
        if (word.starts_with("-D")) {
            const std::string macro = word.substr(2);
            view.macros.insert(macro.find('=') == std::string::npos ? macro + "=1" : macro);
        } else if (word.starts_with("-I")) {
            view.includeKeys.push_back(folderKey(word.substr(2)));
        }
    }
    return view;
}

// Whether the keys come in `all` in their order.
bool inOrderWithin(const std::vector<std::string>& keys, const std::vector<std::string>& all)
{
    auto at = all.begin();
    for (const std::string& key : keys) {
        at = std::find(at, all.end(), key);
        if (at == all.end()) {
            return false;
        }
        ++at;
    }
    return true;
}

// The differences of one command, one text each.
std::vector<std::string> differences(const IdeCommand& command, const EntryView& entry, const ProjectTools& tools)
{
    std::vector<std::string> found;
    for (const std::string& macro : command.macros) {
        if (!entry.macros.contains(macro)) {
            found.push_back("the IDE's tool had -D" + macro + ", which this run's entry lacks");
        }
    }
    std::vector<std::string> keys;
    for (std::string folder : command.includeFolders) {
        tools.paths.resolveProjectPath(folder);
        keys.push_back(folderKey(toolPath(tools.hostFiles, folder)));
    }
    if (!inOrderWithin(keys, entry.includeKeys)) {
        found.push_back("include folders: the IDE's tool had " + joined(command.includeFolders) +
                        ", in this order; this run's entry lacks one of them or has them in another order");
    }
    if (!command.processor.empty() && asciiLowerCase(command.processor) != asciiLowerCase(tools.processor)) {
        found.push_back("processor: the IDE's tool had " + command.processor + "; this run has " + tools.processor);
    }
    return found;
}

} // namespace

std::vector<IdeCheck> checkAgainstIdeBuild(const ExportedMakefile& makefile, const ProjectTools& tools,
                                           const std::vector<ConfigurationBuild>& builds,
                                           const std::string& projectFolder, ConversionReport& report)
{
    std::vector<IdeCheck> checks;
    for (const IdeBuild& ideBuild : makefile.builds) {
        IdeCheck& check = checks.emplace_back(IdeCheck{ideBuild.configuration});
        const auto build = std::find_if(builds.begin(), builds.end(), [&](const ConfigurationBuild& candidate) {
            return candidate.name == ideBuild.configuration;
        });
        if (build == builds.end()) {
            check.configurationKnown = false;
            continue;
        }
        std::unordered_set<std::string> entries;
        for (const std::string& file : build->files) {
            entries.insert(fileKey(file));
        }
        const EntryView views[] = {entryView(entryWords(tools, *build, false)),
                                   entryView(entryWords(tools, *build, true))};
        for (const IdeCommand& command : ideBuild.commands) {
            std::vector<std::string> found;
            const std::string file = hasDrive(command.file) ? command.file : joinPath(projectFolder, command.file);
            if (!entries.contains(fileKey(file))) {
                found.push_back("the IDE builds it; this run gives it no entry");
            } else {
                found = differences(command, views[command.assembles ? 1 : 0], tools);
            }
            ++(found.empty() ? check.agree : check.differ);
            for (const std::string& difference : found) {
                report.differsFromIdeBuild(ideBuild.configuration, command.file, difference);
            }
        }
    }
    return checks;
}
