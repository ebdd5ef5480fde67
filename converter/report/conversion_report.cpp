#include "report/conversion_report.h"

#include "base/errors.h"
#include "base/install_variables.h"
#include "base/windows_path.h"
#include "report/report_file.h"

#include <array>

namespace {

constexpr std::string_view takenKind = "taken";
constexpr std::string_view notTakenKind = "not taken";
constexpr std::string_view notCarriedKind = "not carried";
constexpr std::string_view includeKind = "include";
constexpr std::string_view defineKind = "define";
constexpr std::string_view missingKind = "missing";
constexpr std::string_view unresolvedKind = "unresolved";
constexpr std::string_view unknownKind = "unknown";
constexpr std::string_view refusedKind = "refused";
constexpr std::string_view renamedKind = "renamed";
constexpr std::string_view stoppedKind = "stopped";
constexpr std::string_view notScannedKind = "not scanned";
constexpr std::string_view noStandInKind = "no stand-in";

constexpr TextFlags::Flags takenAsSource = 1;
constexpr TextFlags::Flags checked = 2;

std::string_view reasonText(NotTakenBecause reason)
{
    switch (reason) {
    case NotTakenBecause::linkerFile:
        return "linker file";
    case NotTakenBecause::neitherHeaderNorSource:
        return "neither header nor source by its folder and extension";
    case NotTakenBecause::leftOutByExtensions:
        return "left out by -ext";
    case NotTakenBecause::excludedInConfiguration:
        return "excluded in this configuration";
    case NotTakenBecause::outsideAnyFolder:
        return "outside any folder";
    case NotTakenBecause::headerInProjectFolder:
        return "header in the project folder, which adds no include folder";
    }
    return {};
}

std::string lineText(std::size_t line)
{
    return "line " + std::to_string(line);
}

} // namespace

struct ConversionReport::ProjectMark {
    ReportFile::Mark lines;
    std::size_t sourcesTaken;
    std::size_t entriesNotTaken;
    std::size_t pathsMissing;
    std::size_t definitions;
    std::unordered_map<std::string, std::unordered_set<std::string>> includeFolders;
    // Each path's flags before the project set one, in the order set.
    std::vector<std::pair<std::string, TextFlags::Flags>> flagsBefore;
};

ConversionReport::ConversionReport() = default;
ConversionReport::~ConversionReport() = default;

void ConversionReport::start(const Group& root, const std::string& rootName, bool projectColumn)
{
    file = std::make_unique<ReportFile>(projectColumn);
    groupPaths[&root] = rootName;
}

void ConversionReport::writeTo(const std::string& windowsPath)
{
    path = windowsPath;
    try {
        file->open(windowsPath);
    } catch (const IOERROR&) {
        drop();
        throw;
    }
}

void ConversionReport::drop()
{
    file.reset();
}

void ConversionReport::groupAdded(const Group& parent, const Group& child, const std::string& childName)
{
    if (file) {
        groupPaths[&child] = groupPaths[&parent] + "\\" + childName;
    }
}

void ConversionReport::fileEntryBegins()
{
    entryTaken = false;
}

void ConversionReport::fileEntryEnds()
{
    if (file && !entryTaken) {
        ++entriesNotTaken;
    }
}

void ConversionReport::sourceTaken(const std::string& configuration, const std::string& name, const Group& group,
                                   const std::string& path)
{
    if (!file) {
        return;
    }
    // The configurations of one entry take its path one after another.
    const bool takenJustBefore = path == lastSourceTaken;
    const std::size_t hash = takenJustBefore ? 0 : TextFlags::hashOf(path);
    if (!takenJustBefore) {
        paths.expect(hash);
    }
    taken(configuration, name, group, "", path);
    // A path taken before, as a source or as anything else, was checked then.
    if (!takenJustBefore) {
        lastSourceTaken = path;
        TextFlags::Flags& flags = paths.of(path, hash);
        if ((flags & takenAsSource) == 0) {
            setFlag(flags, takenAsSource, path);
            ++sourcesTaken;
            checkPath(name, path, flags);
        }
    }
}

