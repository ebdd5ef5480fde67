#pragma once

#include "reader/group.h"
#include "reader/xml_lexer.h"
#include "writer/destination_folders.h"

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
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
    // The folders that the writer has made in this run.
    DestinationFolders& getDestinationFolders() { return destinationFolders; }

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
    void readCompilerOption(Group& configuration, const std::string& option);
    bool readOption(std::string& option);
    void readDefineList(Group& configuration, const std::string& list);
    bool readFolders(Group& group);
    bool readFolder(Group& group);
    bool readFiles(Group& group, FolderKind kind);
    bool readFile(Group& group, FolderKind kind);
    bool readFileConfigurations(Group& group, const std::string& path, FolderKind kind);
    bool readFileConfiguration(Group& group, const std::string& path, FolderKind kind);
    bool readExcludedFlag(std::string& flag);
    bool readCustomDataTables();

    // Reader helpers beyond the element operations above.
    using Attributes = std::map<std::string, std::string>;
    enum class TagTest { plain, withAttributes };
    enum class FileUse { common, perConfiguration };
    bool readCustomDataTable();
    bool readCustomData();
    bool readTextElement(const std::string& name, TagTest test, std::string& content);
    bool readBuildStep(const std::string& name);
    bool readFolderList(Group& container);
    bool readContent(const std::string& name, std::span<const std::string_view> content,
                     const std::function<bool()>& readChild);
    void addFileEntry(Group& group, const std::string& path, FolderKind kind, FileUse use);
    Group& addGroup(Group& parent, const std::string& name);
    Group& configurationGroup(Group& group, const std::string& name);
    // Lexer tests that first read over elements unknown in `openContent`, and
    // an end tag test that records a refusal.
    void skipUnknownElements();
    bool startTag(const std::string& name);
    bool startElement(const std::string& name, Attributes& attributes);
    bool endTag(const std::string& name);
    bool leafEndTag(const std::string& name);

    // Names of the elements that belong in the content being read; empty
    // outside the root element, where nothing is skipped.
    std::span<const std::string_view> openContent;
    // Set once a token is refused; from then on every test fails.
    bool tokenRefused = false;
    int folderDepth = 0;
    // The last child of each name under each group, for the lookup of a file's
    // configuration group without a walk over all children.
    std::map<std::pair<const Group*, std::string>, Group*> lastChildByName;

    std::string sourcePath;
    std::string destinationFolder;
    std::string installFolder;
    std::vector<std::string> extensions;
    FolderKind folderKind = FolderKind::other;
    std::unique_ptr<Group> rootGroup;
    XmlLexer lexer;
    DestinationFolders destinationFolders;
};

// The VisualDSP installation folder recorded on this machine, or "".
std::string findInstallFolder();
