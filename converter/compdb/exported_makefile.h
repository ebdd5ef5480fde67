#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The makefile the IDE exports beside a project (<name>.mak): for the
// configuration that was active at export, each compile and assemble command
// as the IDE ran it.

// Far beyond the makefile of any real project.
inline constexpr std::size_t maxMakefileBytes = std::size_t{16} << 20;

// One command that builds one source file.
struct IdeCommand {
    // As the makefile names it (".\src\main.c").
    std::string file;
    bool assembles = false;
    // "NAME=VALUE", a bare -DNAME as NAME=1, in the command's order.
    std::vector<std::string> macros;
    // As written, in the command's order.
    std::vector<std::string> includeFolders;
    std::string processor;
};

struct IdeBuild {
    std::string configuration;
    std::vector<IdeCommand> commands;
};

struct ExportedMakefile {
    std::vector<IdeBuild> builds;
};

struct MakefileReading {
    // Nothing when there is no makefile, or `problem` says why it is not read.
    std::optional<ExportedMakefile> makefile;
    std::string problem;
};

// Reads the makefile at the host path, exported for the IDE project of the
// name: its first line names the IDE as its maker, and its configuration
// blocks are the project's.
MakefileReading readExportedMakefile(const std::string& hostPath, const std::string& projectName);

// The same from the makefile's text.
MakefileReading parseExportedMakefile(const std::string& text, const std::string& projectName);
