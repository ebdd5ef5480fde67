#pragma once

#include <string>
#include <vector>

class ConversionReport;
struct ConfigurationBuild;
struct ExportedMakefile;
struct ProjectTools;

// The commands of the makefile the IDE exported, file by file, against the
// database entries this run gives the same files: every macro the IDE's tool
// had, with its value, the include folders it had, in their order, and the
// processor. The databases' own additions (built-in macros, the project's
// header folders beside the tool's folders) are no difference.

struct IdeCheck {
    std::string configuration;
    // False when the project has no configuration of the makefile's name.
    bool configurationKnown = true;
    std::size_t agree = 0;
    std::size_t differ = 0;
};

// Tells the report each difference (as the makefile names the file); one
// check per configuration of the makefile. `projectFolder` is the Windows
// folder of the project file, against which the makefile's paths resolve.
std::vector<IdeCheck> checkAgainstIdeBuild(const ExportedMakefile& makefile, const ProjectTools& tools,
                                           const std::vector<ConfigurationBuild>& builds,
                                           const std::string& projectFolder, ConversionReport& report);
