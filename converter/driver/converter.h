#pragma once

#include "driver/same_files.h"
#include "reader/group.h"
#include "reader/xml_lexer.h"
#include "writer/destination_folders.h"

#include <memory>
#include <string>
#include <vector>

// How far a reading got.
enum class ReadExtent { wholeProject, partOfProject, noProject };

// What a reading tells the run beyond the tree it filled.
struct ProjectReading {
    ReadExtent extent;
    // A path kept in the tree still names the unknown installation folder.
    bool keptInstallVariables;
};

class ConversionReport;

// One whole conversion: its settings, the source project model and the lexer.
// Its members are defined by subsystem: the run, the extension list and the
// reading in driver/converter.cpp, findInstallFolder in
// driver/install_folder.cpp, the path rules in reader/project_paths.cpp and
// writeProject in writer/project_writer.cpp.
class Converter {
public:
    Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Reads, then writes; returns the exit status.
    int run();
    // Steps of `run` before the writer: gives the root group its folder, opens
    // the source file, opens the report file when one is asked for, and reads.
    ProjectReading read();

    void addExtensions(const std::string& value);
    bool acceptsExtension(const std::string& path) const;

    std::string getDestinationFolder() const { return destinationFolder; }
    std::string getProjectName() const { return projectName; }
    std::string getMessagePersonality() const { return messagePersonality; }
    std::string getAnalyserPersonality() const { return analyserPersonality; }
    std::string getCompilerPersonality() const { return compilerPersonality; }
    const std::string& getInstallFolder() const { return installFolder; }
    const std::vector<std::string>& getExtensions() const { return extensions; }
    const Group& getRootGroup() const { return *rootGroup; }
    // Where a reading stopped: the pending token is the one refused. The tests
    // that read without writing name it, as `run` does in its message.
    const XmlLexer& getLexer() const { return lexer; }
    // Where the writers note what they changed of the project's names.
    ConversionReport& getReport() const { return *report; }
    // The folders that the writer has made in this run.
    DestinationFolders& getDestinationFolders() const { return destinationFolders; }

    // Path rules of the model: include folders and source files.
    void resolveProjectPath(std::string& folder) const;
    std::string resolveSourceFilePath(const std::string& file) const;
    // The folder of the project file, without a trailing backslash.
    std::string sourceFolder() const;

    // Reads the open source file into the group tree; see ProjectReader.
    ProjectReading readProject(Group& root);
    int writeProject();

    // Set by the entry point between construction and `run`.
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;
    // Where the compilation databases go; none are written when empty.
    std::string compileDatabaseFolder;
    // The report file; "" for none.
    std::string reportPath;

private:
    int convert();
    // Prints the message that ends the run, kept for the report; returns 1.
    int fail(const std::string& message);
    int finishReport(int status);
    // Compiler options that change the language, which the databases leave out.
    void reportLanguageOptions(const Group& target);
    // The files the run reads and those it writes, for refuseSameFiles.
    std::vector<RunFile> inputFiles() const;
    std::vector<RunFile> outputFiles() const;
    RunFile reportFile() const;

    std::string sourcePath;
    std::string destinationFolder;
    std::string installFolder;
    std::vector<std::string> extensions;
    std::unique_ptr<Group> rootGroup;
    XmlLexer lexer;
    // A record of what the disk holds, filled by the writer's walk over the
    // const group tree.
    mutable DestinationFolders destinationFolders;
    // Open from the moment the project file is, so that a failure later on
    // still leaves the report of what was read.
    std::unique_ptr<ConversionReport> report;
    // The message of the failure that ended the run.
    std::string failure;
};

// The VisualDSP installation folder recorded on this machine, or "".
std::string findInstallFolder();
