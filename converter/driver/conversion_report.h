#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

class Group;

// Why a file entry of the project goes into no group.
enum class NotTakenBecause {
    linkerFile,
    neitherHeaderNorSource,
    leftOutByExtensions,
    excludedInConfiguration,
    outsideAnyFolder,
    headerInProjectFolder,
};

// What one conversion took from the project, what it left and why, and which
// paths it uses are not on this machine. Collects nothing until enabled, so
// that a run without a report pays nothing for it.
class ConversionReport {
public:
    // One line of the report. `configuration` is "" for what all share;
    // `item` is the path or name as the project writes it.
    struct Finding {
        std::string_view kind;
        std::string configuration;
        std::string item;
        std::string detail;
        // The group that a taken file entry went to, written in front of
        // `detail` by its path of group names.
        const Group* group = nullptr;
    };

    void enable() { enabled_ = true; }
    bool enabled() const { return enabled_; }

    // Every decision about a file entry falls between these two calls.
    void fileEntryBegins();
    void fileEntryEnds();
    void sourceTaken(const std::string& configuration, const std::string& name, const Group& group,
                     const std::string& path);
    void headerTaken(const std::string& configuration, const std::string& name, const Group& group,
                     const std::string& folder);
    void fileNotTaken(const std::string& configuration, const std::string& name, NotTakenBecause reason);
    // A per-file setting that the analyser project has no place for.
    void settingNotCarried(const std::string& configuration, const std::string& name, std::string_view setting);

    // What the personalities carry, each once; a macro keeps its last value.
    void includeFolder(const std::string& configuration, const std::string& asWritten, const std::string& folder);
    void definition(const std::string& configuration, const std::string& name, const std::string& value);

    void unknownElement(std::string_view name, std::size_t line);
    void refusedToken(const std::string& text, std::size_t line);

    // Adds a line for each taken source file and include folder that still
    // holds an installation variable or does not exist on this machine.
    void checkPathsOnDisk();

    const std::vector<Finding>& findings() const { return findings_; }
    std::string summaryLine(const std::string& reportPath) const;

private:
    void add(std::string_view kind, const std::string& configuration, const std::string& item, std::string detail,
             const Group* group = nullptr);
    void usesPath(const std::string& asWritten, const std::string& path);

    bool enabled_ = false;
    std::vector<Finding> findings_;
    bool entryTaken_ = false;
    std::size_t entriesNotTaken_ = 0;
    std::unordered_set<std::string> sourcesTaken_;
    std::set<std::pair<std::string, std::string>> includeFolders_;
    // The finding of each macro of each configuration, to keep its last value.
    std::map<std::pair<std::string, std::string>, std::size_t> definitions_;
    // Each path used, once, with its text as written, in the order first met.
    std::vector<std::pair<std::string, std::string>> pathsUsed_;
    std::unordered_set<std::string> pathsSeen_;
    std::size_t pathsMissing_ = 0;
};
