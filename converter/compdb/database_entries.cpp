#include "compdb/database_entries.h"

#include "base/ascii_case.h"
#include "base/output_file.h"
#include "base/host_file_names.h"
#include "base/windows_path.h"
#include "compdb/compiler_dialect.h"
#include "compdb/configuration_builds.h"
#include "compdb/json_text.h"
#include "platform/platform.h"
#include "reader/file_roles.h"
#include "reader/group.h"
#include "reader/option_lists.h"
#include "reader/option_words.h"

#include <algorithm>
#include <array>

namespace {

// The first word when the processor belongs to no known family.
constexpr std::string_view unknownCompiler = "cc";
constexpr std::string_view unknownAssembler = "asm";

struct Commands {
    std::vector<std::string> compiler;
    std::vector<std::string> assembler;
};

std::string toolOption(const Group& configuration, std::string_view tool)
{
    const auto found = configuration.toolOptions.find(std::string(tool));
    return found == configuration.toolOptions.end() ? std::string() : found->second;
}

// "NAME" defines it as 1, "NAME=" as nothing: the databases keep them apart.
void addDefinitions(std::vector<std::string>& words, const std::string& option)
{
    for (const MacroDefinition& macro : optionMacros(option)) {
        words.push_back("-D" + macro.name + (macro.valueGiven ? "=" + macro.value : ""));
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
void addSearchFolders(std::vector<std::string>& words, const ProjectTools& tools,
                      const std::vector<std::string>& folders, const std::string& standInFolder)
{
    for (const std::string& folder : folders) {
        words.push_back("-I" + toolPath(tools.hostFiles, folder));
    }
    if (!tools.systemFolder.empty()) {
        words.insert(words.end(), {"-isystem", tools.systemFolder});
    }
    words.insert(words.end(), {"-idirafter", tools.projectFolder});
    if (!standInFolder.empty()) {
        words.insert(words.end(), {"-idirafter", standInFolder});
    }
    words.emplace_back("-c");
}

std::vector<std::string> assemblerFolders(const ProjectTools& tools, const std::string& option)
{
    std::vector<std::string> folders;
    if (const std::optional<std::string> list = optionList(option, std::string(includeFlag))) {
        for (std::string folder : cutIncludeList(*list)) {
            tools.paths.resolveProjectPath(folder);
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

// The stand-in folder is "" when no include of the build needs one.
Commands commandsOf(const ProjectTools& tools, const ConfigurationBuild& build, const std::string& standInFolder)
{
    const std::string compilerOption = toolOption(*build.configuration, compilerToolType);
    Commands commands;
    std::vector<std::string>& compiler = commands.compiler;
    compiler.emplace_back(tools.family ? familyCompiler(*tools.family) : unknownCompiler);
    addMacros(compiler, builtInMacros(tools.processor));
    if (tools.family) {
        const std::vector<std::string> dialect = dialectDefinitions(*tools.family);
        compiler.insert(compiler.end(), dialect.begin(), dialect.end());
    }
    const std::vector<std::string> optionMacros = optionMacroDefinitions(compilerOption);
    compiler.insert(compiler.end(), optionMacros.begin(), optionMacros.end());
    addDefinitions(compiler, compilerOption);
    addSearchFolders(compiler, tools, build.includeFolders, standInFolder);

    const std::string assemblerOption = toolOption(*build.configuration, assemblerToolType);
    std::vector<std::string>& assembler = commands.assembler;
    assembler.emplace_back(tools.family ? familyAssembler(*tools.family) : unknownAssembler);
    // What clang needs to read the file as the assembler does: preprocessed.
    assembler.insert(assembler.end(), {"-x", "assembler-with-cpp"});
    addMacros(assembler, assemblerMacros(tools.processor));
    addDefinitions(assembler, assemblerOption);
    addSearchFolders(assembler, tools, assemblerFolders(tools, assemblerOption), standInFolder);
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

} // namespace

// A path on no drive this machine knows stays as the project names it.
std::string toolPath(HostFileNames& hostFiles, const std::string& windowsPath)
{
    const std::string host = hostFiles.hostPath(windowsPath);
    return host.empty() ? windowsPath : host;
}

ProjectTools projectTools(const std::string& installFolder, HostFileNames& hostFiles, const Group& target)
{
    const std::optional<std::string> sourceFolder = target.sourceDir.empty()
                                                        ? std::nullopt
                                                        : std::optional<std::string>(target.sourceDir);
    ProjectTools tools{hostFiles,
                       processorFamily(target.name),
                       target.name,
                       ProjectPaths(installFolder, sourceFolder),
                       toolPath(hostFiles, target.sourceDir),
                       {}};
    if (tools.family && !installFolder.empty()) {
        const std::string systemFolder = joinPath(installFolder, familyIncludeFolder(*tools.family));
        if (platform::pathExists(systemFolder)) {
            tools.systemFolder = toolPath(hostFiles, systemFolder);
        }
    }
    return tools;
}

std::vector<std::string> entryWords(const ProjectTools& tools, const ConfigurationBuild& build, bool assembles)
{
    Commands commands = commandsOf(tools, build, std::string());
    return std::move(assembles ? commands.assembler : commands.compiler);
}

ProjectEntries projectEntries(const ProjectTools& tools, const ConfigurationBuild& build,
                              const std::string& standInFolder)
{
    const Commands commands = commandsOf(tools, build, standInFolder);
    return {&tools, "    \"directory\": " + jsonString(tools.projectFolder) + ",", argumentLines(commands.compiler),
            argumentLines(commands.assembler), &build.files};
}

void writeDatabase(const std::string& path, const std::vector<ProjectEntries>& projects, FilePreview* preview)
{
    OutputFile out(path, preview);
    out.writeLine("[");
    std::size_t entriesLeft = 0;
    for (const ProjectEntries& project : projects) {
        entriesLeft += project.files->size();
    }
    for (const ProjectEntries& project : projects) {
        for (const std::string& file : *project.files) {
            writeEntry(out, project.directoryLine,
                       isAssemblySource(file) ? project.assemblerArguments : project.compilerArguments,
                       toolPath(project.tools->hostFiles, file), --entriesLeft == 0);
        }
    }
    out.writeLine("]");
    out.close();
}
