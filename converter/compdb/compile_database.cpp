#include "compdb/compile_database.h"

#include "base/ascii_case.h"
#include "base/console.h"
#include "base/host_file_names.h"
#include "base/windows_path.h"
#include "compdb/compiler_dialect.h"
#include "compdb/configuration_builds.h"
#include "compdb/include_stand_ins.h"
#include "compdb/json_text.h"
#include "compdb/processor_macros.h"
#include "driver/converter.h"
#include "driver/errors.h"
#include "platform/platform.h"
#include "reader/option_lists.h"
#include "report/conversion_report.h"
#include "writer/destination_folders.h"
#include "writer/distinct_folder_names.h"
#include "writer/name_folders.h"
#include "writer/output_file.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace {

constexpr std::string_view databaseFileName = "compile_commands.json";
constexpr std::string_view standInFolderName = "include-names";
// The first word when the processor belongs to no known family.
constexpr std::string_view unknownCompiler = "cc";
constexpr std::string_view unknownAssembler = "asm";
constexpr std::string_view compilerTool = "Compiler";
constexpr std::string_view assemblerTool = "Assembler";
constexpr std::string_view defineFlag = "-D";
constexpr std::string_view includeFlag = "-I>";
constexpr std::array<std::string_view, 3> assemblyExtensions{"asm", "s", "dsp"};

struct Commands {
    std::vector<std::string> compiler;
    std::vector<std::string> assembler;
};

// What every command of one run shares.
struct Shared {
    const Converter& converter;
    HostFileNames& hostFiles;
    std::optional<ProcessorFamily> family;
    std::string processor;
    // Host paths; the stand-in folder is "" when no include needs one.
    std::string projectFolder;
    std::string systemFolder;
    std::string standInFolder;
};

// A path on no drive this machine knows stays as the project names it.
std::string toolPath(HostFileNames& hostFiles, const std::string& windowsPath)
{
    const std::string host = hostFiles.hostPath(windowsPath);
    return host.empty() ? windowsPath : host;
}

bool isAssembly(const std::string& file)
{
    const std::string suffix = asciiLowerCase(extension(fileName(file)));
    return std::find(assemblyExtensions.begin(), assemblyExtensions.end(), suffix) != assemblyExtensions.end();
}

std::string toolOption(const Group& configuration, std::string_view tool)
{
    const auto found = configuration.toolOptions.find(std::string(tool));
    return found == configuration.toolOptions.end() ? std::string() : found->second;
}

// "NAME" defines it as 1, "NAME=" as nothing: the databases keep them apart.
void addDefinitions(std::vector<std::string>& words, const std::string& option)
{
    if (const std::optional<std::string> list = optionList(option, std::string(defineFlag))) {
        for (const MacroDefinition& macro : cutDefineList(*list)) {
            words.push_back("-D" + macro.name + (macro.valueGiven ? "=" + macro.value : ""));
        }
    }
}

void addMacros(std::vector<std::string>& words, const std::vector<std::pair<std::string, std::string>>& macros)
{
    for (const auto& [name, value] : macros) {
        words.push_back("-D" + name + "=" + value);
    }
}

// The VisualDSP tools search the project folder after their own include
// folder: -I would let a project's own stdio.h shadow the toolchain's.
void addSearchFolders(std::vector<std::string>& words, const Shared& shared, const std::vector<std::string>& folders)
{
    for (const std::string& folder : folders) {
        words.push_back("-I" + toolPath(shared.hostFiles, folder));
    }
    if (!shared.systemFolder.empty()) {
        words.insert(words.end(), {"-isystem", shared.systemFolder});
    }
    words.insert(words.end(), {"-idirafter", shared.projectFolder});
    if (!shared.standInFolder.empty()) {
        words.insert(words.end(), {"-idirafter", shared.standInFolder});
    }
    words.emplace_back("-c");
}

