// The project file reader: one operation per element, each asking the lexer
// for the tokens it expects in their fixed order and returning whether its
// element was read up to its end tag.
#include "reader/project_reader.h"

#include "base/install_variables.h"
#include "base/trim_char.h"
#include "base/windows_path.h"
#include "reader/option_lists.h"
#include "reader/option_words.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// Files the IDE shows directly under the project, beside its folders.
constexpr FolderKind directlyUnderProject = FolderKind::byExtension;

// What each element holds. A start tag of any other name met there belongs to
// an element this reader does not know, and is read over with its content.
constexpr std::array<std::string_view, 5> projectContent{"target", "configurations", "folders", "files",
                                                         "custom-data-tables"};
constexpr std::array<std::string_view, 3> targetContent{"processor", "extension", "type"};
constexpr std::array<std::string_view, 1> configurationsContent{"configuration"};
constexpr std::array<std::string_view, 6> configurationContent{
    "intermediate-dir",       "output-dir",        "changed-property-page-flags", "tools",
    "post-build-description", "post-build-command"};
constexpr std::array<std::string_view, 1> toolsContent{"tool"};
constexpr std::array<std::string_view, 1> toolContent{"option"};
constexpr std::array<std::string_view, 1> foldersContent{"folder"};
constexpr std::array<std::string_view, 2> folderContent{"folders", "files"};
constexpr std::array<std::string_view, 1> customDataTablesContent{"custom-data-table"};
constexpr std::array<std::string_view, 1> customDataTableContent{"custom-data"};

// Folders nested deeper are refused: this bounds the reader's recursion and
// the depth of the group tree that the writer walks.
constexpr int maxFolderDepth = 256;


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

} // namespace

bool ProjectReader::readProject(Group& root)
{
    rootSourceDir = root.sourceDir;
    if (!startElement(projectElementName)) {
        return false;
    }
    foundProject_ = true;
    root.ideProjectName = attribute("name");
    return readElementContent(projectElementName, projectContent, [&] {
        readFilesOutsideFolders(root);
        readTarget(root);
        readFilesOutsideFolders(root);
        if (target != nullptr) {
            while (readConfigurations(*target) || readFiles(*target, directlyUnderProject)) {
            }
            while ((startTag("folders") && readFolderList(*target)) || readFiles(*target, directlyUnderProject)) {
            }
            readCustomDataTables();
            readFilesOutsideFolders(*target);
        }
    });
}

// The IDE writes the files directly under the project after the folders, and
// builds them for every configuration: they are the target's, each by its
// extension. Before the target they belong to nothing, and are read over.
void ProjectReader::readFilesOutsideFolders(Group& group)
{
    while (readFiles(group, &group == target ? directlyUnderProject : FolderKind::outsideFolders)) {
    }
}

bool ProjectReader::readTarget(Group& root)
{
    if (!startTag("target")) {
        return false;
    }
    return readElementContent("target", targetContent, [&] {
        std::string processor;
        readTextElement("processor", TagTest::withAttributes, &processor);
        // A formatter may have put the name on a line of its own.
        processor = trimChar(processor, whitespace);
        if (!processor.empty()) {
            target = &addGroup(root, processor);
        }
        readTextElement("extension", TagTest::plain);
        readTextElement("type", TagTest::plain);
    });
}

bool ProjectReader::readConfigurations(Group& target)
{
    if (!startElement("configurations")) {
        return false;
    }
    target.activeConfiguration = attribute("active");
    return readContent("configurations", configurationsContent, [&] { return readConfiguration(target); });
}

bool ProjectReader::readConfiguration(Group& target)
{
    if (!startElement("configuration")) {
        return false;
    }
    const std::string name(attribute("name"));
    // The group stays whatever its content holds, even none.
    Group& configuration = addGroup(target, name);
    configuration.isConfiguration = true;
    const bool read = readElementContent("configuration", configurationContent, [&] {
        readTextElement("intermediate-dir", TagTest::plain);
        readTextElement("output-dir", TagTest::plain);
        readTextElement("changed-property-page-flags", TagTest::plain);
        readTools(configuration);
        readBuildStep("post-build-description");
        readBuildStep("post-build-command");
    });
    configurationSettings.insert_or_assign(
        name, ConfigurationSettings{configuration.includePaths(), configuration.definitions()});
    return read;
}

bool ProjectReader::readTools(Group& configuration)
{
    return startTag("tools") && readContent("tools", toolsContent, [&] { return readTool(configuration); });
}

bool ProjectReader::readTool(Group& configuration)
{
    if (!startElement("tool")) {
        return false;
    }
    const std::string type(attribute("type"));
    return readElementContent("tool", toolContent, [&] {
        std::string option;
        readOption(option);
        if (type == compilerToolType && !option.empty()) {
            readCompilerOption(configuration, option);
        }
        configuration.toolOptions[type] += option;
    });
}

