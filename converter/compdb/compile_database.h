#pragma once

#include <string>
#include <vector>

class Converter;

// Writes, for each configuration name of the read project (or of any project
// of a project group, whose entries it then all holds), the JSON compilation
// database <folder>\<configuration>\compile_commands.json that open analysers
// and editors read: one entry per source file the configuration builds, with
// the VisualDSP compiler's command line. Throws IOERROR like the other writers.
void writeCompileDatabases(const Converter& converter, const std::string& folder);

// The databases that writeCompileDatabases will write, in the order written.
std::vector<std::string> compileDatabasePaths(const Converter& converter, const std::string& folder);
