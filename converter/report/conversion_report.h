#pragma once

#include "base/host_file_names.h"
#include "base/text_flags.h"
#include "report/not_taken_because.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class Group;
class ReportFile;

// What one conversion takes from the project, what it leaves and why, and
// which of the paths it uses are not on this machine, written as found. Until
// it is opened, every finding is dropped at no cost. `configuration` is ""
// for what all configurations share; an item is a path or name as the project
// writes it.
class ConversionReport {
public:
    ConversionReport();
    ~ConversionReport();
    ConversionReport(const ConversionReport&) = delete;
    ConversionReport& operator=(const ConversionReport&) = delete;

    // Starts taking findings, kept until the file is written. Taken file
    // entries name their group by its path from the root: the report knows a
    // group by its address and its name as given. A project group's report
    // names in a column of its own the project of each line.
    void start(const Group& root, const std::string& rootName, bool projectColumn);
    bool isStarted() const { return file != nullptr; }
    bool isWritten() const { return !path.empty(); }
    // Creates the file and starts writing what was found so far; what is found
    // later follows when the report is closed. Throws IOERROR code 2 when the
    // file cannot be opened for writing, and the report is dropped.
    void writeTo(const std::string& windowsPath);
    // No report at all: the run refused to write any file.
    void drop();
    // The project of the group that the findings from now on concern; "" for
    // the group file itself.
    void setProject(std::string name) { project = std::move(name); }
    void groupAdded(const Group& parent, const Group& child, const std::string& childName);

    // Every decision about one file entry falls between these two calls.
    void fileEntryBegins();
    void fileEntryEnds();
    void sourceTaken(const std::string& configuration, const std::string& name, const Group& group,
                     const std::string& path);
    void headerTaken(const std::string& configuration, const std::string& name, const Group& group,
                     const std::string& folder);
    void fileNotTaken(const std::string& configuration, const std::string& name, NotTakenBecause reason);
    // The file entries that -ext left out, counted with or without a report
    // file, for the warning of a run that takes no source file.
    std::size_t entriesLeftOutByExtensions() const { return leftOutByExtensions; }
    // A per-file setting that the analyser project has no place for.
    void settingNotCarried(const std::string& configuration, const std::string& name, std::string_view setting);
    // A name that leads to the same folder as a sibling's, or to none of its
    // own, and the folder it got instead.
    void folderRenamed(const std::string& name, const std::string& folder);
    // A file that the include scan of the compilation databases did not read.
    void notScanned(const std::string& configuration, const std::string& hostFile, std::string_view why);
    // An include that clang does not find as written and that gets no stand-in.
    void noStandIn(const std::string& configuration, const std::string& name, const std::string& why);
    // What a run did with a file that an earlier run wrote: an edited file
    // set aside (the detail is where it is kept), a file the project no longer
    // has removed, or kept because it was edited.
    void editedSetAside(const std::string& path, const std::string& keptAs);
    void leftoverRemoved(const std::string& path);
    void leftoverKept(const std::string& path);
    // An edited file that the run had nothing to bring into, kept in effect,
    // and one into which the run's changes were merged.
    void editKeptInEffect(const std::string& path);
    void editMerged(const std::string& path);
    // A processor whose compiler-defined macros the compilation databases lack.
    void builtInMacrosUnknown(const std::string& processor);
    // A command of the IDE's exported makefile that the database entry of the
    // file does not match, the file as the makefile names it.
    void differsFromIdeBuild(const std::string& configuration, const std::string& sourceFile,
                             const std::string& what);

    // What the personalities carry, each once; a macro keeps its last value.
    void includeFolder(const std::string& configuration, const std::string& asWritten, const std::string& folder);
    void definition(const std::string& configuration, const std::string& name, const std::string& value);

    // A project of the group is read between these calls. One left out of the
    // analyser project has its findings taken back, as the project file holds
    // none of its files.
    void projectBegins();
    void projectEnds(bool leftOut);
    // A project of the group left out of the analyser project, and why.
    void projectNotRead(const std::string& path, const std::string& message);
    // A project file that the group lists a second time is read once.
    void projectListedTwice(const std::string& path, const std::string& firstName);
    void unknownElement(std::string_view name, std::size_t line);
    void refusedToken(const std::string& text, std::size_t line);

    // Writes the macros and, for a run that failed, the line saying it stopped
    // with its failure message, and closes the file. Throws IOERROR code 2 when
    // any line could not be written.
    void close(bool failed, std::string_view failure);
    // The run's last line: whether it failed, what was counted, and where the
    // report is.
    std::string summaryLine() const;

private:
    void taken(const std::string& configuration, const std::string& name, const Group& group, std::string_view what,
               const std::string& path);
    // A line for a path that still holds an installation variable or is not
    // on this machine, the first time the path is used anywhere; `flags` are
    // the path's, looked up once by the caller.
    void checkPath(const std::string& asWritten, const std::string& path, TextFlags::Flags& flags);
    bool exists(const std::string& path);
    // Sets a flag of a path, noting what it was while a project of a group is read.
    void setFlag(TextFlags::Flags& flags, TextFlags::Flags flag, const std::string& path);
    bool folderExists(std::string_view folder);
    void write(std::string_view kind, std::string_view configuration, std::string_view item, std::string_view detail);

    struct Definition {
        std::string project;
        std::string configuration;
        std::string name;
        std::string value;
    };

    std::unique_ptr<ReportFile> file;
    HostFileNames hostFiles;
    std::string path;
    std::string project;
    std::unordered_map<const Group*, std::string> groupPaths;
    // The group of the entry taken last, and its path; paths stay where they are.
    const Group* lastGroup = nullptr;
    const std::string* lastGroupPath = nullptr;
    bool entryTaken = false;
    // The distinct source files taken, which are the file lines of the
    // project file.
    std::size_t sourcesTaken = 0;
    std::size_t entriesNotTaken = 0;
    std::size_t pathsMissing = 0;
    std::size_t leftOutByExtensions = 0;
    bool runFailed = false;
    // Of each path used: whether it was taken as a source file, and whether
    // it was checked.
    TextFlags paths;
    // The configurations of one entry take the same path one after another.
    std::string lastSourceTaken;
    // Looked up by views into the paths, which costs no copy per path.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // Whether each folder holding a checked path is on this machine.
    std::unordered_map<std::string, bool, TextHash, std::equal_to<>> foldersExist;
    // The entry of the folder looked up last; entries stay where they are.
    const std::pair<const std::string, bool>* lastFolder = nullptr;
    // By project and configuration, the include folders already reported.
    std::unordered_map<std::string, std::unordered_map<std::string, std::unordered_set<std::string>>> includeFolders;
    // In the order first defined, with the index of each by project,
    // configuration and name.
    std::vector<Definition> definitions;
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> definitionIndex;
    // What the report held when the project of the group being read began.
    struct ProjectMark;
    std::unique_ptr<ProjectMark> projectMark;
};
