#pragma once

#include "reader/group.h"
#include "reader/xml_lexer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

// The kind of folder the reader is in, set from the folder's name.
enum class FolderKind { header, linker, source, other };

// One whole conversion: its settings, the source project model and the lexer.
class Converter {
public:
    Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder);
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Reads, then writes; returns the exit status.
    int run();
    // Steps of `run` before the writer: gives the root group its folder, opens
    // the source file and reads it. Returns whether the whole file was accepted.
    bool read();

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
    const XmlLexer& getLexer() const { return lexer; }

    // Path rules of the model: include folders and source files.
    void resolveProjectPath(std::string& folder) const;
    std::string resolveSourceFilePath(const std::string& file) const;
    // The folder of the project file, without a trailing backslash.
    std::string sourceFolder() const;

    bool readProject(Group& root);
    int writeProject();

    // Set by the entry point between construction and `run`.
    std::string projectName;
    std::string messagePersonality;
    std::string analyserPersonality;
    std::string compilerPersonality;

private:
    bool readTarget(Group& root, Group*& target);
    bool readConfigurations(Group& target);
    bool readConfiguration(Group& target);
    bool readTools(Group& configuration);
    bool readTool(Group& configuration);
    bool readOption(std::string& option);
    void readDefineList(Group& configuration, const std::string& list);
    void readDefine(Group& configuration, const std::string& piece);
    bool readFolders(Group& group);
    bool readFolder(Group& group);
    bool readFiles(Group& group, FolderKind kind);
    bool readFile(Group& group, FolderKind kind);
    bool readFileConfigurations(Group& group, const std::string& path, FolderKind kind);
    bool readFileConfiguration(Group& group, const std::string& path, FolderKind kind);
    bool readExcludedFlag(std::string& flag);
    bool readCustomDataTables();

    std::string sourcePath;
    std::string destinationFolder;
    std::string installFolder;
    std::vector<std::string> extensions;
    FolderKind folderKind = FolderKind::other;
    std::unique_ptr<Group> rootGroup;
    XmlLexer lexer;
};

// The VisualDSP installation folder recorded on this machine, or "".
std::string findInstallFolder();
