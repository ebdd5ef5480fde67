#include "record/run_record.h"

#include "base/content_digest.h"
#include "base/windows_path.h"
#include "platform/platform.h"
#include "record/reconversion.h"

#include <charconv>
#include <unordered_set>

namespace {

constexpr std::string_view header = "Projbridge run record 1";
constexpr std::string_view fileWord = "file ";
constexpr std::string_view standInWord = "stand-in ";
// Between a stand-in's folder and its name, which may hold blanks and backslashes.
constexpr char standInNameStart = '\t';
constexpr std::string_view folderWord = "folder ";
constexpr std::string_view lineEnd = "\r\n";

// The next space-separated field of `line`, taken off its front.
std::string_view takeField(std::string_view& line)
{
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
        const std::string_view field = line;
        line = {};
        return field;
    }
    const std::string_view field = line.substr(0, space);
    line.remove_prefix(space + 1);
    return field;
}

std::optional<RecordedFile> parseFileLine(std::string_view line)
{
    const std::string_view size = takeField(line);
    const std::string_view digest = takeField(line);
    RecordedFile file;
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), file.written.size);
    if (size.empty() || error != std::errc() || end != size.data() + size.size() ||
        !parseDigestText(digest, file.written.digest) || line.empty()) {
        return std::nullopt;
    }
    file.name.path = line;
    return file;
}

std::optional<RecordedFile> parseStandInLine(std::string_view line)
{
    std::optional<RecordedFile> file = parseFileLine(line);
    if (!file) {
        return std::nullopt;
    }
    const std::size_t nameStart = file->name.path.find(standInNameStart);
    if (nameStart == 0 || nameStart == std::string::npos || nameStart + 1 == file->name.path.size()) {
        return std::nullopt;
    }
    file->name.standInName = file->name.path.substr(nameStart + 1);
    file->name.path.resize(nameStart);
    return file;
}

// A stand-in line is believed only where the converter itself would have
// written: right inside a folder the record says it made.
void dropStandInsElsewhere(RunRecord& record)
{
    std::unordered_set<std::string> made;
    for (const std::string& folder : record.folders) {
        made.insert(pathKey(folder));
    }
    std::erase_if(record.files, [&](const RecordedFile& file) {
        return !file.name.standInName.empty() &&
               (!made.contains(pathKey(file.name.path)) || !platform::isHostFileName(file.name.standInName));
    });
}

} // namespace

std::string shownName(const OutputName& name)
{
    return name.standInName.empty() ? name.path : joinPath(name.path, name.standInName);
}

std::string runRecordText(const RunRecord& record)
{
    std::string text(header);
    text += lineEnd;
    for (const RecordedFile& file : record.files) {
        const bool standIn = !file.name.standInName.empty();
        text += standIn ? standInWord : fileWord;
        text += std::to_string(file.written.size) + ' ' + digestText(file.written.digest) + ' ';
        text += file.name.path;
        if (standIn) {
            text += standInNameStart;
            text += file.name.standInName;
        }
        text += lineEnd;
    }
    for (const std::string& folder : record.folders) {
        text += folderWord;
        text += folder;
        text += lineEnd;
    }
    return text;
}

std::optional<RunRecord> parseRunRecord(std::string_view text)
{
    RunRecord record;
    bool headerRead = false;
    while (!text.empty()) {
        const std::size_t lineFeed = text.find('\n');
        // A record cut short ends in the middle of a line.
        if (lineFeed == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view line = text.substr(0, lineFeed);
        text.remove_prefix(lineFeed + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (!headerRead) {
            if (line != header) {
                return std::nullopt;
            }
            headerRead = true;
        } else if (const bool standIn = line.starts_with(standInWord); standIn || line.starts_with(fileWord)) {
            std::optional<RecordedFile> file = standIn ? parseStandInLine(line.substr(standInWord.size()))
                                                       : parseFileLine(line.substr(fileWord.size()));
            if (!file) {
                return std::nullopt;
            }
            record.files.push_back(std::move(*file));
        } else if (line.starts_with(folderWord) && line.size() > folderWord.size()) {
            record.folders.emplace_back(line.substr(folderWord.size()));
        } else {
            return std::nullopt;
        }
    }
    if (!headerRead) {
        return std::nullopt;
    }
    dropStandInsElsewhere(record);
    return record;
}