std::vector<std::string> assemblerFolders(const Converter& converter, const std::string& option)
{
    std::vector<std::string> folders;
    if (const std::optional<std::string> list = optionList(option, std::string(includeFlag))) {
        for (std::string folder : cutIncludeList(*list)) {
            converter.resolveProjectPath(folder);
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

Commands commandsOf(const Shared& shared, const ConfigurationBuild& build)
{
    const std::string compilerOption = toolOption(*build.configuration, compilerTool);
    Commands commands;
    std::vector<std::string>& compiler = commands.compiler;
    compiler.emplace_back(shared.family ? familyCompiler(*shared.family) : unknownCompiler);
    addMacros(compiler, builtInMacros(shared.processor));
    if (shared.family) {
        const std::vector<std::string> dialect = dialectDefinitions(*shared.family);
        compiler.insert(compiler.end(), dialect.begin(), dialect.end());
    }
    const std::vector<std::string> optionMacros = optionMacroDefinitions(compilerOption);
    compiler.insert(compiler.end(), optionMacros.begin(), optionMacros.end());
    addDefinitions(compiler, compilerOption);
    addSearchFolders(compiler, shared, build.includeFolders);

    const std::string assemblerOption = toolOption(*build.configuration, assemblerTool);
    std::vector<std::string>& assembler = commands.assembler;
    assembler.emplace_back(shared.family ? familyAssembler(*shared.family) : unknownAssembler);
    // What clang needs to read the file as the assembler does: preprocessed.
    assembler.insert(assembler.end(), {"-x", "assembler-with-cpp"});
    addMacros(assembler, assemblerMacros(shared.processor));
    addDefinitions(assembler, assemblerOption);
    addSearchFolders(assembler, shared, assemblerFolders(shared.converter, assemblerOption));
    return commands;
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

void writeDatabase(const std::string& path, const Shared& shared, const Commands& commands,
                   const std::vector<std::string>& files)
{
    OutputFile out(path);
    out.writeLine("[");
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::vector<std::string>& words = isAssembly(files[i]) ? commands.assembler : commands.compiler;
        writeEntry(out, shared.projectFolder, words, toolPath(shared.hostFiles, files[i]), i + 1 == files.size());
    }
    out.writeLine("]");
    out.close();
}

bool liesBelow(const std::string& path, const std::string& folder)
{
    return path.size() > folder.size() + 1 && path.starts_with(folder) && path[folder.size()] == '\\';
}

// Missing parents are made as mkdir -p makes them. Inside the destination, a
// link on the way is refused as it is for the destination's own folders.
void makeDatabaseFolder(DestinationFolders& folders, const std::string& folder, const std::string& destination)
{
    std::vector<std::string> missing;
    for (std::optional<std::string> level = folder; level && level->find('\\') != std::string::npos;
         level = parentFolder(*level)) {
        const platform::EntryKind kind = platform::entryKind(*level);
        const bool linkInside = kind == platform::EntryKind::link && liesBelow(*level, destination) && *level != folder;
        if (linkInside) {
            throw IOERROR(IOERROR::cannotCreateDirectory, folder);
        }
        if (kind != platform::EntryKind::none && !liesBelow(*level, destination)) {
            break;
        }
        if (kind == platform::EntryKind::none) {
            missing.push_back(*level);
        }
    }
    std::for_each(missing.rbegin(), missing.rend(), [&](const std::string& level) { folders.makeDirectory(level); });
    folders.makeDirectory(folder);
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

// The configurations' folders beside the stand-ins' own, which no
// configuration of that name may share.
std::vector<std::string> databaseFolderNames(const Group& target)
{
    std::vector<std::string> names{std::string(standInFolderName)};
    for (std::string& name : configurationNames(target)) {
        names.push_back(std::move(name));
    }
    std::vector<std::string> folders = distinctFolderNames(names);
    folders.erase(folders.begin());
    return folders;
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
    HostFileNames hostFiles;
    Shared shared{converter, hostFiles, processorFamily(target.name), target.name, toolPath(hostFiles, root.sourceDir),
                  {},        {}};
    const std::string& installFolder = converter.getInstallFolder();
    if (shared.family && !installFolder.empty()) {
        const std::string systemFolder = joinPath(installFolder, familyIncludeFolder(*shared.family));
        if (platform::pathExists(systemFolder)) {
            shared.systemFolder = toolPath(hostFiles, systemFolder);
        }
    }
    DestinationFolders folders(folder);
    makeDatabaseFolder(folders, folder, converter.getDestinationFolder());

    const std::vector<ConfigurationBuild> builds = configurationBuilds(target);
    IncludeStandIns standIns(hostFiles);
    for (const ConfigurationBuild& build : builds) {
        std::vector<std::string> searchFolders;
        for (const std::string& included : build.includeFolders) {
            searchFolders.push_back(toolPath(hostFiles, included));
        }
        searchFolders.push_back(shared.projectFolder);
        for (const std::string& file : build.files) {
            standIns.scan(toolPath(hostFiles, file), searchFolders);
        }
    }
    if (!standIns.empty()) {
        const std::string standInFolder = joinPath(folder, standInFolderName);
        folders.makeDirectory(standInFolder);
        shared.standInFolder = toolPath(hostFiles, standInFolder);
        standIns.write(shared.standInFolder);
    }

    const std::vector<std::string> configurationFolders = databaseFolderNames(target);
    for (std::size_t i = 0; i < builds.size(); ++i) {
        const ConfigurationBuild& build = builds[i];
        if (leavesItsFolder(build.name)) {
            throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(folder, build.name));
        }
        const std::string configurationFolder = joinPath(folder, configurationFolders[i]);
        if (configurationFolders[i] != build.name) {
            converter.getReport().folderRenamed(build.name, configurationFolder);
        }
        makeNameFolders(folders, folder, configurationFolders[i]);
        folders.makeDirectory(configurationFolder);
        const std::string path = joinPath(configurationFolder, databaseFileName);
        printLine("Creating Compilation Database - " + path);
        writeDatabase(path, shared, commandsOf(shared, build), build.files);
    }
}

std::vector<std::string> compileDatabasePaths(const Converter& converter, const std::string& folder)
{
    const Group& root = converter.getRootGroup();
    if (root.children().empty()) {
        return {};
    }
    std::vector<std::string> paths;
    for (const std::string& configurationFolder : databaseFolderNames(*root.children().front())) {
        paths.push_back(joinPath(joinPath(folder, configurationFolder), databaseFileName));
    }
    return paths;
}
