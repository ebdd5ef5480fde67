#pragma once

#include <memory>
#include <string>
#include <vector>

class ConversionReport;
class DestinationFolders;
class Group;

// A stand-in header the databases write: its name is one part that may hold
// backslashes, as a source includes it.
struct StandInFile {
    // The Windows path of its folder.
    std::string folder;
    std::string name;
    // The path it is written under on this machine.
    std::string hostPath;
};

// What the databases take from the run.
struct DatabaseSources {
    // The root group of each project converted.
    std::vector<const Group*> projects;
    // The projects are those of a project group: each has its own stand-ins.
    bool sourceIsGroup = false;
    std::string installFolder;
    std::string destinationFolder;
    // Told what the databases leave out and which folders they rename.
    ConversionReport& report;
};

// The JSON compilation databases <folder>\<configuration>\compile_commands.json
// that open analysers and editors read, one per configuration name of the
// read project (or of any project of a project group, whose entries it then
// all holds): one entry per source file the configuration builds, with the
// VisualDSP compiler's command line. Beside each, in include-names\ (of a
// group: in include-names\<project>\), the stand-ins of its includes.
class CompileDatabases {
public:
    // Gathers what each configuration builds and reads its sources for the
    // includes that need stand-ins; writes nothing.
    CompileDatabases(DatabaseSources sources, std::string folder);
    ~CompileDatabases();
    CompileDatabases(const CompileDatabases&) = delete;
    CompileDatabases& operator=(const CompileDatabases&) = delete;

    // The databases, in the order written.
    std::vector<std::string> databasePaths() const;
    std::vector<StandInFile> standInFiles() const;
    // Makes the folders through `folders`, rooted at the databases' folder.
    // Throws IOERROR like the other writers.
    void write(DestinationFolders& folders) const;

private:
    struct Plan;
    std::unique_ptr<Plan> plan;
};
