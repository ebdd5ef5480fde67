#pragma once

#include "reader/extension_filter.h"
#include "reader/group.h"
#include "reader/xml_lexer.h"
#include "layout/destination_folders.h"
#include "record/run_record.h"
#include "layout/same_files.h"
#include "layout/writer_settings.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How far a reading got.
enum class ReadExtent { wholeProject, partOfProject, noProject };

// What a reading tells the run beyond the tree it filled.
struct ProjectReading {
    // How far the source file (of a project group, the group file) was read.
    ReadExtent extent;
    // A path kept in the tree still names the unknown installation folder.
    bool keptInstallVariables;
    // Of a project group: its distinct projects, and those of them that could
    // not be opened or were not read up to their end.
    std::size_t groupProjects = 0;
    std::size_t groupProjectsNotReadWhole = 0;
};

class CompileDatabases;
class ConversionReport;
struct GroupMember;
struct MemberFile;
class OutputPlan;
class RecordKeeper;
struct RunFolders;
class XMLReaderError;

// One whole conversion: its settings, the source project model and the lexer.
// Its members are defined by subsystem: the run, the extension list, the
// reading and the writing in driver/converter.cpp, the reading of a project
// group in driver/converter_group_reading.cpp. The writing itself is the
// writer's and the databases': they are handed values, not the Converter.
class Converter {
public:
    Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Reads, then writes; returns the exit status.
    int run();
    // Steps of `run` before the writer: gives the root group its folder, opens
    // the source file, opens the report file when one is asked for, and reads
    // the project, or each project of a project group.
    ProjectReading read();

    void addExtensions(const std::string& value);
    bool acceptsExtension(const std::string& path) const;

    std::string getDestinationFolder() const { return destinationFolder; }
    std::string getProjectName() const { return projectName; }
    std::string getMessagePersonality() const { return messagePersonality; }
    std::string getAnalyserPersonality() const { return analyserPersonality; }
    std::string getCompilerPersonality() const { return compilerPersonality; }
    const std::string& getInstallFolder() const { return installFolder; }
    const std::vector<std::string>& getExtensions() const { return extensions.entries(); }
    const Group& getRootGroup() const { return *rootGroup; }
    // Whether the source is a project group, whose projects are the root
    // group's children.
    bool sourceIsGroup() const { return sourceIsGroup_; }
    // The root group of each project converted: the root group itself, or each
    // project of the group that was read.
    std::vector<const Group*> projectRoots() const;
    // Where a reading stopped: the pending token is the one refused. The tests
    // that read without writing name it, as `run` does in its message.
    const XmlLexer& getLexer() const { return lexer; }

    // The include folder rule of the source project; see ProjectPaths.
    void resolveProjectPath(std::string& folder) const;
    // The folder of the source file, without a trailing backslash.
    std::string sourceFolder() const;

    // Reads the open source file into the group tree; see ProjectReader.
    ProjectReading readProject(Group& root);
    // What the writer takes from this run.
    WriterSettings writerSettings() const;
    // Writes the project file and its folder tree as planned.
    void writeProject(const OutputPlan& plan);

    // Set by the entry point between construction and `run`.
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;
    // Where the compilation databases go; none are written when empty.
    std::string compileDatabaseFolder;
    // The report file; "" for none.
    std::string reportPath;
    // Tells what the run would do and changes nothing on disk.
    bool dryRun = false;

private:
    int convert();
    // The rest of a dry run once the plan is checked; returns its status.
    int preview(const OutputPlan& plan, const CompileDatabases* databases, std::vector<RunFile> outputs,
                const ProjectReading& reading);
    // Says why a run that read only part of the project fails.
    bool failIfIncomplete(const ProjectReading& reading);
    // Prints the message that ends the run, kept for the report; returns 1.
    int fail(const std::string& message);
    int finishReport(int status);
    // Writes the record of what the run wrote; returns the run's status.
    int recordRun(int status);
    int removeLeftovers(int status);
    RecordRoots recordRoots() const;
    RunFolders runFolders() const;
    ProjectReading readFrom(XmlLexer& projectLexer, const std::string& projectFile, Group& root);
    ProjectReading readGroup();
    // Reads one project of the group into a child of the root group; returns
    // whether it was read whole.
    bool readGroupMember(const GroupMember& member, const MemberFile& file, bool& keptInstallVariables);
    // The refused-token message, when the reading stopped at one.
    void tellRefusal(XmlLexer& projectLexer, ReadExtent extent);
    // What the compilation databases lack, project by project: a processor's
    // compiler macros, and compiler options that change the language.
    void reportWhatDatabasesLack();
    void warnIfNoSourceTaken();
    // Compiler options that change the language, which the databases leave out.
    void reportLanguageOptions(const Group& target);
    // The files the run reads and those it writes, for refuseSameFiles.
    std::vector<RunFile> inputFiles() const;
    std::vector<RunFile> outputFiles(const OutputPlan& plan, const CompileDatabases* databases) const;
    RunFile reportFile() const;

    std::string sourcePath;
    bool sourceIsGroup_ = false;
    // Each project file of a group, once: inputs that no output may overwrite.
    std::vector<RunFile> groupProjectFiles;
    std::string destinationFolder;
    std::string installFolder;
    ExtensionFilter extensions;
    std::unique_ptr<Group> rootGroup;
    XmlLexer lexer;
    // The folders the writer made or found in the destination.
    DestinationFolders destinationFolders;
    // Kept here, not by the databases, so that a run that fails while writing
    // them still records the folders it made.
    DestinationFolders databaseFolders;
    // Open from the moment the project file is, so that a failure later on
    // still leaves the report of what was read.
    std::unique_ptr<ConversionReport> report;
    // What earlier runs left in the destination, once the files are weighed.
    std::unique_ptr<RecordKeeper> recordKeeper;
    // The message of the failure that ended the run.
    std::string failure;
};

// The message of a project file that cannot be opened or ends early.
std::string readerFailureMessage(const XMLReaderError& error, const std::string& path);

// The VisualDSP installation folder recorded on this machine, or "".
std::string findInstallFolder();
