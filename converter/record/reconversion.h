#pragma once

#include "record/run_record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What a run into a destination that an earlier run wrote does with the
// files there, decided from values alone: the record of the last run, the
// files and folders this run makes, what stands on disk now, and the records
// of the other projects converted into the destination.

// pathKey for a file; a stand-in's name keeps its letter case, as the file
// systems that get stand-ins do.
std::string outputKey(const OutputName& name);

using OutputNames = std::vector<OutputName>;

// What stands now under the files that the last run's record lists, by
// outputKey; no entry where no file stands.
using FilesOnDisk = std::unordered_map<std::string, Fingerprint>;

// The files this run rewrites that hold something else than the last run
// wrote there: someone edited them, and their bytes are kept beside.
OutputNames editedFiles(const RunRecord& last, const OutputNames& rewritten, const FilesOnDisk& onDisk);

// Longer names than this no file system takes for one entry.
inline constexpr std::size_t maxEntryNameBytes = 255;

// The name of the attempt-th place (from 1) to keep an edited file beside:
// "X.edited", then "X.edited-2", "X.edited-3"... A name that would grow past
// maxEntryNameBytes is cut before its suffix, so that the file can be kept.
OutputName keptBesideName(const OutputName& name, unsigned attempt);

// Another project's record, named by the project.
struct ProjectRecord {
    std::string projectName;
    RunRecord record;
};

struct NeighbourClash {
    OutputName file;
    std::string projectName;
};

// The first file this run would write that another project's record lists.
std::optional<NeighbourClash> findNeighbourClash(const OutputNames& planned,
                                                 const std::vector<ProjectRecord>& neighbours);

// What the last run wrote that this run does not.
struct Leftovers {
    // Unchanged since the last run wrote them: they go.
    OutputNames removed;
    // Edited since: they stay, and the run says so.
    OutputNames kept;
    // Made by the converter and not by this run, inner folders first: each
    // goes when it is left empty.
    std::vector<std::string> folders;
};

// A file or folder that another project's record lists is never one of them.
Leftovers findLeftovers(const RunRecord& last, const OutputNames& plannedFiles,
                        const std::vector<std::string>& plannedFolders, const FilesOnDisk& onDisk,
                        const std::vector<ProjectRecord>& neighbours);

// What one run did to the files: `written` holds what it wrote whole,
// `touched` every file it set aside, removed, or began to write, `made` the
// folders it made.
struct RunWrites {
    std::vector<RecordedFile> written;
    OutputNames touched;
    std::vector<std::string> made;
};

// The record a run leaves. A finished run claims what it wrote, and what of
// the last record it still makes without rewriting (a placeholder kept as the
// user has it) or still made. A failed run claims nothing it did not write:
// the last record, less every file it touched, and what it wrote whole.
RunRecord nextRecord(const RunRecord& last, const OutputNames& plannedFiles,
                     const std::vector<std::string>& plannedFolders, const RunWrites& run, bool finished);
