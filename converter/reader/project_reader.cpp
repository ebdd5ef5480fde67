// The project file reader: one operation per element, each asking the lexer
// for the tokens it expects in their fixed order and returning whether its
// element was read up to its end tag.
#include "reader/project_reader.h"

#include "driver/converter.h"
#include "reader/option_lists.h"
#include "reader/trim_char.h"
#include "reader/windows_path.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

using ElementNames = std::span<const std::string_view>;

// What each element holds. A start tag of any other name met there belongs to
// an element this reader does not know, and is read over with its content.
constexpr std::array<std::string_view, 4> projectContent{"target", "configurations", "folders", "custom-data-tables"};
constexpr std::array<std::string_view, 3> targetContent{"processor", "extension", "type"};
constexpr std::array<std::string_view, 1> configurationsContent{"configuration"};
constexpr std::array<std::string_view, 6> configurationContent{
    "intermediate-dir",       "output-dir",        "changed-property-page-flags", "tools",
    "post-build-description", "post-build-command"};
constexpr std::array<std::string_view, 1> toolsContent{"tool"};
constexpr std::array<std::string_view, 1> toolContent{"option"};
constexpr std::array<std::string_view, 1> foldersContent{"folder"};
constexpr std::array<std::string_view, 2> folderContent{"folders", "files"};
constexpr std::array<std::string_view, 1> filesContent{"file"};
constexpr std::array<std::string_view, 1> fileContent{"file-configurations"};
constexpr std::array<std::string_view, 1> fileConfigurationsContent{"file-configuration"};
constexpr std::array<std::string_view, 4> fileConfigurationContent{"excluded-flag", "build-with-flag",
                                                                   "intermediate-dir", "output-dir"};
constexpr std::array<std::string_view, 1> customDataTablesContent{"custom-data-table"};
constexpr std::array<std::string_view, 1> customDataTableContent{"custom-data"};

// Folders nested deeper are refused: this bounds the reader's recursion and
// the depth of the group tree that the writer walks.
constexpr int maxFolderDepth = 256;

constexpr std::string_view attributeQuote = "\"";
constexpr std::string_view compilerToolType = "Compiler";
constexpr std::string_view defineFlag = "-D";
constexpr std::string_view includeFlag = "-I>";
constexpr std::string_view notExcludedMark = "no";
constexpr std::string_view projectFolder = ".";

