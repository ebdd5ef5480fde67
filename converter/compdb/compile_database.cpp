#include "compdb/compile_database.h"

#include "base/console.h"
#include "base/windows_path.h"
#include "compdb/json_text.h"
#include "compdb/processor_macros.h"
#include "driver/converter.h"
#include "driver/errors.h"
#include "platform/platform.h"
#include "report/conversion_report.h"
#include "writer/destination_folders.h"
#include "writer/distinct_folder_names.h"
#include "writer/name_folders.h"
#include "writer/output_file.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view databaseFileName = "compile_commands.json";
// The first word when the processor belongs to no known family.
constexpr std::string_view unknownCompiler = "cc";

// What one configuration builds, gathered from the group tree.
struct ConfigurationBuild {
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> definitions;
    // The configuration's compiler and header folders, then those common to all.
    std::vector<std::string> configurationFolders;
    std::vector<std::string> commonFolders;
};

// The form in which tools on this machine open the path. A path on no drive
// this machine knows stays as the project names it.
std::string toolPath(const std::string& windowsPath)
{
    const std::string host = platform::hostPath(windowsPath);
    return host.empty() ? windowsPath : host;
}

// Groups of other configurations are left out with everything below them.
void gather(const Group& group, const std::string& configuration, ConfigurationBuild& build)
{
    if (group.isConfiguration && group.name != configuration) {
        return;
    }
    for (const std::string& file : group.files()) {
        if (!file.empty()) {
            build.files.push_back(file);
        }
    }
    std::vector<std::string>& folders = group.isConfiguration ? build.configurationFolders : build.commonFolders;
    folders.insert(folders.end(), group.includePaths().begin(), group.includePaths().end());
    build.definitions.insert(build.definitions.end(), group.definitions().begin(), group.definitions().end());
    for (const std::unique_ptr<Group>& child : group.children()) {
        gather(*child, configuration, build);
    }
}

std::string macroArgument(const std::pair<std::string, std::string>& macro)
{
    return "-D" + macro.first + (macro.second.empty() ? "" : "=" + macro.second);
}

// Every word of a file's command line but the file itself, in order.
std::vector<std::string> commandWords(const Converter& converter, const std::string& processor,
                                      const ConfigurationBuild& build)
{
    const std::optional<ProcessorFamily> family = processorFamily(processor);
    std::vector<std::string> words{std::string(family ? familyCompiler(*family) : unknownCompiler)};
    for (const auto& macro : builtInMacros(processor)) {
        words.push_back(macroArgument(macro));
    }
    for (const auto& macro : build.definitions) {
        words.push_back(macroArgument(macro));
    }
    // A folder named twice is searched at its first place only.
    std::unordered_set<std::string> named;
    for (const auto* folders : {&build.configurationFolders, &build.commonFolders}) {
        for (const std::string& folder : *folders) {
            if (named.insert(folder).second) {
                words.push_back("-I" + toolPath(folder));
            }
        }
    }
    const std::string& installFolder = converter.getInstallFolder();
    if (family && !installFolder.empty()) {
        const std::string systemFolder = joinPath(installFolder, familyIncludeFolder(*family));
        if (platform::pathExists(systemFolder)) {
            words.emplace_back("-isystem");
            words.push_back(toolPath(systemFolder));
        }
    }
    words.emplace_back("-c");
    return words;
}

void writeEntry(OutputFile& out, const std::string& directory, const std::vector<std::string>& words,
                const std::string& file, bool last)
{
    out.writeLine("  {");
    out.writeLine("    \"directory\": " + jsonString(directory) + ",");
    out.writeLine("    \"file\": " + jsonString(file) + ",");
    out.writeLine("    \"arguments\": [");
    for (const std::string& word : words) {
        out.writeLine("      " + jsonString(word) + ",");
    }
    out.writeLine("      " + jsonString(file));
    out.writeLine("    ]");
    out.writeLine(last ? "  }" : "  },");
}

