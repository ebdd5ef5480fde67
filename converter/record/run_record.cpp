#include "record/run_record.h"

#include "base/byte_words.h"
#include "base/content_digest.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <unordered_set>

namespace {

constexpr std::string_view header = "Projbridge run record 2";
// Named absolute paths; read for the files in this run's roots.
constexpr std::string_view absoluteHeader = "Projbridge run record 1";
constexpr std::string_view fileWord = "file";
constexpr std::string_view standInWord = "stand-in";
constexpr std::string_view folderWord = "folder";
constexpr std::string_view baseWord = "base";
// Between a stand-in's folder and its name, which may hold blanks and backslashes.
constexpr char standInNameStart = '\t';
constexpr std::string_view lineEnd = "\r\n";
constexpr char escape = '%';
constexpr std::string_view hexDigits = "0123456789ABCDEF";

enum class Root { destination, databases, report };
constexpr std::array<std::pair<Root, std::string_view>, 3> rootWords{
    {{Root::destination, "destination"}, {Root::databases, "databases"}, {Root::report, "report"}}};

const std::string& rootPath(const RecordRoots& roots, Root root)
{
    return root == Root::destination ? roots.destination : root == Root::databases ? roots.databases : roots.report;
}

// A line break, a tab or any other control byte in a name would end its line
// or its field: each is written as %XX, and so is the escape itself. Runs of
// other bytes go over whole: a base is the text of a whole project file.
void appendEscaped(std::string& text, std::string_view name)
{
    constexpr unsigned char deleteByte = 0x7F;
    const auto escapedInWord = [](std::uint64_t word) {
        return byte_words::below(word, ' ') | byte_words::equalTo(word, escape) |
               byte_words::equalTo(word, deleteByte);
    };
    const auto isEscaped = [](unsigned char byte) { return byte < ' ' || byte == deleteByte || byte == escape; };
    for (std::size_t from = 0;;) {
        const std::size_t special = byte_words::firstFound(name, from, escapedInWord, isEscaped);
        text.append(name.substr(from, special - from));
        if (special == name.size()) {
            return;
        }
        const auto byte = static_cast<unsigned char>(name[special]);
        text += escape;
        text += hexDigits[byte >> 4];
        text += hexDigits[byte & 0xF];
        from = special + 1;
    }
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string name;
    name.reserve(text.size());
    for (std::size_t from = 0;;) {
        const std::size_t special = std::min(text.find(escape, from), text.size());
        name.append(text.substr(from, special - from));
        if (special == text.size()) {
            return name;
        }
        unsigned value = 0;
        const char* digits = text.data() + special + 1;
        if (special + 2 >= text.size() ||
            std::from_chars(digits, digits + 2, value, 16) != std::from_chars_result{digits + 2, std::errc()}) {
            return std::nullopt;
        }
        name += static_cast<char>(value);
        from = special + 3;
    }
}

// The next space-separated field of `line`, taken off its front.
std::string_view takeField(std::string_view& line)
{
    const std::size_t space = line.find(' ');
    const std::string_view field = line.substr(0, space);
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
    return field;
}

// The root a path lies in and its path there: the innermost root, so that
// databases kept inside the destination are the databases'. Where the
// databases' folder is the destination or holds it, the destination's files
// stay the destination's: a later run without -compdb still knows them.
std::optional<std::pair<Root, std::string>> placeIn(const RecordRoots& roots, const std::string& path)
{
    if (!roots.report.empty() && path == roots.report) {
        return std::pair{Root::report, std::string()};
    }
    const auto inside = [&](const std::string& folder) {
        return !folder.empty() && path.size() > folder.size() + 1 && path.starts_with(folder) &&
               path[folder.size()] == '\\';
    };
    const bool inDestination = inside(roots.destination);
    if (inside(roots.databases) && (!inDestination || roots.databases.size() > roots.destination.size())) {
        return std::pair{Root::databases, path.substr(roots.databases.size() + 1)};
    }
    if (inDestination) {
        return std::pair{Root::destination, path.substr(roots.destination.size() + 1)};
    }
    return std::nullopt;
}

// A path inside its root: parts that each name an entry right inside the one
// before, no drive, no root, no "." or "..".
bool staysInside(std::string_view relative)
{
    if (relative.empty() || hasDrive(relative)) {
        return false;
    }
    for (const std::string_view part : pathParts(relative)) {
        if (!platform::isHostFileName(std::string(part))) {
            return false;
        }
    }
    return true;
}

// What one line of a record says, before it is placed in this run's roots.
struct RecordLine {
    enum class Kind { file, standIn, folder } kind;
    std::optional<RecordedFile> file;
    std::string folder;
};

std::optional<Fingerprint> takeFingerprint(std::string_view& line)
{
    const std::string_view size = takeField(line);
    const std::string_view digest = takeField(line);
    Fingerprint fingerprint;
    const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), fingerprint.size);
    if (size.empty() || error != std::errc() || end != size.data() + size.size() ||
        !parseDigestText(digest, fingerprint.digest)) {
        return std::nullopt;
    }
    return fingerprint;
}

class RecordParser {
public:
    RecordParser(const RecordRoots& roots, bool absolute) : roots(roots), absolute(absolute) {}

