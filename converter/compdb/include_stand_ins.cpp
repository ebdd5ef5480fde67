#include "compdb/include_stand_ins.h"

#include "base/bounded_read.h"
#include "base/errors.h"
#include "base/file_preview.h"
#include "base/open_file.h"
#include "platform/file_identity.h"
#include "platform/platform.h"
#include "report/conversion_report.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view blanks = " \t";
constexpr std::string_view includeDirective = "include";
constexpr char hostSeparator = '/';
// What an #include line cannot hold between its quotes, or its angle brackets.
constexpr std::string_view lineBreaks = std::string_view("\r\n\0", 3);

std::string_view skipBlanks(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(blanks);
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

} // namespace

// The header a line includes, if it is an #include line.
std::optional<IncludeStandIns::Include> IncludeStandIns::includeOn(std::string_view line)
{
    line = skipBlanks(line);
    if (!line.starts_with('#')) {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(1));
    if (!line.starts_with(includeDirective)) {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(includeDirective.size()));
    if (line.empty() || (line[0] != '"' && line[0] != '<')) {
        return std::nullopt;
    }
    const bool quoted = line[0] == '"';
    const std::size_t close = line.find(quoted ? '"' : '>', 1);
    if (close == std::string_view::npos || close == 1) {
        return std::nullopt;
    }
    return Include{std::string(line.substr(1, close - 1)), quoted};
}

namespace {

std::string folderOf(const std::string& hostFile)
{
    const std::size_t last = hostFile.rfind(hostSeparator);
    return last == std::string::npos ? "." : hostFile.substr(0, last);
}

std::string withHostSeparators(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', hostSeparator);
    return name;
}

} // namespace

void IncludeStandIns::scan(const std::string& hostSource, const std::vector<std::string>& searchFolders)
{
    // A work list, not recursion: include chains are as deep as a project makes them.
    std::vector<Found> pending{{hostSource, {}}};
    while (!pending.empty()) {
        const Found found = std::move(pending.back());
        pending.pop_back();
        const std::optional<std::string> identity = platform::hostFileIdentity(found.file);
        if (!identity) {
            continue;
        }
        const auto [known, isNew] = scanned_.try_emplace(*identity);
        std::optional<std::string> content;
        if (isNew) {
            content = contentOf(found.file, known->second);
        }
        // A stand-in of a device or a pipe would hand clang what the scan leaves.
        if (found.standInName && known->second) {
            noteStandIn(*found.standInName, found.file);
        }
        if (!content) {
            continue;
        }
        const std::string folder = folderOf(found.file);
        for (std::size_t start = 0; start < content->size();) {
            const std::size_t end = std::min(content->find('\n', start), content->size());
            const std::optional<Include> include = includeOn(std::string_view(*content).substr(start, end - start));
            // The same include from the same folder leads where it led before.
            if (include && looked_.insert(folder + '\0' + (include->quoted ? '"' : '<') + include->name).second) {
                if (std::optional<Found> included = find(*include, folder, searchFolders)) {
                    pending.push_back(std::move(*included));
                }
            }
            start = end + 1;
        }
    }
}

std::optional<std::string> IncludeStandIns::contentOf(const std::string& file, bool& regular)
{
    const platform::OpenedHostFile opened = platform::openRegularHostFile(file);
    regular = opened.outcome == platform::HostFileOpening::opened;
    if (!regular) {
        report_.notScanned(configuration_, file,
                           opened.outcome == platform::HostFileOpening::notRegular ? "not a regular file"
                                                                                   : "cannot be opened");
        return std::nullopt;
    }
    const OpenFile in(opened.file);
    BoundedText read = readWholeAtMost(in.get(), maxScannedFileBytes);
    if (read.outcome == BoundedReading::whole) {
        return std::move(read.text);
    }
    report_.notScanned(configuration_, file,
                       read.outcome == BoundedReading::failed ? "cannot be read"
                                                              : "longer than " + mebibytes(maxScannedFileBytes));
    return std::nullopt;
}

std::optional<IncludeStandIns::Found> IncludeStandIns::find(const Include& include, const std::string& includingFolder,
                                                            const std::vector<std::string>& searchFolders)
{
    std::vector<std::string> folders;
    if (include.quoted) {
        folders.push_back(includingFolder);
    }
    folders.insert(folders.end(), searchFolders.begin(), searchFolders.end());
    for (const std::string& folder : folders) {
        const std::string literal = folder + hostSeparator + include.name;
        if (platform::hostEntryExists(literal)) {
            return Found{literal, {}};
        }
    }
    for (const std::string& folder : folders) {
        if (std::optional<std::string> found = hostFiles_.existingHost(folder + hostSeparator +
                                                                       withHostSeparators(include.name))) {
            return Found{std::move(*found), include.name};
        }
    }
    return std::nullopt;
}

void IncludeStandIns::noteStandIn(const std::string& name, const std::string& file)
{
    if (standIns_.contains(name) || leftOut_.contains(name)) {
        return;
    }
    // A name that leads through folders would need folders of stand-ins.
    if (name.find(hostSeparator) != std::string::npos) {
        leftOut_.insert(name);
        report_.noStandIn(configuration_, name, "the name leads through folders: " + file);
        return;
    }
    // A path that holds a double quote can still be written in angle
    // brackets, which an absolute path needs no search folder for.
    if (file.find_first_of(lineBreaks) != std::string::npos ||
        (file.find('"') != std::string::npos && file.find('>') != std::string::npos)) {
        leftOut_.insert(name);
        report_.noStandIn(configuration_, name, "no #include line can name the file: " + file);
        return;
    }
    const bool quoted = file.find('"') == std::string::npos;
    standIns_.emplace(name, std::string("#include ") + (quoted ? '"' : '<') + file + (quoted ? '"' : '>') + "\n");
}

void writeStandIns(const std::map<std::string, std::string>& standIns, const std::string& hostFolder,
                   FilePreview* preview)
{
    for (const auto& [name, text] : standIns) {
        const std::string path = hostFolder + hostSeparator + name;
        if (preview != nullptr) {
            preview->add(preview->start(path), text);
            continue;
        }
        std::FILE* out = platform::createHostFile(path);
        const bool written = out != nullptr && std::fputs(text.c_str(), out) >= 0;
        if (out == nullptr || std::fclose(out) != 0 || !written) {
            throw IOERROR(IOERROR::cannotWriteFile, path);
        }
    }
}
