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

struct RecordedFile {
    std::string path;
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
// ("file SIZE DIGEST PATH") and per folder ("folder PATH"); docs/
// converting-again.md describes it.
std::string runRecordText(const RunRecord& record);
// Nothing for a text that is not a whole record: a damaged record is no record.
std::optional<RunRecord> parseRunRecord(std::string_view text);