    // False for a line that is no record line at all: the record is damaged.
    bool take(std::string_view line, RunRecord& record)
    {
        const std::string_view whole = line;
        const std::string_view word = takeField(line);
        if (word == baseWord && !absolute) {
            return takeBase(line, record);
        }
        const bool isFolder = word == folderWord;
        if (!isFolder && word != fileWord && word != standInWord) {
            return false;
        }
        std::optional<Fingerprint> written;
        if (!isFolder && !(written = takeFingerprint(line))) {
            return false;
        }
        std::optional<Root> root;
        if (!absolute) {
            const std::string_view rootWord = takeField(line);
            for (const auto& [named, text] : rootWords) {
                root = text == rootWord ? std::optional(named) : root;
            }
            if (!root) {
                return false;
            }
        }
        std::string_view nameText;
        if (word == standInWord) {
            const std::size_t nameStart = line.find(standInNameStart);
            if (nameStart == 0 || nameStart == std::string_view::npos || nameStart + 1 == line.size()) {
                return false;
            }
            nameText = line.substr(nameStart + 1);
            line = line.substr(0, nameStart);
        }
        std::optional<std::string> path = absolute ? std::optional(std::string(line)) : unescaped(line);
        std::optional<std::string> name = absolute ? std::optional(std::string(nameText)) : unescaped(nameText);
        if (!path || !name || (line.empty() && root != Root::report)) {
            return false;
        }
        if (root && rootPath(roots, *root).empty()) {
            record.carried.emplace_back(whole);
            return true;
        }
        std::optional<std::string> placed = absolute ? inRootsAsNamed(*path) : placed_(*root, *path);
        if (!placed) {
            return true;
        }
        if (isFolder) {
            record.folders.push_back(std::move(*placed));
        } else {
            record.files.push_back({{std::move(*placed), std::move(*name)}, *written});
        }
        return true;
    }

private:
    static bool takeBase(std::string_view line, RunRecord& record)
    {
        const std::optional<Fingerprint> written = takeFingerprint(line);
        std::optional<std::string> content = unescaped(line);
        if (!written || !content) {
            return false;
        }
        ContentDigest digest;
        digest.add(*content);
        if (content->size() == written->size && digest.value() == written->digest) {
            record.bases.push_back({*written, std::move(*content)});
        }
        return true;
    }

    std::optional<std::string> placed_(Root root, const std::string& relative) const
    {
        const std::string& folder = rootPath(roots, root);
        if (root == Root::report) {
            return relative.empty() ? std::optional(folder) : std::nullopt;
        }
        return staysInside(relative) ? std::optional(joinPath(folder, relative)) : std::nullopt;
    }

    // An absolute path of an earlier record, spelled as this run spells its
    // roots, or nothing when it lies in none of them.
    std::optional<std::string> inRootsAsNamed(const std::string& path) const
    {
        const std::string key = pathKey(path);
        for (const Root root : {Root::report, Root::databases, Root::destination}) {
            const std::string& folder = rootPath(roots, root);
            if (folder.empty()) {
                continue;
            }
            const std::string folderKey = pathKey(folder);
            if (root == Root::report ? key == folderKey
                                     : key.size() > folderKey.size() + 1 && key.starts_with(folderKey) &&
                                           key[folderKey.size()] == '\\') {
                return placed_(root, root == Root::report ? std::string() : path.substr(folder.size() + 1));
            }
        }
        return std::nullopt;
    }

    const RecordRoots& roots;
    bool absolute;
};

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
    return shownFilePath(name.path, name.standInName);
}

std::string runRecordText(const RunRecord& record, const RecordRoots& roots)
{
    std::string text(header);
    text += lineEnd;
    // The word, what comes before the place, then the root and the path in it.
    const auto addLine = [&](std::string_view word, const std::string& fields, const std::string& path) {
        const std::optional<std::pair<Root, std::string>> place = placeIn(roots, path);
        if (!place) {
            return false;
        }
        text += word;
        text += ' ';
        text += fields;
        text += rootWords[static_cast<std::size_t>(place->first)].second;
        if (!place->second.empty()) {
            text += ' ';
            appendEscaped(text, place->second);
        }
        return true;
    };
    for (const RecordedFile& file : record.files) {
        const bool standIn = !file.name.standInName.empty();
        const std::string fingerprint =
            std::to_string(file.written.size) + ' ' + digestText(file.written.digest) + ' ';
        if (addLine(standIn ? standInWord : fileWord, fingerprint, file.name.path)) {
            if (standIn) {
                text += standInNameStart;
                appendEscaped(text, file.name.standInName);
            }
            text += lineEnd;
        }
    }
    for (const std::string& folder : record.folders) {
        if (addLine(folderWord, {}, folder)) {
            text += lineEnd;
        }
    }
    for (const RecordedBase& base : record.bases) {
        text += std::string(baseWord) + ' ' + std::to_string(base.written.size) + ' ' +
                digestText(base.written.digest) + ' ';
        appendEscaped(text, base.content);
        text += lineEnd;
    }
    for (const std::string& line : record.carried) {
        text += line;
        text += lineEnd;
    }
    return text;
}

std::optional<RunRecord> parseRunRecord(std::string_view text, const RecordRoots& roots)
{
    RunRecord record;
    std::optional<RecordParser> parser;
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
        if (!parser) {
            if (line != header && line != absoluteHeader) {
                return std::nullopt;
            }
            parser.emplace(roots, line == absoluteHeader);
        } else if (!parser->take(line, record)) {
            return std::nullopt;
        }
    }
    if (!parser) {
        return std::nullopt;
    }
    dropStandInsElsewhere(record);
    return record;
}
