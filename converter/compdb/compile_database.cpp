#include "compdb/compile_database.h"

#include "base/console.h"
#include "base/errors.h"
#include "base/host_file_names.h"
#include "base/output_file.h"
#include "base/windows_path.h"
#include "compdb/configuration_builds.h"
#include "compdb/database_entries.h"
#include "compdb/exported_makefile.h"
#include "compdb/ide_build_check.h"
#include "compdb/include_stand_ins.h"
#include "platform/platform.h"
#include "reader/group.h"
#include "report/conversion_report.h"
#include "layout/destination_folders.h"
#include "layout/distinct_folder_names.h"
#include "layout/name_folders.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::string_view databaseFileName = "compile_commands.json";
constexpr char hostSeparator = '/';
constexpr std::string_view standInFolderName = "include-names";
constexpr std::string_view makefileExtension = ".mak";
constexpr std::string_view notBuiltFile =
    "no compilation database entry: the compiler and the assembler build no file of this extension";

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

// The root and the target of each project converted: a project without a
// processor has no target, and so no configuration.
std::vector<std::pair<const Group*, const Group*>> projectTargets(const std::vector<const Group*>& projects)
{
    std::vector<std::pair<const Group*, const Group*>> targets;
    for (const Group* project : projects) {
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
    ProjectTools tools;
    std::vector<ConfigurationBuild> builds;
    // By build.
    std::vector<BuildStandIns> standIns;
};

ProjectBuilds projectBuilds(const std::string& installFolder, HostFileNames& hostFiles, const Group& project,
                            const Group& target)
{
    return {project.name, projectTools(installFolder, hostFiles, target), configurationBuilds(target), {}};
}

// The makefile the IDE exported beside the project, when there is one: one
// line per configuration it holds, the differences in the report.
void checkAgainstExportedMakefile(const ProjectBuilds& project, const Group& projectGroup,
                                  const std::string& projectFolder, HostFileNames& hostFiles, ConversionReport& report)
{
    const std::string path = joinPath(projectFolder, projectGroup.projectFileStem + std::string(makefileExtension));
    const std::string& ideName = projectGroup.ideProjectName.empty() ? project.name : projectGroup.ideProjectName;
    const MakefileReading reading = readExportedMakefile(toolPath(hostFiles, path), ideName);
    if (!reading.makefile) {
        if (!reading.problem.empty()) {
            printLine("Not checked against the IDE's build: " + path + ": " + reading.problem);
        }
        return;
    }
    for (const IdeCheck& check :
         checkAgainstIdeBuild(*reading.makefile, project.tools, project.builds, projectFolder, report)) {
        printLine("Checked against the IDE's build: " + path + ", configuration " + check.configuration + ": " +
                  (check.configurationKnown ? std::to_string(check.agree) + " files agree, " +
                                                  std::to_string(check.differ) + " differ"
                                            : std::string("the project has no such configuration; the makefile is "
                                                          "older than the project")));
    }
}

std::map<std::string, std::string> scanIncludes(const ProjectBuilds& project, const ConfigurationBuild& build,
                                                ConversionReport& report)
{
    HostFileNames& hostFiles = project.tools.hostFiles;
    std::vector<std::string> searchFolders;
    for (const std::string& included : build.includeFolders) {
        searchFolders.push_back(toolPath(hostFiles, included));
    }
    searchFolders.push_back(project.tools.projectFolder);
    IncludeStandIns standIns(hostFiles, report, build.name);
    // Every configuration lists the files again: one not here is known
    // missing from the first look, at no cost after.
    for (const std::string& file : build.files) {
        if (const std::optional<std::string> host = hostFiles.existing(file)) {
            standIns.scan(*host, searchFolders);
        }
    }
    return standIns.standIns();
}

// A folder named by the project, which may hold separators.
void makeNamedFolder(DestinationFolders& folders, const std::string& base, const std::string& name)
{
    makeNameFolders(folders, base, name);
    folders.makeDirectory(joinPath(base, name));
}

} // namespace

struct CompileDatabases::Plan {
    DatabaseSources sources;
    std::string folder;
    HostFileNames hostFiles;
    std::vector<ProjectBuilds> projects;
    std::vector<std::string> configurations;
    // By configuration: its folder's name, and its builds by project and build.
    std::vector<std::string> configurationFolders;
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> builds;
    // Of a group: each project's folder below include-names.
    std::vector<std::string> projectFolders;
    // The configuration the IDE builds, whose database is also written right
    // in the folder, where clang tools look without being told: the first
    // project's; none when it names none or builds nothing.
    std::optional<std::size_t> active;
};

