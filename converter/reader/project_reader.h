#pragma once

#include "reader/group.h"
#include "reader/xml_lexer.h"

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

class Converter;

// The kind of folder the reader is in, set from the folder's name.
enum class FolderKind { header, linker, source, other };

// Reads one project file from the lexer into a group tree. The converter
// gives the path rules and the extension filter; the groups made are its own.
class ProjectReader {
public:
    ProjectReader(XmlLexer& lexer, const Converter& converter) : lexer(lexer), converter(converter) {}
    ProjectReader(const ProjectReader&) = delete;
    ProjectReader& operator=(const ProjectReader&) = delete;

    // Returns whether the whole file was read; a false leaves the refused token
    // pending in the lexer. Groups made so far stay in the tree either way.
    bool readProject(Group& root);

private:
    using Attributes = std::map<std::string, std::string>;
    enum class TagTest { plain, withAttributes };
    enum class FileUse { common, perConfiguration };

    // One operation per element, each returning whether its element was read
    // up to its end tag.
    bool readTarget(Group& root, Group*& target);
    bool readConfigurations(Group& target);
    bool readConfiguration(Group& target);
    bool readTools(Group& configuration);
    bool readTool(Group& configuration);
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
    void readCompilerOption(Group& configuration, const std::string& option);
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

    XmlLexer& lexer;
    const Converter& converter;
    // Every group made takes the root's source folder.
    std::string rootSourceDir;
    // Names of the elements that belong in the content being read; empty
    // outside the root element, where nothing is skipped.
    std::span<const std::string_view> openContent;
    // Set once a token is refused; from then on every test fails.
    bool tokenRefused = false;
    int folderDepth = 0;
    // Kept from one folder to the next, nested or not: a folder whose name
    // tells no kind takes the kind of the folder read before it.
    FolderKind folderKind = FolderKind::other;
    // The last child of each name under each group, for the lookup of a file's
    // configuration group without a walk over all children.
    std::map<std::pair<const Group*, std::string>, Group*> lastChildByName;
};
