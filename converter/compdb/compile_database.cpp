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

void writeDatabase(const std::string& path, const std::string& directory, const std::vector<std::string>& words,
                   const std::vector<std::string>& files)
{
    OutputFile out(path);
    out.writeLine("[");
    for (std::size_t i = 0; i < files.size(); ++i) {
        writeEntry(out, directory, words, toolPath(files[i]), i + 1 == files.size());
    }
    out.writeLine("]");
    out.close();
}

// The names of the target's configurations, each once, in project order.
std::vector<std::string> configurationNames(const Group& target)
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const std::unique_ptr<Group>& child : target.children()) {
        if (child->isConfiguration && seen.insert(child->name).second) {
            names.push_back(child->name);
        }
    }
    return names;
}

} // namespace

void writeCompileDatabases(const Converter& converter, const std::string& folder)
{
    const Group& root = converter.getRootGroup();
    // Without a processor there is no target and so no configuration.
    if (root.children().empty()) {
        return;
    }
    const Group& target = *root.children().front();
    const std::string directory = toolPath(root.sourceDir);
    DestinationFolders folders(folder);
    folders.makeDirectory(folder);
    const std::vector<std::string> configurations = configurationNames(target);
    const std::vector<std::string> configurationFolders = distinctFolderNames(configurations);
    for (std::size_t i = 0; i < configurations.size(); ++i) {
        const std::string& configuration = configurations[i];
        if (leavesItsFolder(configuration)) {
            throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(folder, configuration));
        }
        const std::string configurationFolder = joinPath(folder, configurationFolders[i]);
        if (configurationFolders[i] != configuration) {
            converter.getReport().folderRenamed(configuration, configurationFolder);
        }
        makeNameFolders(folders, folder, configurationFolders[i]);
        folders.makeDirectory(configurationFolder);

        ConfigurationBuild build;
        gather(target, configuration, build);
        const std::string path = joinPath(configurationFolder, databaseFileName);
        printLine("Creating Compilation Database - " + path);
        writeDatabase(path, directory, commandWords(converter, target.name, build), build.files);
    }
}

std::vector<std::string> compileDatabasePaths(const Converter& converter, const std::string& folder)
{
    const Group& root = converter.getRootGroup();
    if (root.children().empty()) {
        return {};
    }
    std::vector<std::string> paths;
    for (const std::string& configurationFolder : distinctFolderNames(configurationNames(*root.children().front()))) {
        paths.push_back(joinPath(joinPath(folder, configurationFolder), databaseFileName));
    }
    return paths;
}
