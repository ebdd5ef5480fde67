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

// What the converter wrote for one project into its destination: every file,
// with what it wrote into it, and every folder it made, parents before the
// folders inside them. The next run into the destination reads it to tell a
// file the user edited from one it may rewrite or remove.
struct RunRecord {
    std::vector<RecordedFile> files;
    std::vector<std::string> folders;
};

// The record as its file holds it: a header line, then one line per file
// ("file SIZE DIGEST PATH", of a stand-in "stand-in SIZE DIGEST FOLDER<tab>
// NAME") and per folder ("folder PATH"); docs/converting-again.md describes
// it.
std::string runRecordText(const RunRecord& record);
// Nothing for a text that is not a whole record: a damaged record is no record.
// A stand-in is read only in a folder that the record lists as made and under
// a name that leads nowhere else: any other stand-in line is passed over, so
// that no record makes the run weigh, set aside or remove a file elsewhere.
std::optional<RunRecord> parseRunRecord(std::string_view text);
