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
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::string_view databaseFileName = "compile_commands.json";
constexpr char hostSeparator = '/';
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

// What every command of one project shares (each project of a group has its own).
struct Shared {
    const Converter& converter;
    HostFileNames& hostFiles;
    std::optional<ProcessorFamily> family;
    std::string processor;
    // The folder of the project's file, where its relative paths start.
    std::optional<std::string> sourceFolder;
    // Host paths.
    std::string projectFolder;
    std::string systemFolder;
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
void addSearchFolders(std::vector<std::string>& words, const Shared& shared, const std::vector<std::string>& folders,
                      const std::string& standInFolder)
{
    for (const std::string& folder : folders) {
        words.push_back("-I" + toolPath(shared.hostFiles, folder));
    }
    if (!shared.systemFolder.empty()) {
        words.insert(words.end(), {"-isystem", shared.systemFolder});
    }
    words.insert(words.end(), {"-idirafter", shared.projectFolder});
    if (!standInFolder.empty()) {
        words.insert(words.end(), {"-idirafter", standInFolder});
    }
    words.emplace_back("-c");
}

std::vector<std::string> assemblerFolders(const Shared& shared, const std::string& option)
{
    std::vector<std::string> folders;
    if (const std::optional<std::string> list = optionList(option, std::string(includeFlag))) {
        for (std::string folder : cutIncludeList(*list)) {
            shared.converter.resolveProjectPath(folder, shared.sourceFolder);
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

// The stand-in folder is "" when no include of the build needs one.
Commands commandsOf(const Shared& shared, const ConfigurationBuild& build, const std::string& standInFolder)
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
    addSearchFolders(compiler, shared, build.includeFolders, standInFolder);

    const std::string assemblerOption = toolOption(*build.configuration, assemblerTool);
    std::vector<std::string>& assembler = commands.assembler;
    assembler.emplace_back(shared.family ? familyAssembler(*shared.family) : unknownAssembler);
    // What clang needs to read the file as the assembler does: preprocessed.
    assembler.insert(assembler.end(), {"-x", "assembler-with-cpp"});
    addMacros(assembler, assemblerMacros(shared.processor));
    addDefinitions(assembler, assemblerOption);
    addSearchFolders(assembler, shared, assemblerFolders(shared, assemblerOption), standInFolder);
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

ProjectEntries projectEntries(const Shared& shared, const ConfigurationBuild& build, const std::string& standInFolder)
{
    const Commands commands = commandsOf(shared, build, standInFolder);
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
                       isAssembly(file) ? project.assemblerArguments : project.compilerArguments,
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

// The root and the target of each project converted: a project without a
// processor has no target, and so no configuration.
std::vector<std::pair<const Group*, const Group*>> projectTargets(const Converter& converter)
{
    std::vector<std::pair<const Group*, const Group*>> targets;
    for (const Group* project : converter.projectRoots()) {
        if (!project->children().empty()) {
            targets.emplace_back(project, project->children().front().get());
        }
    }
    return targets;
}

// The names of the targets' configurations, each once, in project order: one
// database per name serves every project of a group that has it.
std::vector<std::string> configurationNames(const std::vector<std::pair<const Group*, const Group*>>& targets)
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const auto& [project, target] : targets) {
        for (const std::unique_ptr<Group>& child : target->children()) {
            if (child->isConfiguration && seen.insert(child->name).second) {
                names.push_back(child->name);
            }
        }
    }
    return names;
}

// The stand-ins of one configuration of one project: its own, so that no
// entry reaches a header that another project or configuration includes.
struct BuildStandIns {
    // Windows and host paths.
    std::string folder;
    std::string hostFolder;
    std::map<std::string, std::string> standIns;
};

// What one project gives the databases.
struct ProjectBuilds {
    std::string name;
    Shared shared;
    std::vector<ConfigurationBuild> builds;
    // By build.
    std::vector<BuildStandIns> standIns;
};

ProjectBuilds projectBuilds(const Converter& converter, HostFileNames& hostFiles, const Group& project,
                            const Group& target)
{
    const std::optional<std::string> sourceFolder = target.sourceDir.empty()
                                                        ? std::nullopt
                                                        : std::optional<std::string>(target.sourceDir);
    ProjectBuilds builds{project.name,
                         {converter,
                          hostFiles,
                          processorFamily(target.name),
                          target.name,
                          sourceFolder,
                          toolPath(hostFiles, target.sourceDir),
                          {}},
                         configurationBuilds(target),
                         {}};
    Shared& shared = builds.shared;
    const std::string& installFolder = converter.getInstallFolder();
    if (shared.family && !installFolder.empty()) {
        const std::string systemFolder = joinPath(installFolder, familyIncludeFolder(*shared.family));
        if (platform::pathExists(systemFolder)) {
            shared.systemFolder = toolPath(hostFiles, systemFolder);
        }
    }
    return builds;
}

std::map<std::string, std::string> scanIncludes(const ProjectBuilds& project, const ConfigurationBuild& build,
                                                ConversionReport& report)
{
    HostFileNames& hostFiles = project.shared.hostFiles;
    std::vector<std::string> searchFolders;
    for (const std::string& included : build.includeFolders) {
        searchFolders.push_back(toolPath(hostFiles, included));
    }
    searchFolders.push_back(project.shared.projectFolder);
    IncludeStandIns standIns(hostFiles, report, build.name);
    for (const std::string& file : build.files) {
        standIns.scan(toolPath(hostFiles, file), searchFolders);
    }
    return standIns.standIns();
}

// A folder named by the project, which may hold separators.
void makeNamedFolder(DestinationFolders& folders, const std::string& base, const std::string& name)
{
    if (leavesItsFolder(name)) {
        throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(base, name));
    }
    makeNameFolders(folders, base, name);
    folders.makeDirectory(joinPath(base, name));
}

} // namespace

struct CompileDatabases::Plan {
    const Converter& converter;
    std::string folder;
    HostFileNames hostFiles;
    std::vector<ProjectBuilds> projects;
    std::vector<std::string> configurations;
    // By configuration: its folder's name, and its builds by project and build.
    std::vector<std::string> configurationFolders;
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> builds;
    // Of a group: each project's folder below include-names.
    std::vector<std::string> projectFolders;
};

CompileDatabases::CompileDatabases(const Converter& converter, std::string folder)
    : plan(new Plan{converter, std::move(folder), {}, {}, {}, {}, {}, {}})
{
    const auto targets = projectTargets(converter);
    plan->configurations = configurationNames(targets);
    plan->configurationFolders = distinctFolderNames(plan->configurations);
    plan->builds.resize(plan->configurations.size());
    std::unordered_map<std::string, std::size_t> configurationIndex;
    for (std::size_t i = 0; i < plan->configurations.size(); ++i) {
        configurationIndex.emplace(plan->configurations[i], i);
    }
    std::vector<std::string> projectNames;
    for (const auto& [project, target] : targets) {
        plan->projects.push_back(projectBuilds(converter, plan->hostFiles, *project, *target));
        projectNames.push_back(project->name);
    }
    if (converter.sourceIsGroup()) {
        plan->projectFolders = distinctFolderNames(projectNames);
    }
    ConversionReport& report = converter.getReport();
    for (std::size_t p = 0; p < plan->projects.size(); ++p) {
        ProjectBuilds& project = plan->projects[p];
        report.setProject(converter.sourceIsGroup() ? project.name : std::string());
        for (std::size_t b = 0; b < project.builds.size(); ++b) {
            const std::size_t configuration = configurationIndex.at(project.builds[b].name);
            plan->builds[configuration].emplace_back(p, b);
            std::string standInFolder = joinPath(joinPath(plan->folder, plan->configurationFolders[configuration]),
                                                 standInFolderName);
            if (converter.sourceIsGroup()) {
                standInFolder = joinPath(standInFolder, plan->projectFolders[p]);
            }
            std::string hostFolder = toolPath(plan->hostFiles, standInFolder);
            project.standIns.push_back({std::move(standInFolder), std::move(hostFolder),
                                        scanIncludes(project, project.builds[b], report)});
        }
    }
    report.setProject("");
}

CompileDatabases::~CompileDatabases() = default;

std::vector<std::string> CompileDatabases::databasePaths() const
{
    std::vector<std::string> paths;
    for (const std::string& configurationFolder : plan->configurationFolders) {
        paths.push_back(joinPath(joinPath(plan->folder, configurationFolder), databaseFileName));
    }
    return paths;
}

std::vector<StandInFile> CompileDatabases::standInFiles() const
{
    std::vector<StandInFile> files;
    for (const ProjectBuilds& project : plan->projects) {
        for (const BuildStandIns& build : project.standIns) {
            for (const auto& [name, text] : build.standIns) {
                files.push_back({build.folder, name, build.hostFolder + hostSeparator + name});
            }
        }
    }
    return files;
}

void CompileDatabases::write() const
{
    if (plan->projects.empty()) {
        return;
    }
    const std::string& folder = plan->folder;
    DestinationFolders folders(folder);
    makeDatabaseFolder(folders, folder, plan->converter.getDestinationFolder());
    for (std::size_t i = 0; i < plan->configurations.size(); ++i) {
        const std::string& configuration = plan->configurations[i];
        if (leavesItsFolder(configuration)) {
            throw IOERROR(IOERROR::cannotCreateDirectory, joinPath(folder, configuration));
        }
        const std::string configurationFolder = joinPath(folder, plan->configurationFolders[i]);
        if (plan->configurationFolders[i] != configuration) {
            plan->converter.getReport().folderRenamed(configuration, configurationFolder);
        }
        makeNameFolders(folders, folder, plan->configurationFolders[i]);
        folders.makeDirectory(configurationFolder);
        std::vector<ProjectEntries> entries;
        for (const auto& [p, b] : plan->builds[i]) {
            const ProjectBuilds& project = plan->projects[p];
            const BuildStandIns& standIns = project.standIns[b];
            if (!standIns.standIns.empty()) {
                const std::string standInFolder = joinPath(configurationFolder, standInFolderName);
                folders.makeDirectory(standInFolder);
                if (plan->converter.sourceIsGroup()) {
                    makeNamedFolder(folders, standInFolder, plan->projectFolders[p]);
                }
                writeStandIns(standIns.standIns, standIns.hostFolder);
            }
            entries.push_back(projectEntries(project.shared, project.builds[b],
                                             standIns.standIns.empty() ? std::string() : standIns.hostFolder));
        }
        const std::string path = joinPath(configurationFolder, databaseFileName);
        printLine("Creating Compilation Database - " + path);
        writeDatabase(path, entries);
    }
}
