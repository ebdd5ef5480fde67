#pragma once

#include "record/reconversion.h"
#include "record/run_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Far beyond the record of any real project, which lists the files the
// converter writes, not the project's sources.
inline constexpr std::size_t maxRunRecordBytes = std::size_t{256} << 20;

// The record of a project's runs into a destination: <name>.projbridge-record
// beside the project file.
std::string runRecordPath(const std::string& destinationFolder, const std::string& projectName);

struct RecordReading {
    // Nothing when there is no record, or only a damaged one.
    std::optional<RunRecord> record;
    bool damaged = false;
};

// Reads at most maxRunRecordBytes; a longer, cut or garbled record is damaged.
// Its paths are placed in `roots` (parseRunRecord).
RecordReading readRunRecord(const std::string& path, const RecordRoots& roots);

// Writes the record beside its place and then puts it there in one step, so
// that a run that stops leaves the old record or the new, whole. Throws
// IOERROR code 2 when it cannot.
void writeRunRecord(const std::string& path, const RunRecord& record, const RecordRoots& roots);
// The file a record is written into before it is put in its place.
std::string unfinishedRecordPath(const std::string& path);

// Where the file is on this machine, for the platform's file changes; "" where
// it can be nowhere.
std::string hostPathOf(const OutputName& name);

// What the plain file holds, reading no more than `limit` bytes: a file longer
// than that is known by its size alone, and its digest as 0. Nothing where no plain file
// stands or it cannot be read.
std::optional<Fingerprint> fingerprintOnDisk(const OutputName& name, std::uint64_t limit);

// The whole text of a plain file of at most `limit` bytes; nothing for a
// larger one, or where no plain file can be read.
std::optional<std::string> plainFileText(const OutputName& name, std::uint64_t limit);

// The records of the other projects converted into the destination, damaged
// ones left out. Only what they say of the destination counts: another
// project's databases and report are wherever its own run named them.
std::vector<ProjectRecord> neighbourRecords(const std::string& destinationFolder, const std::string& projectName);
// The record files in the destination other than this project's, which no
// output of this run may be.
std::vector<std::string> neighbourRecordPaths(const std::string& destinationFolder, const std::string& projectName);