void ConversionReport::headerTaken(const std::string& configuration, const std::string& name, const Group& group,
                                   const std::string& folder)
{
    if (file) {
        taken(configuration, name, group, "include folder ", folder);
    }
}

void ConversionReport::fileNotTaken(const std::string& configuration, const std::string& name, NotTakenBecause reason)
{
    leftOutByExtensions += reason == NotTakenBecause::leftOutByExtensions ? 1 : 0;
    if (file) {
        write(notTakenKind, configuration, name, reasonText(reason));
    }
}

void ConversionReport::settingNotCarried(const std::string& configuration, const std::string& name,
                                         std::string_view setting)
{
    if (file) {
        write(notCarriedKind, configuration, name, setting);
    }
}

void ConversionReport::editedSetAside(const std::string& path, const std::string& keptAs)
{
    if (file) {
        write("set aside", "", path, keptAs);
    }
}

void ConversionReport::leftoverRemoved(const std::string& path)
{
    if (file) {
        write("removed", "", path, "no longer part of the project");
    }
}

void ConversionReport::editKeptInEffect(const std::string& path)
{
    if (file) {
        write("kept", "", path, "edited since the last run, which brings nothing new into it");
    }
}

void ConversionReport::editMerged(const std::string& path)
{
    if (file) {
        write("merged", "", path, "edited since the last run; the run's changes merged into it");
    }
}

void ConversionReport::differsFromIdeBuild(const std::string& configuration, const std::string& sourceFile,
                                           const std::string& what)
{
    if (file) {
        write("differs from the IDE", configuration, sourceFile, what);
    }
}

void ConversionReport::leftoverKept(const std::string& path)
{
    if (file) {
        write("kept", "", path, "no longer part of the project, but edited since the last run");
    }
}

void ConversionReport::folderRenamed(const std::string& name, const std::string& folder)
{
    if (file) {
        write(renamedKind, "", name, folder);
    }
}

void ConversionReport::notScanned(const std::string& configuration, const std::string& hostFile, std::string_view why)
{
    if (file) {
        write(notScannedKind, configuration, hostFile, why);
    }
}

void ConversionReport::noStandIn(const std::string& configuration, const std::string& name, const std::string& why)
{
    if (file) {
        write(noStandInKind, configuration, name, why);
    }
}

void ConversionReport::builtInMacrosUnknown(const std::string& processor)
{
    if (file) {
        write(notCarriedKind, "", processor,
              "built-in macros of the compilation databases: processor not in the table, its own macro only");
    }
}

void ConversionReport::includeFolder(const std::string& configuration, const std::string& asWritten,
                                     const std::string& folder)
{
    if (!file || !includeFolders[project][configuration].insert(folder).second) {
        return;
    }
    write(includeKind, configuration, asWritten, folder);
    checkPath(asWritten, folder, paths.of(folder));
}

void ConversionReport::definition(const std::string& configuration, const std::string& name, const std::string& value)
{
    if (!file) {
        return;
    }
    const auto [found, added] = definitionIndex.try_emplace({project, configuration, name}, definitions.size());
    if (added) {
        definitions.push_back({project, configuration, name, value});
    } else {
        definitions[found->second].value = value;
    }
}

void ConversionReport::projectBegins()
{
    if (file) {
        projectMark.reset(new ProjectMark{file->mark(),
                                          sourcesTaken,
                                          entriesNotTaken,
                                          pathsMissing,
                                          definitions.size(),
                                          includeFolders[project],
                                          {}});
    }
}

void ConversionReport::projectEnds(bool leftOut)
{
    if (projectMark && leftOut) {
        const ProjectMark& mark = *projectMark;
        file->takeBack(mark.lines);
        sourcesTaken = mark.sourcesTaken;
        entriesNotTaken = mark.entriesNotTaken;
        pathsMissing = mark.pathsMissing;
        for (std::size_t i = mark.definitions; i < definitions.size(); ++i) {
            const Definition& taken = definitions[i];
            definitionIndex.erase({taken.project, taken.configuration, taken.name});
        }
        definitions.resize(mark.definitions);
        includeFolders[project] = mark.includeFolders;
        for (auto flags = mark.flagsBefore.rbegin(); flags != mark.flagsBefore.rend(); ++flags) {
            paths.of(flags->first) = flags->second;
        }
        lastSourceTaken.clear();
        lastGroup = nullptr;
    }
    projectMark.reset();
}

