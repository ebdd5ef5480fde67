// The reader's part for file entries: what each becomes, in which group, and
// what the report hears of it.
#include "reader/project_reader.h"

#include "base/install_variables.h"
#include "base/windows_path.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view notExcludedMark = "no";
constexpr std::string_view projectFolder = ".";
// A file built with options of its own, which no group of the analyser
// project can hold for one file.
constexpr std::string_view ownBuildOptions = "file";
constexpr std::string_view ownBuildOptionsSetting = "build-with-flag value=\"file\": options of its own";
constexpr std::array<std::string_view, 1> filesContent{"file"};
constexpr std::array<std::string_view, 1> fileContent{"file-configurations"};
constexpr std::array<std::string_view, 1> fileConfigurationsContent{"file-configuration"};
constexpr std::array<std::string_view, 4> fileConfigurationContent{"excluded-flag", "build-with-flag",
                                                                   "intermediate-dir", "output-dir"};

} // namespace

bool ProjectReader::readFiles(Group& group, FolderKind kind)
{
    return startTag("files") && readContent("files", filesContent, [&] { return readFile(group, kind); });
}

bool ProjectReader::readFile(Group& group, FolderKind kind)
{
    if (!startElement("file")) {
        return false;
    }
    // One string for every entry, so that an entry's path costs no allocation.
    std::string& path = entryPath;
    path.assign(attribute("name"));
    const FileRole role = fileRole(path, kind);
    report.fileEntryBegins();
    bool perConfiguration = false;
    const bool read = readElementContent("file", fileContent,
                                         [&] { perConfiguration = readFileConfigurations(group, path, kind, role); });
    // A file with a complete per-configuration block is never a common file.
    if (!perConfiguration) {
        addFileEntry(group, path, kind, role, FileUse::common);
    }
    report.fileEntryEnds();
    return read;
}

bool ProjectReader::readFileConfigurations(Group& group, const std::string& path, FolderKind kind, FileRole role)
{
    return startTag("file-configurations") && readContent("file-configurations", fileConfigurationsContent, [&] {
               return readFileConfiguration(group, path, kind, role);
           });
}

bool ProjectReader::readFileConfiguration(Group& group, const std::string& path, FolderKind kind, FileRole role)
{
    if (!startElement("file-configuration")) {
        return false;
    }
    const std::string name(attribute("name"));
    std::string flag;
    bool ownOptions = false;
    const bool read = readElementContent("file-configuration", fileConfigurationContent, [&] {
        readExcludedFlag(flag);
        if (startElement("build-with-flag")) {
            ownOptions = attribute("value") == ownBuildOptions;
            readTextContent("build-with-flag");
        }
        readTextElement("intermediate-dir", TagTest::plain);
        readTextElement("output-dir", TagTest::plain);
    });
    if (flag.find(notExcludedMark) == std::string::npos) {
        report.fileNotTaken(name, path, NotTakenBecause::excludedInConfiguration);
    } else if (role == FileRole::notTaken) {
        // A file not taken makes no configuration group.
        report.fileNotTaken(name, path, whyNotTaken(path, kind));
    } else {
        addFileEntry(configurationGroup(group, name), path, kind, role, FileUse::perConfiguration);
        if (ownOptions) {
            report.settingNotCarried(name, path, ownBuildOptionsSetting);
        }
    }
    return read;
}

bool ProjectReader::readExcludedFlag(std::string& flag)
{
    if (!startElement("excluded-flag")) {
        return false;
    }
    const std::string* value = tagAttributes.find("value");
    flag = value == nullptr ? std::string() : *value;
    // Written as "<excluded-flag value=.../>", the element has no text that
    // could replace the value; reading on would take the next token for it.
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    return lexer.readText(flag) && leafEndTag("excluded-flag");
}

// Whether a file is taken, and as what: by its folder's kind, or by its own
// extension in a folder of no kind; a source also by the extension list.
FileRole ProjectReader::fileRole(const std::string& path, FolderKind kind) const
{
    const FileRole role = roleByFolder(path, kind);
    if (role == FileRole::source && !extensions.accepts(path)) {
        return FileRole::notTaken;
    }
    return role;
}

void ProjectReader::addFileEntry(Group& group, const std::string& path, FolderKind kind, FileRole role, FileUse use)
{
    const std::string configuration = use == FileUse::common ? std::string() : group.name;
    if (role == FileRole::header) {
        // A header named without any folder lies in the project folder.
        const std::string asWritten(parentFolder(path).value_or(projectFolder));
        if (use == FileUse::common && asWritten == projectFolder) {
            report.fileNotTaken(configuration, path, NotTakenBecause::headerInProjectFolder);
            return;
        }
        std::string folder = asWritten;
        paths.resolveProjectPath(folder);
        noteInstallVariables(folder);
        group.addIncludePath(folder);
        report.headerTaken(configuration, path, group, folder);
        report.includeFolder(configuration, asWritten, folder);
    } else if (role == FileRole::source) {
        const std::string& resolved = resolvedSourcePath(path);
        group.addFile(resolved);
        report.sourceTaken(configuration, path, group, resolved);
    } else {
        report.fileNotTaken(configuration, path, whyNotTaken(path, kind));
    }
}

// The configurations of one entry take its path one after another: it is
// resolved once for them all.
const std::string& ProjectReader::resolvedSourcePath(const std::string& path)
{
    if (path != lastSourcePath || lastResolvedSource.empty()) {
        lastSourcePath = path;
        paths.resolveSourceFilePath(path, lastResolvedSource);
        noteInstallVariables(lastResolvedSource);
    }
    return lastResolvedSource;
}

void ProjectReader::noteInstallVariables(const std::string& path)
{
    if (paths.installFolder().empty() && holdsInstallVariable(path)) {
        keptInstallVariables_ = true;
    }
}

Group& ProjectReader::addGroup(Group& parent, const std::string& name)
{
    auto child = std::make_unique<Group>(name);
    child->sourceDir = rootSourceDir;
    Group& added = *child;
    parent.addChild(std::move(child));
    lastChildByName.insert_or_assign(ChildName(&parent, name), &added);
    report.groupAdded(parent, added, name);
    return added;
}

// The last child of that name; without one, a file of a folder group or a
// configuration nobody declared still needs a group, made on first need.
Group& ProjectReader::configurationGroup(Group& group, const std::string& name)
{
    if (const auto found = lastChildByName.find(ChildNameView(&group, name)); found != lastChildByName.end()) {
        return *found->second;
    }
    Group& made = addGroup(group, name);
    made.isConfiguration = true;
    // Inside a source-folder group, the files are analysed with the settings
    // of their configuration all the same.
    const auto settings = configurationSettings.find(name);
    if (&group != target && settings != configurationSettings.end()) {
        for (const std::string& folder : settings->second.includePaths) {
            made.appendIncludePath(folder);
        }
        for (const auto& [macro, value] : settings->second.definitions) {
            made.setDefinition(macro, value);
        }
    }
    return made;
}