void ProjectReader::readCompilerOption(Group& configuration, const std::string& option)
{
    for (const MacroDefinition& macro : optionMacros(option)) {
        configuration.setDefinition(macro.name, macro.value);
        report.definition(configuration.name, macro.name, macro.value);
    }
    if (const std::optional<std::string> includes = optionList(option, std::string(includeFlag))) {
        for (const std::string& asWritten : cutIncludeList(*includes)) {
            std::string folder = asWritten;
            paths.resolveProjectPath(folder);
            noteInstallVariables(folder);
            configuration.appendIncludePath(folder);
            report.includeFolder(configuration.name, asWritten, folder);
        }
    }
}

bool ProjectReader::readOption(std::string& option)
{
    if (!startTag("option")) {
        return false;
    }
    if (lexer.lastStartTagWasEmpty()) {
        option.clear();
        return true;
    }
    if (!lexer.readText(option)) {
        std::string markup;
        if (!lexer.readMarkup(markup)) {
            return false;
        }
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
        if (lexer.pendingStartTagName() == "folder") {
            tokenRefused = true;
        }
        return false;
    }
    if (!startElement("folder")) {
        return false;
    }
    const std::string name(attribute("name"));
    // A folder whose name tells no kind has that of the folder around it.
    const FolderKind kind = kindNamedIn(name).value_or(folderKind);
    const ScopedValue<int> depth(folderDepth, folderDepth + 1);
    const ScopedValue<FolderKind> kindInside(folderKind, kind);
    return readElementContent("folder", folderContent, [&] {
        if (startTag("folders")) {
            readFolderList(kind == FolderKind::source ? addGroup(group, name) : group);
        } else {
            while (readFiles(group, kind)) {
            }
            readFolders(group);
        }
    });
}

bool ProjectReader::readCustomDataTables()
{
    return startTag("custom-data-tables") &&
           readContent("custom-data-tables", customDataTablesContent, [&] { return readCustomDataTable(); });
}

bool ProjectReader::readCustomDataTable()
{
    return startElement("custom-data-table") &&
           readContent("custom-data-table", customDataTableContent, [&] { return readCustomData(); });
}

bool ProjectReader::readCustomData()
{
    if (!startElement("custom-data")) {
        return false;
    }
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    std::string ignored;
    return lexer.readMarkup(ignored) && leafEndTag("custom-data");
}

// A start tag, its text and its end tag; an empty-element tag is an element
// with empty text and no end tag.
bool ProjectReader::readTextElement(std::string_view name, TagTest test, std::string* content)
{
    const bool started = test == TagTest::withAttributes ? startElement(name) : startTag(name);
    return started && readTextContent(name, content);
}

// What follows a text element's start tag.
bool ProjectReader::readTextContent(std::string_view name, std::string* content)
{
    if (lexer.lastStartTagWasEmpty()) {
        if (content != nullptr) {
            content->clear();
        }
        return true;
    }
    const bool read = content != nullptr ? lexer.readText(*content) : lexer.skipText();
    return read && leafEndTag(name);
}

// Its content, text or a CDATA section, is passed over by the end tag test.
bool ProjectReader::readBuildStep(std::string_view name)
{
    if (!startTag(name)) {
        return false;
    }
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    lexer.skipText();
    return leafEndTag(name);
}

void ProjectReader::skipUnknownElements(std::string_view asked)
{
    if (tokenRefused || openContent.empty()) {
        return;
    }
    assert(asked.empty() || std::find(openContent.begin(), openContent.end(), asked) != openContent.end());
    for (std::string_view name = lexer.pendingStartTagName();
         !name.empty() && name != asked && std::find(openContent.begin(), openContent.end(), name) == openContent.end();
         name = lexer.pendingStartTagName()) {
        report.unknownElement(name, lexer.tokenLine());
        lexer.skipElement();
    }
}

// After a refusal every test fails: the reader stops at the refused token, and
// that token stays pending for the driver's message.
// The tag without attributes, in any of its forms.
bool ProjectReader::startTag(std::string_view name)
{
    skipUnknownElements(name);
    return !tokenRefused && lexer.expectStartTag(name);
}

bool ProjectReader::startElement(std::string_view name)
{
    skipUnknownElements(name);
    return !tokenRefused && lexer.expectElement(name, tagAttributes);
}

bool ProjectReader::endTag(std::string_view name)
{
    skipUnknownElements();
    return leafEndTag(name);
}

// An end tag is never optional: when it is not there, the pending token has
// no place here.
bool ProjectReader::leafEndTag(std::string_view name)
{
    if (tokenRefused) {
        return false;
    }
    if (lexer.expectEndTag(name)) {
        return true;
    }
    tokenRefused = true;
    return false;
}
