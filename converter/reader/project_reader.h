#pragma once

#include "reader/extension_filter.h"
#include "reader/file_roles.h"
#include "reader/group.h"
#include "reader/project_paths.h"
#include "reader/xml_lexer.h"
#include "report/conversion_report.h"

#include <cstddef>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The root element of a project file.
inline constexpr std::string_view projectElementName = "visualdsp-project";

// What reading one project file needs of the conversion.
struct ProjectReaderInput {
    // "" when none is known: the installation variables then stay in paths.
    std::string installFolder;
    // The project file, whose folder anchors its relative paths.
    std::string projectPath;
    const ExtensionFilter& extensions;
    // Each decision about a file entry, and each element read over, goes here.
    ConversionReport& report;
};

// Reads one project file from the lexer into a group tree. Defined in
// project_reader.cpp, but for the file entries' part (marked below), which is
// in project_reader_file_entries.cpp.
class ProjectReader {
public:
    ProjectReader(XmlLexer& lexer, const ProjectReaderInput& input)
        : lexer(lexer), paths(ProjectPaths::of(input.installFolder, input.projectPath)),
          extensions(input.extensions), report(input.report)
    {
    }
    ProjectReader(const ProjectReader&) = delete;
    ProjectReader& operator=(const ProjectReader&) = delete;

    // Returns whether the whole file was read; a false leaves the refused token
    // pending in the lexer. Groups made so far stay in the tree either way.
    bool readProject(Group& root);
    // Whether the file's first element was the project's: when not, nothing
    // was read that belongs to a project.
    bool foundProject() const { return foundProject_; }
    // Whether a path kept in the tree still names the installation folder by
    // a variable, because no installation folder is known.
    bool keptInstallVariables() const { return keptInstallVariables_; }

private:
    enum class TagTest { plain, withAttributes };
    enum class FileUse { common, perConfiguration };
    // The compiler settings of a configuration, for the groups of its name
    // made later inside source-folder groups.
    struct ConfigurationSettings {
        std::vector<std::string> includePaths;
        std::map<std::string, std::string> definitions;
    };

    // One operation per element, each returning whether its element was read
    // up to its end tag.
    bool readTarget(Group& root);
    bool readConfigurations(Group& target);
    bool readConfiguration(Group& target);
    bool readTools(Group& configuration);
    bool readTool(Group& configuration);
    bool readOption(std::string& option);
    bool readFolders(Group& group);
    bool readFolder(Group& group);
    bool readCustomDataTables();
    void readFilesOutsideFolders(Group& group);
    void readCompilerOption(Group& configuration, const std::string& option);
    bool readCustomDataTable();
    bool readCustomData();
    // Without `content`, the text is read over, not copied.
    bool readTextElement(std::string_view name, TagTest test, std::string* content = nullptr);
    bool readTextContent(std::string_view name, std::string* content = nullptr);
    bool readBuildStep(std::string_view name);
    bool readFolderList(Group& container);
    // Templates rather than std::function, which allocates for every element
    // whose callback captures more than two references.
    template <typename ReadChild>
    bool readContent(std::string_view name, std::span<const std::string_view> content, const ReadChild& readChild);
    template <typename ReadChildren>
    bool readElementContent(std::string_view name, std::span<const std::string_view> content,
                            const ReadChildren& readChildren);
    // An attribute of the start tag read last, without the double quotes
    // around it; "" when it is missing. Valid until the next start tag.
    std::string_view attribute(std::string_view key) const { return tagAttributes.unquoted(key); }
    // The file entries' part, in project_reader_file_entries.cpp: the elements of a file
    // list, what each entry becomes, and the groups that take it.
    bool readFiles(Group& group, FolderKind kind);
    bool readFile(Group& group, FolderKind kind);
    bool readFileConfigurations(Group& group, const std::string& path, FolderKind kind, FileRole role);
    bool readFileConfiguration(Group& group, const std::string& path, FolderKind kind, FileRole role);
    bool readExcludedFlag(std::string& flag);
    FileRole fileRole(const std::string& path, FolderKind kind) const;
    void addFileEntry(Group& group, const std::string& path, FolderKind kind, FileRole role, FileUse use);
    const std::string& resolvedSourcePath(const std::string& path);
    void noteInstallVariables(const std::string& path);
    Group& addGroup(Group& parent, const std::string& name);
    Group& configurationGroup(Group& group, const std::string& name);
    // Lexer tests that first read over elements unknown in `openContent`, and
    // an end tag test that records a refusal.
    // `asked`, the start tag asked for next, is always one of the open
    // content: a pending tag of that name is known without a search.
    void skipUnknownElements(std::string_view asked = {});
    bool startTag(std::string_view name);
    // Its attributes go to `tagAttributes`.
    bool startElement(std::string_view name);
    bool endTag(std::string_view name);
    bool leafEndTag(std::string_view name);

    XmlLexer& lexer;
    TagAttributes tagAttributes;
    const ProjectPaths paths;
    const ExtensionFilter& extensions;
    ConversionReport& report;
    // Every group made takes the root's source folder.
    std::string rootSourceDir;
    Group* target = nullptr;
    bool foundProject_ = false;
    bool keptInstallVariables_ = false;
    // Names of the elements that belong in the content being read; empty
    // outside the root element, where nothing is skipped.
    std::span<const std::string_view> openContent;
    // Set once a token is refused; from then on every test fails.
    bool tokenRefused = false;
    int folderDepth = 0;
    // The kind of the folder being read, which a nested folder whose name
    // tells no kind takes on. Outside all folders, files are read by their
    // extensions.
    FolderKind folderKind = FolderKind::byExtension;
    std::map<std::string, ConfigurationSettings> configurationSettings;
    std::string entryPath;
    std::string lastSourcePath;
    std::string lastResolvedSource;
    // The last child of each name under each group, for the lookup of a file's
    // configuration group without a walk over all children. Looked up for
    // every configuration of every entry, by a view of the name.
    using ChildName = std::pair<const Group*, std::string>;
    using ChildNameView = std::pair<const Group*, std::string_view>;
    struct ChildNameHash {
        using is_transparent = void;
        std::size_t operator()(const ChildNameView& key) const
        {
            return std::hash<std::string_view>{}(key.second) ^ std::hash<const Group*>{}(key.first);
        }
        std::size_t operator()(const ChildName& key) const { return (*this)(ChildNameView(key.first, key.second)); }
    };
    struct SameChildName {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const
        {
            return a.first == b.first && std::string_view(a.second) == std::string_view(b.second);
        }
    };
    std::unordered_map<ChildName, Group*, ChildNameHash, SameChildName> lastChildByName;
};

// The repeated children of an element whose start tag was read, and its end tag.
template <typename ReadChild>
bool ProjectReader::readContent(std::string_view name, std::span<const std::string_view> content,
                                const ReadChild& readChild)
{
    return readElementContent(name, content, [&] {
        while (readChild()) {
        }
    });
}

// The content and the end tag of the element whose start tag was read last;
// an empty-element tag ("<a/>") has neither. A thrown reading failure skips
// the restoring, which is sound: nothing reads on after one.
template <typename ReadChildren>
bool ProjectReader::readElementContent(std::string_view name, std::span<const std::string_view> content,
                                       const ReadChildren& readChildren)
{
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    const std::span<const std::string_view> enclosing = std::exchange(openContent, content);
    readChildren();
    // The end tag is looked for with this element's content still open.
    const bool ended = endTag(name);
    openContent = enclosing;
    return ended;
}