void ConversionReport::projectNotRead(const std::string& path, const std::string& message)
{
    if (file) {
        write(notTakenKind, "", path, message);
    }
}

void ConversionReport::projectListedTwice(const std::string& path, const std::string& firstName)
{
    if (file) {
        write(notTakenKind, "", path, "listed before as " + firstName + ", read once");
    }
}

void ConversionReport::unknownElement(std::string_view name, std::size_t line)
{
    if (file) {
        write(unknownKind, "", name, lineText(line));
    }
}

void ConversionReport::refusedToken(const std::string& text, std::size_t line)
{
    if (file) {
        write(refusedKind, "", text, lineText(line));
    }
}

void ConversionReport::close(bool failed, std::string_view failure)
{
    runFailed = failed;
    for (const Definition& definition : definitions) {
        file->writeLine(defineKind, definition.configuration, definition.name, definition.value, definition.project);
    }
    if (failed) {
        file->writeLine(stoppedKind, "", "", failure);
    }
    const std::unique_ptr<ReportFile> closing = std::move(file);
    closing->close();
}

std::string ConversionReport::summaryLine() const
{
    return std::string(runFailed ? "Report: the run failed; " : "Report: ") + std::to_string(sourcesTaken) +
           " source files taken, " + std::to_string(entriesNotTaken) + " file entries not taken, " +
           std::to_string(pathsMissing) + " paths missing: " + path;
}

// The detail names the group by its path, then what the group took.
void ConversionReport::taken(const std::string& configuration, const std::string& name, const Group& group,
                             std::string_view what, const std::string& path)
{
    entryTaken = true;
    // The entries of one group come one after another.
    if (&group != lastGroup) {
        lastGroup = &group;
        lastGroupPath = &groupPaths.at(&group);
    }
    const std::array<std::string_view, 4> detail{*lastGroupPath, ": ", what, path};
    file->writeLine(takenKind, configuration, name, detail, project);
}

void ConversionReport::write(std::string_view kind, std::string_view configuration, std::string_view item,
                             std::string_view detail)
{
    file->writeLine(kind, configuration, item, detail, project);
}

void ConversionReport::checkPath(const std::string& asWritten, const std::string& path, TextFlags::Flags& flags)
{
    if ((flags & checked) != 0) {
        return;
    }
    setFlag(flags, checked, path);
    if (holdsInstallVariable(path)) {
        write(unresolvedKind, "", asWritten, path);
    } else if (!exists(path)) {
        write(missingKind, "", asWritten, path);
        ++pathsMissing;
    }
}

void ConversionReport::setFlag(TextFlags::Flags& flags, TextFlags::Flags flag, const std::string& path)
{
    if (projectMark) {
        projectMark->flagsBefore.emplace_back(path, flags);
    }
    flags |= flag;
}

// A project moved from another machine misses whole folders: nothing in a
// folder that is not there needs a look of its own, and each folder is looked
// up once however many paths it holds.
bool ConversionReport::exists(const std::string& path)
{
    const std::string_view folder = parentFolder(path).value_or(std::string_view());
    // A drive's root ("C:") is no folder to look up.
    if (folder.find('\\') != std::string_view::npos) {
        // The files of one folder come one after another.
        if (lastFolder == nullptr || lastFolder->first != folder) {
            auto known = foldersExist.find(folder);
            if (known == foldersExist.end()) {
                known = foldersExist.emplace(std::string(folder), folderExists(folder)).first;
            }
            lastFolder = &*known;
        }
        if (!lastFolder->second) {
            return false;
        }
    }
    return hostFiles.existing(path).has_value();
}

// Nor does a folder in one known to be missing: a missing tree's folders are
// looked up on this machine only at its top.
bool ConversionReport::folderExists(std::string_view folder)
{
    const std::string_view parent = parentFolder(folder).value_or(folder);
    if (const auto known = foldersExist.find(parent); known != foldersExist.end() && !known->second) {
        return false;
    }
    return hostFiles.existing(std::string(folder)).has_value();
}
