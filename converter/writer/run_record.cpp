#include "writer/run_record.h"

#include "base/content_digest.h"

#include <charconv>

namespace {

constexpr std::string_view header = "Projbridge run record 1";
constexpr std::string_view fileWord = "file ";
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
    file.path = line;
    return file;
}

} // namespace

std::string runRecordText(const RunRecord& record)
{
    std::string text(header);
    text += lineEnd;
    for (const RecordedFile& file : record.files) {
        text += fileWord;
        text += std::to_string(file.written.size) + ' ' + digestText(file.written.digest) + ' ';
        text += file.path;
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
        } else if (line.starts_with(fileWord)) {
            std::optional<RecordedFile> file = parseFileLine(line.substr(fileWord.size()));
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
    return record;
}