// Sets a variable for the lifetime of the object and restores it afterwards.
template <typename T>
class ScopedValue {
public:
    ScopedValue(T& variable, T value) : variable_(variable), saved_(std::exchange(variable, std::move(value))) {}
    ~ScopedValue() { variable_ = std::move(saved_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& variable_;
    T saved_;
};

ScopedValue<ElementNames> enterContent(ElementNames& openContent, ElementNames content)
{
    return {openContent, content};
}

// An attribute without the double quotes around it; "" when it is missing.
std::string unquotedAttribute(const std::map<std::string, std::string>& attributes, const std::string& key)
{
    const auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : trimChar(found->second, attributeQuote);
}

} // namespace

bool ProjectReader::readProject(Group& root)
{
    rootSourceDir = root.sourceDir;
    Attributes attributes;
    if (!startElement("visualdsp-project", attributes))
        return false;
    const auto content = enterContent(openContent, projectContent);
    Group* target = nullptr;
    readTarget(root, target);
    if (target != nullptr) {
        while (readConfigurations(*target)) {
        }
        while (startTag("folders") && readFolderList(*target)) {
        }
        readCustomDataTables();
    }
    return endTag("visualdsp-project");
}

bool ProjectReader::readTarget(Group& root, Group*& target)
{
    if (!startTag("target"))
        return false;
    const auto content = enterContent(openContent, targetContent);
    std::string processor;
    readTextElement("processor", TagTest::withAttributes, processor);
    if (!processor.empty())
        target = &addGroup(root, processor);
    std::string ignored;
    readTextElement("extension", TagTest::plain, ignored);
    readTextElement("type", TagTest::plain, ignored);
    return endTag("target");
}

bool ProjectReader::readConfigurations(Group& target)
{
    Attributes attributes;
    return startElement("configurations", attributes) &&
           readContent("configurations", configurationsContent, [&] { return readConfiguration(target); });
}

bool ProjectReader::readConfiguration(Group& target)
{
    Attributes attributes;
    if (!startElement("configuration", attributes))
        return false;
    const auto content = enterContent(openContent, configurationContent);
    std::string ignored;
    readTextElement("intermediate-dir", TagTest::plain, ignored);
    readTextElement("output-dir", TagTest::plain, ignored);
    readTextElement("changed-property-page-flags", TagTest::plain, ignored);
    Group& configuration = addGroup(target, unquotedAttribute(attributes, "name"));
    configuration.isConfiguration = true;
    readTools(configuration);
    readBuildStep("post-build-description");
    readBuildStep("post-build-command");
    return endTag("configuration");
}

bool ProjectReader::readTools(Group& configuration)
{
    return startTag("tools") && readContent("tools", toolsContent, [&] { return readTool(configuration); });
}

bool ProjectReader::readTool(Group& configuration)
{
    Attributes attributes;
    if (!startElement("tool", attributes))
        return false;
    const auto content = enterContent(openContent, toolContent);
    std::string option;
    readOption(option);
    if (unquotedAttribute(attributes, "type") == compilerToolType && !option.empty())
        readCompilerOption(configuration, option);
    return endTag("tool");
}

void ProjectReader::readCompilerOption(Group& configuration, const std::string& option)
{
    if (const std::optional<std::string> defines = optionList(option, std::string(defineFlag)))
        readDefineList(configuration, *defines);
    if (const std::optional<std::string> includes = optionList(option, std::string(includeFlag))) {
        for (std::string folder : cutIncludeList(*includes)) {
            converter.resolveProjectPath(folder);
            configuration.appendIncludePath(folder);
        }
    }
}

void ProjectReader::readDefineList(Group& configuration, const std::string& list)
{
    for (const auto& [name, value] : cutDefineList(list))
        configuration.setDefinition(name, value);
}

bool ProjectReader::readOption(std::string& option)
{
    if (!startTag("option"))
        return false;
    if (!lexer.readText(option)) {
        std::string markup;
        if (!lexer.readMarkup(markup))
            return false;
        // A comment or other markup is no option text; a CDATA section's
        // content is, without the brackets around it.
        option = cdataContent(markup).value_or(std::string());
    }
    return leafEndTag("option");
}

bool ProjectReader::readFolders(Group& group)
{
    return startTag("folders") && readFolderList(group);
}

// The content of a "folders" element whose start tag was read.
bool ProjectReader::readFolderList(Group& container)
{
    return readContent("folders", foldersContent, [&] { return readFolder(container); });
}

bool ProjectReader::readFolder(Group& group)
{
    skipUnknownElements();
    if (folderDepth == maxFolderDepth) {
        if (lexer.pendingStartTagName() == "folder")
            tokenRefused = true;
        return false;
    }
    Attributes attributes;
    if (!startElement("folder", attributes))
        return false;
    const ScopedValue<int> depth(folderDepth, folderDepth + 1);
    const auto content = enterContent(openContent, folderContent);
    const std::string name = unquotedAttribute(attributes, "name");
    if (name.find("Header Files") != std::string::npos)
        folderKind = FolderKind::header;
    else if (name.find("Linker Files") != std::string::npos)
        folderKind = FolderKind::linker;
    else if (name.find("Source Files") != std::string::npos)
        folderKind = FolderKind::source;

    if (startTag("folders")) {
        readFolderList(folderKind == FolderKind::source ? addGroup(group, name) : group);
    } else {
        while (readFiles(group, folderKind)) {
        }
        readFolders(group);
    }
    return endTag("folder");
}

bool ProjectReader::readFiles(Group& group, FolderKind kind)
{
    return startTag("files") && readContent("files", filesContent, [&] { return readFile(group, kind); });
}

bool ProjectReader::readFile(Group& group, FolderKind kind)
{
    Attributes attributes;
    if (!startElement("file", attributes))
        return false;
    const auto content = enterContent(openContent, fileContent);
    const std::string path = unquotedAttribute(attributes, "name");
    // A file with a complete per-configuration block is never a common file.
    if (!readFileConfigurations(group, path, kind))
        addFileEntry(group, path, kind, FileUse::common);
    return endTag("file");
}

bool ProjectReader::readFileConfigurations(Group& group, const std::string& path, FolderKind kind)
{
    return startTag("file-configurations") && readContent("file-configurations", fileConfigurationsContent,
                                                          [&] { return readFileConfiguration(group, path, kind); });
}

bool ProjectReader::readFileConfiguration(Group& group, const std::string& path, FolderKind kind)
{
    Attributes attributes;
    if (!startElement("file-configuration", attributes))
        return false;
    const auto content = enterContent(openContent, fileConfigurationContent);
    std::string flag;
    readExcludedFlag(flag);
    std::string ignored;
    readTextElement("build-with-flag", TagTest::withAttributes, ignored);
    readTextElement("intermediate-dir", TagTest::plain, ignored);
    readTextElement("output-dir", TagTest::plain, ignored);
    if (flag.find(notExcludedMark) != std::string::npos)
        addFileEntry(configurationGroup(group, unquotedAttribute(attributes, "name")), path, kind,
                     FileUse::perConfiguration);
    return endTag("file-configuration");
}

bool ProjectReader::readExcludedFlag(std::string& flag)
{
    Attributes attributes;
    if (!startElement("excluded-flag", attributes))
        return false;
    const auto value = attributes.find("value");
    flag = value == attributes.end() ? std::string() : value->second;
    // Written as "<excluded-flag value=.../>", the element has no text that
    // could replace the value; reading on would take the next token for it.
    if (lexer.lastStartTagWasEmpty())
        return true;
    return lexer.readText(flag) && leafEndTag("excluded-flag");
}

bool ProjectReader::readCustomDataTables()
{
    return startTag("custom-data-tables") &&
           readContent("custom-data-tables", customDataTablesContent, [&] { return readCustomDataTable(); });
}

bool ProjectReader::readCustomDataTable()
{
    Attributes attributes;
    return startElement("custom-data-table", attributes) &&
           readContent("custom-data-table", customDataTableContent, [&] { return readCustomData(); });
}

bool ProjectReader::readCustomData()
{
    Attributes attributes;
    if (!startElement("custom-data", attributes))
        return false;
    if (lexer.lastStartTagWasEmpty())
        return true;
    std::string ignored;
    return lexer.readMarkup(ignored) && leafEndTag("custom-data");
}

// A start tag, its text and its end tag; an empty-element tag is an element
// with empty text and no end tag.
bool ProjectReader::readTextElement(const std::string& name, TagTest test, std::string& content)
{
    Attributes attributes;
    const bool started = test == TagTest::plain ? startTag(name) : startElement(name, attributes);
    if (!started)
        return false;
    if (lexer.lastStartTagWasEmpty()) {
        content.clear();
        return true;
    }
    return lexer.readText(content) && leafEndTag(name);
}

// Its content, text or a CDATA section, is passed over by the end tag test.
bool ProjectReader::readBuildStep(const std::string& name)
{
    if (!startTag(name))
        return false;
    std::string ignored;
    lexer.readText(ignored);
    return leafEndTag(name);
}

void ProjectReader::addFileEntry(Group& group, const std::string& path, FolderKind kind, FileUse use)
{
    if (kind == FolderKind::header) {
        // A header named without any folder lies in the project folder.
        std::string folder = parentFolder(path).value_or(std::string(projectFolder));
        if (use == FileUse::common && folder == projectFolder)
            return;
        converter.resolveProjectPath(folder);
        group.addIncludePath(folder);
    } else if (kind == FolderKind::source && converter.acceptsExtension(path)) {
        group.addFile(converter.resolveSourceFilePath(path));
    }
}

Group& ProjectReader::addGroup(Group& parent, const std::string& name)
{
    auto child = std::make_unique<Group>(name, &converter);
    child->sourceDir = rootSourceDir;
    Group& added = *child;
    parent.addChild(std::move(child));
    lastChildByName[{&parent, name}] = &added;
    return added;
}

// The last child of that name; without one, a file of a folder group or a
// configuration nobody declared still needs a group, made on first need.
Group& ProjectReader::configurationGroup(Group& group, const std::string& name)
{
    const auto found = lastChildByName.find({&group, name});
    if (found != lastChildByName.end())
        return *found->second;
    Group& made = addGroup(group, name);
    made.isConfiguration = true;
    return made;
}

// The repeated children of an element whose start tag was read, and its end tag.
bool ProjectReader::readContent(const std::string& name, std::span<const std::string_view> content,
                                const std::function<bool()>& readChild)
{
    const auto scope = enterContent(openContent, content);
    while (readChild()) {
    }
    return endTag(name);
}

void ProjectReader::skipUnknownElements()
{
    if (tokenRefused || openContent.empty())
        return;
    for (std::string_view name = lexer.pendingStartTagName();
         !name.empty() && std::find(openContent.begin(), openContent.end(), name) == openContent.end();
         name = lexer.pendingStartTagName())
        lexer.skipElement();
}

// After a refusal every test fails: the reader stops at the refused token, and
// that token stays pending for the driver's message.
bool ProjectReader::startTag(const std::string& name)
{
    skipUnknownElements();
    return !tokenRefused && lexer.expectStartTag(name);
}

bool ProjectReader::startElement(const std::string& name, Attributes& attributes)
{
    skipUnknownElements();
    return !tokenRefused && lexer.expectElement(name, attributes);
}

bool ProjectReader::endTag(const std::string& name)
{
    skipUnknownElements();
    return leafEndTag(name);
}

// An end tag is never optional: when it is not there, the pending token has
// no place here.
bool ProjectReader::leafEndTag(const std::string& name)
{
    if (tokenRefused)
        return false;
    if (lexer.expectEndTag(name))
        return true;
    tokenRefused = true;
    return false;
}
