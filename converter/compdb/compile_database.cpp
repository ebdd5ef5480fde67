#include "compdb/compile_database.h"

#include "base/console.h"
#include "base/errors.h"
#include "base/host_file_names.h"
#include "base/output_file.h"
#include "base/windows_path.h"
#include "compdb/compiler_dialect.h"
#include "compdb/configuration_builds.h"
#include "compdb/include_stand_ins.h"
#include "compdb/json_text.h"
#include "compdb/processor_macros.h"
#include "driver/converter.h"
#include "platform/platform.h"
#include "reader/file_roles.h"
#include "reader/option_lists.h"
#include "reader/option_words.h"
#include "reader/project_paths.h"
#include "report/conversion_report.h"
#include "writer/destination_folders.h"
#include "writer/distinct_folder_names.h"
#include "writer/name_folders.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::string_view databaseFileName = "compile_commands.json";
constexpr std::string_view standInFolderName = "include-names";
// The first word when the processor belongs to no known family.
constexpr std::string_view unknownCompiler = "cc";
constexpr std::string_view unknownAssembler = "asm";

struct Commands {
    std::vector<std::string> compiler;
    std::vector<std::string> assembler;
};

// What every command of one project shares (each project of a group has its own).
struct Shared {
    HostFileNames& hostFiles;
    std::optional<ProcessorFamily> family;
    std::string processor;
    // Relative paths start at the folder of the project's file.
    ProjectPaths paths;
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

std::vector<std::string> assemblerFolders(const Shared& shared, const std::string& option)
{
    std::vector<std::string> folders;
    if (const std::optional<std::string> list = optionList(option, std::string(includeFlag))) {
        for (std::string folder : cutIncludeList(*list)) {
            shared.paths.resolveProjectPath(folder);
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

Commands commandsOf(const Shared& shared, const ConfigurationBuild& build)
{
    const std::string compilerOption = toolOption(*build.configuration, compilerToolType);
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

    const std::string assemblerOption = toolOption(*build.configuration, assemblerToolType);
    std::vector<std::string>& assembler = commands.assembler;
    assembler.emplace_back(shared.family ? familyAssembler(*shared.family) : unknownAssembler);
    // What clang needs to read the file as the assembler does: preprocessed.
    assembler.insert(assembler.end(), {"-x", "assembler-with-cpp"});
    addMacros(assembler, assemblerMacros(shared.processor));
    addDefinitions(assembler, assemblerOption);
    addSearchFolders(assembler, shared, assemblerFolders(shared, assemblerOption));
    return commands;
}

// The argument lines before the file's own, each ending in CR LF: every entry
// of a project repeats them, so they are encoded once.
std::string argumentLines(const std::vector<std::string>& words)
{
    std::string lines;
    for (const std::string& word : words) {
        lines += "      ";
        lines += jsonString(word);
        lines += ",\r\n";
    }
    return lines;
}

// One project's entries in a database.
struct ProjectEntries {
    const Shared* shared;
    std::string directoryLine;
    std::string compilerArguments;
    std::string assemblerArguments;
    const std::vector<std::string>* files;
};

ProjectEntries projectEntries(const Shared& shared, const ConfigurationBuild& build)
{
    const Commands commands = commandsOf(shared, build);
    return {&shared, "    \"directory\": " + jsonString(shared.projectFolder) + ",", argumentLines(commands.compiler),
            argumentLines(commands.assembler), &build.files};
}

void writeEntry(OutputFile& out, const std::string& directoryLine, const std::string& arguments,
                const std::string& file, bool last)
{
    out.writeLine("  {");
    out.writeLine(directoryLine);
    out.writeLine("    \"file\": " + jsonString(file) + ",");
    out.writeLine("    \"arguments\": [");
    out.writeLines(arguments);
    out.writeLine("      " + jsonString(file));
    out.writeLine("    ]");
    out.writeLine(last ? "  }" : "  },");
}

void writeDatabase(const std::string& path, const std::vector<ProjectEntries>& projects)
{
    OutputFile out(path);
    out.writeLine("[");
    std::size_t entriesLeft = 0;
    for (const ProjectEntries& project : projects) {
        entriesLeft += project.files->size();
    }
    for (const ProjectEntries& project : projects) {
        for (const std::string& file : *project.files) {
            writeEntry(out, project.directoryLine,
                       isAssemblySource(file) ? project.assemblerArguments : project.compilerArguments,
                       toolPath(project.shared->hostFiles, file), --entriesLeft == 0);
        }
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
    for (std::optional<std::string_view> up = folder; up && up->find('\\') != std::string_view::npos;
         up = parentFolder(*up)) {
        const std::string level(*up);
        const platform::EntryKind kind = platform::entryKind(level);
        const bool linkInside = kind == platform::EntryKind::link && liesBelow(level, destination) && level != folder;
        if (linkInside) {
            throw IOERROR(IOERROR::cannotCreateDirectory, folder);
        }
        if (kind != platform::EntryKind::none && !liesBelow(level, destination)) {
            break;
        }
        if (kind == platform::EntryKind::none) {
            missing.push_back(level);
        }
    }
    std::for_each(missing.rbegin(), missing.rend(), [&](const std::string& level) { folders.makeDirectory(level); });
    folders.makeDirectory(folder);
}

// The targets of the projects converted: a project without a processor has
// none, and so no configuration.
std::vector<const Group*> projectTargets(const Converter& converter)
{
    std::vector<const Group*> targets;
    for (const Group* project : converter.projectRoots()) {
        if (!project->children().empty()) {
            targets.push_back(project->children().front().get());
        }
    }
    return targets;
}

// The names of the targets' configurations, each once, in project order: one
// database per name serves every project of a group that has it.
std::vector<std::string> configurationNames(const std::vector<const Group*>& targets)
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Group* target : targets) {
        for (const std::unique_ptr<Group>& child : target->children()) {
            if (child->isConfiguration && seen.insert(child->name).second) {
                names.push_back(child->name);
            }
        }
    }
    return names;
}

// The configurations' folders beside the stand-ins' own, which no
// configuration of that name may share.
std::vector<std::string> databaseFolderNames(const std::vector<const Group*>& targets)
{
    std::vector<std::string> names{std::string(standInFolderName)};
    for (std::string& name : configurationNames(targets)) {
        names.push_back(std::move(name));
    }
    std::vector<std::string> folders = distinctFolderNames(names);
    folders.erase(folders.begin());
    return folders;
}

// What one project gives the databases.
struct ProjectBuilds {
    Shared shared;
    std::vector<ConfigurationBuild> builds;
};

ProjectBuilds projectBuilds(const Converter& converter, HostFileNames& hostFiles, const Group& target)
{
    const std::optional<std::string> sourceFolder = target.sourceDir.empty()
                                                        ? std::nullopt
                                                        : std::optional<std::string>(target.sourceDir);
    ProjectBuilds project{{hostFiles,
                           processorFamily(target.name),
                           target.name,
                           ProjectPaths(converter.getInstallFolder(), sourceFolder),
                           toolPath(hostFiles, target.sourceDir),
                           {},
                           {}},
                          configurationBuilds(target)};
    Shared& shared = project.shared;
    const std::string& installFolder = converter.getInstallFolder();
    if (shared.family && !installFolder.empty()) {
        const std::string systemFolder = joinPath(installFolder, familyIncludeFolder(*shared.family));
        if (platform::pathExists(systemFolder)) {
            shared.systemFolder = toolPath(hostFiles, systemFolder);
        }
    }
    return project;
}

// One folder of stand-ins serves every project's includes.
void writeStandIns(std::vector<ProjectBuilds>& projects, HostFileNames& hostFiles, DestinationFolders& folders,
                   const std::string& folder)
{
    IncludeStandIns standIns(hostFiles);
    for (const ProjectBuilds& project : projects) {
        for (const ConfigurationBuild& build : project.builds) {
            std::vector<std::string> searchFolders;
            for (const std::string& included : build.includeFolders) {
                searchFolders.push_back(toolPath(hostFiles, included));
            }
            searchFolders.push_back(project.shared.projectFolder);
            for (const std::string& file : build.files) {
                standIns.scan(toolPath(hostFiles, file), searchFolders);
            }
        }
    }
    if (standIns.empty()) {
        return;
    }
    const std::string standInFolder = joinPath(folder, standInFolderName);
    folders.makeDirectory(standInFolder);
    for (ProjectBuilds& project : projects) {
        project.shared.standInFolder = toolPath(hostFiles, standInFolder);
    }
    standIns.write(toolPath(hostFiles, standInFolder));
}

} // namespace

void writeCompileDatabases(const Converter& converter, const std::string& folder)
{
    const std::vector<const Group*> targets = projectTargets(converter);
    if (targets.empty()) {
        return;
    }
    HostFileNames hostFiles;
    std::vector<ProjectBuilds> projects;
    // Each configuration name's builds, by project, in project order.
    std::unordered_map<std::string, std::vector<std::pair<std::size_t, std::size_t>>> buildsByName;
    for (const Group* target : targets) {
        projects.push_back(projectBuilds(converter, hostFiles, *target));
        for (std::size_t build = 0; build < projects.back().builds.size(); ++build) {
            buildsByName[projects.back().builds[build].name].emplace_back(projects.size() - 1, build);
        }
    }
    DestinationFolders folders(folder);
    makeDatabaseFolder(folders, folder, converter.getDestinationFolder());
    writeStandIns(projects, hostFiles, folders, folder);

    const std::vector<std::string> configurations = configurationNames(targets);
    const std::vector<std::string> configurationFolders = databaseFolderNames(targets);
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
        std::vector<ProjectEntries> entries;
        for (const auto& [project, build] : buildsByName[configuration]) {
            const ProjectBuilds& builds = projects[project];
            entries.push_back(projectEntries(builds.shared, builds.builds[build]));
        }
        const std::string path = joinPath(configurationFolder, databaseFileName);
        printLine("Creating Compilation Database - " + path);
        writeDatabase(path, entries);
    }
}

std::vector<std::string> compileDatabasePaths(const Converter& converter, const std::string& folder)
{
    std::vector<std::string> paths;
    for (const std::string& configurationFolder : databaseFolderNames(projectTargets(converter))) {
        paths.push_back(joinPath(joinPath(folder, configurationFolder), databaseFileName));
    }
    return paths;
}