CompileDatabases::CompileDatabases(DatabaseSources sources, std::string folder)
    : plan(new Plan{std::move(sources), std::move(folder), {}, {}, {}, {}, {}, {}, {}})
{
    const DatabaseSources& run = plan->sources;
    const auto targets = projectTargets(run.projects);
    plan->configurations = configurationNames(targets);
    for (const std::string& configuration : plan->configurations) {
        refuseNameLeavingItsFolder(plan->folder, configuration);
    }
    plan->configurationFolders = distinctFolderNames(plan->configurations);
    plan->builds.resize(plan->configurations.size());
    std::unordered_map<std::string, std::size_t> configurationIndex;
    for (std::size_t i = 0; i < plan->configurations.size(); ++i) {
        configurationIndex.emplace(plan->configurations[i], i);
    }
    if (!targets.empty()) {
        if (const auto active = configurationIndex.find(targets.front().second->activeConfiguration);
            active != configurationIndex.end()) {
            plan->active = active->second;
        }
    }
    std::vector<std::string> projectNames;
    for (const auto& [project, target] : targets) {
        plan->projects.push_back(projectBuilds(run.installFolder, plan->hostFiles, *project, *target));
        projectNames.push_back(project->name);
    }
    if (run.sourceIsGroup) {
        plan->projectFolders = distinctFolderNames(projectNames);
    }
    ConversionReport& report = run.report;
    for (std::size_t p = 0; p < plan->projects.size(); ++p) {
        ProjectBuilds& project = plan->projects[p];
        report.setProject(run.sourceIsGroup ? project.name : std::string());
        checkAgainstExportedMakefile(project, *targets[p].first, targets[p].second->sourceDir, plan->hostFiles,
                                     report);
        for (std::size_t b = 0; b < project.builds.size(); ++b) {
            for (const std::string& file : project.builds[b].notBuilt) {
                report.settingNotCarried(project.builds[b].name, file, notBuiltFile);
            }
            const std::size_t configuration = configurationIndex.at(project.builds[b].name);
            plan->builds[configuration].emplace_back(p, b);
            std::string standInFolder = joinPath(joinPath(plan->folder, plan->configurationFolders[configuration]),
                                                 standInFolderName);
            if (run.sourceIsGroup) {
                refuseNameLeavingItsFolder(standInFolder, plan->projectFolders[p]);
                standInFolder = joinPath(standInFolder, plan->projectFolders[p]);
            }
            std::string hostFolder = toolPath(plan->hostFiles, standInFolder);
            project.standIns.push_back(
                {std::move(standInFolder), std::move(hostFolder), scanIncludes(project, project.builds[b], report)});
        }
    }
    report.setProject("");
}

CompileDatabases::~CompileDatabases() = default;

std::vector<std::string> CompileDatabases::databasePaths() const
{
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < plan->configurationFolders.size(); ++i) {
        paths.push_back(joinPath(joinPath(plan->folder, plan->configurationFolders[i]), databaseFileName));
        if (plan->active == i) {
            paths.push_back(joinPath(plan->folder, databaseFileName));
        }
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

void CompileDatabases::write(DestinationFolders& folders) const
{
    if (plan->projects.empty()) {
        return;
    }
    const std::string& folder = plan->folder;
    makeDatabaseFolder(folders, folder, plan->sources.destinationFolder);
    for (std::size_t i = 0; i < plan->configurations.size(); ++i) {
        const std::string& configuration = plan->configurations[i];
        const std::string configurationFolder = joinPath(folder, plan->configurationFolders[i]);
        if (plan->configurationFolders[i] != configuration) {
            plan->sources.report.folderRenamed(configuration, configurationFolder);
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
                if (plan->sources.sourceIsGroup) {
                    makeNamedFolder(folders, standInFolder, plan->projectFolders[p]);
                }
                writeStandIns(standIns.standIns, standIns.hostFolder, folders.preview());
            }
            entries.push_back(projectEntries(project.tools, project.builds[b],
                                             standIns.standIns.empty() ? std::string() : standIns.hostFolder));
        }
        for (const std::string& path : {joinPath(configurationFolder, databaseFileName),
                                        plan->active == i ? joinPath(folder, databaseFileName) : std::string()}) {
            if (!path.empty()) {
                printLine("Creating Compilation Database - " + path);
                writeDatabase(path, entries, folders.preview());
            }
        }
    }
}
