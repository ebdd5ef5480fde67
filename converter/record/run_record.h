#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a file held: its length and the digest of its bytes (ContentDigest).
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
    bool operator==(const Fingerprint&) const = default;
};

// A file the converter writes, by its Windows path; an include stand-in by the
// Windows path of its folder and its name as a source includes it
// ("..\board.h"), which no Windows path can name.
struct OutputName {
    std::string path;
    std::string standInName = {};
    bool operator==(const OutputName&) const = default;
};

// The file as the run names it to the user: a stand-in as its folder, a
// backslash and its name.
std::string shownName(const OutputName& name);

struct RecordedFile {
    OutputName name;
    // What the converter wrote there.
    Fingerprint written;
};

// The places a run writes into, as this run names them: the destination (the
// record's own folder), the databases' folder and the report, "" for those it
// does not write. The record names every file relative to one of them, so
// that it means the same however the folder is typed, and after the folder
// is copied or moved.
struct RecordRoots {
    std::string destination;
    std::string databases = {};
    std::string report = {};
};

// What the converter wrote into a file it merges an edit with next time (the
// project file, a group's analyser personality), kept as the base of that
// merge. Larger files are not kept: their edits are kept beside instead.
struct RecordedBase {
    Fingerprint written;
    std::string content;
};
inline constexpr std::uint64_t maxBaseBytes = std::uint64_t{4} << 20;

// What the converter wrote for one project into its destination: every file,
// with what it wrote into it, and every folder it made, parents before the
// folders inside them. The next run into the destination reads it to tell a
// file the user edited from one it may rewrite or remove. In memory, paths
// are those of this run's roots.
struct RunRecord {
    std::vector<RecordedFile> files;
    std::vector<std::string> folders;
    // Lines of a root this run does not write (the databases of a run without
    // -compdb): never acted on, and kept as they stand for a later run that
    // writes there again.
    std::vector<std::string> carried = {};
    // By what the files held, each once.
    std::vector<RecordedBase> bases = {};
};

// The record as its file holds it: a header line, then one line per file
// ("file SIZE DIGEST ROOT PATH", of a stand-in "stand-in SIZE DIGEST ROOT
// FOLDER<tab>NAME"), per folder ("folder ROOT PATH") and per base ("base SIZE
// DIGEST CONTENT", a base that does not match its digest passed over), every
// name and content escaped
// so that it stays on its line; docs/converting-again.md describes it. A path
// under none of the roots is left out.
std::string runRecordText(const RunRecord& record, const RecordRoots& roots);
// Nothing for a text that is not a whole record: a damaged record is no record.
// A line that names a place outside its root (an absolute path, "..", a drive)
// is passed over, and so is a stand-in outside the folders the record lists as
// made: no record makes the run weigh, set aside or remove a file elsewhere.
// The record of an earlier version, which named absolute paths, is taken for
// the files that lie in this run's roots as this run names them.
std::optional<RunRecord> parseRunRecord(std::string_view text, const RecordRoots& roots);
