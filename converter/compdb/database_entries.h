#pragma once

#include "compdb/processor_macros.h"
#include "reader/project_paths.h"

#include <optional>
#include <string>
#include <vector>

class FilePreview;
class Group;
class HostFileNames;
struct ConfigurationBuild;

// The entries of the compilation databases: each file a configuration builds,
// with the command line of the family's VisualDSP tool.

// What every command of one project shares (each project of a group has its own).
struct ProjectTools {
    HostFileNames& hostFiles;
    std::optional<ProcessorFamily> family;
    std::string processor;
    // Relative paths start at the folder of the project's file.
    ProjectPaths paths;
    // Host paths.
    std::string projectFolder;
    std::string systemFolder;
};

ProjectTools projectTools(const std::string& installFolder, HostFileNames& hostFiles, const Group& target);

// A path on no drive this machine knows stays as the project names it.
std::string toolPath(HostFileNames& hostFiles, const std::string& windowsPath);

// One project's entries in a database.
struct ProjectEntries {
    const ProjectTools* tools;
    std::string directoryLine;
    std::string compilerArguments;
    std::string assemblerArguments;
    const std::vector<std::string>* files;
};

// The words an entry of the build gives a source before the file itself, the
// stand-in folder left out: the compiler's, or with `assembles` the assembler's.
std::vector<std::string> entryWords(const ProjectTools& tools, const ConfigurationBuild& build, bool assembles);

// The stand-in folder (a host path) is "" when no include of the build needs one.
ProjectEntries projectEntries(const ProjectTools& tools, const ConfigurationBuild& build,
                              const std::string& standInFolder);

// Writes one database, or its preview. Throws IOERROR like the other writers.
void writeDatabase(const std::string& path, const std::vector<ProjectEntries>& projects, FilePreview* preview);