// The entries of one project in a database.
struct ProjectEntries {
    std::string directory;
    std::vector<std::string> words;
    std::vector<std::string> files;
};

void writeDatabase(const std::string& path, const std::vector<ProjectEntries>& projects)
{
    OutputFile out(path);
    out.writeLine("[");
    std::size_t entriesLeft = 0;
    for (const ProjectEntries& project : projects) {
        entriesLeft += project.files.size();
    }
    for (const ProjectEntries& project : projects) {
        for (const std::string& file : project.files) {
            writeEntry(out, project.directory, project.words, toolPath(file), --entriesLeft == 0);
        }
    }
    out.writeLine("]");
    out.close();
}

// Each configuration name, once, in project order, with the targets that have it.
struct ConfigurationTargets {
    std::vector<std::string> names;
    std::vector<std::vector<std::size_t>> having;
};

ConfigurationTargets configurationsOf(const std::vector<const Group*>& targets)
{
    ConfigurationTargets configurations;
    std::unordered_map<std::string, std::size_t> indexByName;
    for (std::size_t target = 0; target < targets.size(); ++target) {
        for (const std::unique_ptr<Group>& child : targets[target]->children()) {
            if (!child->isConfiguration) {
                continue;
            }
            const auto [found, added] = indexByName.try_emplace(child->name, configurations.names.size());
            if (added) {
                configurations.names.push_back(child->name);
                configurations.having.emplace_back();
            }
            std::vector<std::size_t>& having = configurations.having[found->second];
            if (having.empty() || having.back() != target) {
                having.push_back(target);
            }
        }
    }
    return configurations;
}

// The projects that have a target, and their targets: a project without a
// processor has none and so no configuration.
struct ProjectTargets {
    std::vector<const Group*> projects;
    std::vector<const Group*> targets;
};

ProjectTargets projectTargets(const Converter& converter)
{
    ProjectTargets found;
    for (const Group* project : converter.projectRoots()) {
        if (!project->children().empty()) {
            found.projects.push_back(project);
            found.targets.push_back(project->children().front().get());
        }
    }
    return found;
}

} // namespace

void writeCompileDatabases(const Converter& converter, const std::string& folder)
{
    const auto [projects, targets] = projectTargets(converter);
    if (targets.empty()) {
        return;
    }
    DestinationFolders folders(folder);
    folders.makeDirectory(folder);
    // One database per configuration name serves every project of a group.
    const ConfigurationTargets configurations = configurationsOf(targets);
    const std::vector<std::string> configurationFolders = distinctFolderNames(configurations.names);
    for (std::size_t c = 0; c < configurations.names.size(); ++c) {
        const std::string& configuration = configurations.names[c];
        if (leavesItsFolder(configuration)) {
            throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(folder, configuration));
        }
        const std::string configurationFolder = joinPath(folder, configurationFolders[c]);
        if (configurationFolders[c] != configuration) {
            converter.getReport().folderRenamed(configuration, configurationFolder);
        }
        makeNameFolders(folders, folder, configurationFolders[c]);
        folders.makeDirectory(configurationFolder);

        std::vector<ProjectEntries> entries;
        for (const std::size_t i : configurations.having[c]) {
            ConfigurationBuild build;
            gather(*targets[i], configuration, build);
            entries.push_back({toolPath(projects[i]->sourceDir), commandWords(converter, targets[i]->name, build),
                               std::move(build.files)});
        }
        const std::string path = joinPath(configurationFolder, databaseFileName);
        printLine("Creating Compilation Database - " + path);
        writeDatabase(path, entries);
    }
}

std::vector<std::string> compileDatabasePaths(const Converter& converter, const std::string& folder)
{
    std::vector<std::string> paths;
    const ConfigurationTargets configurations = configurationsOf(projectTargets(converter).targets);
    for (const std::string& configurationFolder : distinctFolderNames(configurations.names)) {
        paths.push_back(joinPath(joinPath(folder, configurationFolder), databaseFileName));
    }
    return paths;
}
