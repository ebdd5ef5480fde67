#include "writer/recorded_run.h"

#include "base/console.h"
#include "base/errors.h"
#include "platform/file_changes.h"
#include "platform/platform.h"
#include "report/conversion_report.h"
#include "writer/run_record_file.h"

#include <limits>

namespace {

// A file the converter has just written is read back whole.
constexpr std::uint64_t wholeFile = std::numeric_limits<std::uint64_t>::max() - 1;

} // namespace

RecordedRun::RecordedRun(const std::string& destinationFolder, const std::string& projectName)
    : recordPath(runRecordPath(destinationFolder, projectName)),
      neighbours(neighbourRecords(destinationFolder, projectName))
{
    RecordReading reading = readRunRecord(recordPath);
    if (reading.damaged) {
        printLine("Record of the last run damaged, read as none: nothing is set aside or removed: " + recordPath);
    }
    if (reading.record) {
        last = std::move(*reading.record);
    }
}

std::vector<std::string> RecordedRun::plannedPaths() const
{
    std::vector<std::string> paths;
    for (const PlannedOutput& output : planned) {
        paths.push_back(output.path);
    }
    return paths;
}

void RecordedRun::prepare(std::vector<PlannedOutput> plannedOutputs, ConversionReport& report)
{
    planned = std::move(plannedOutputs);
    const std::vector<std::string> paths = plannedPaths();
    if (const std::optional<NeighbourClash> clash = findNeighbourClash(paths, neighbours)) {
        throw SameFile("Will not write " + clash->path + ": the project " + clash->projectName +
                       " converted into this destination wrote it");
    }
    for (const RecordedFile& file : last.files) {
        if (const std::optional<Fingerprint> now = fingerprintOnDisk(file.path, file.written.size)) {
            onDisk.emplace(pathKey(file.path), *now);
        }
    }
    std::vector<std::string> rewritten;
    for (const PlannedOutput& output : planned) {
        if (!output.madeOnlyWhenMissing) {
            rewritten.push_back(output.path);
        } else if (platform::pathExists(output.path)) {
            foundBefore.insert(pathKey(output.path));
        }
    }
    for (const std::string& path : editedFiles(last, rewritten, onDisk)) {
        keepBeside(path, report);
    }
    prepared = true;
}

void RecordedRun::keepBeside(const std::string& path, ConversionReport& report)
{
    for (unsigned attempt = 1;; ++attempt) {
        const std::string keptAs = keptBesideName(path, attempt);
        const platform::Renaming renaming = platform::renameWithoutReplacing(path, keptAs);
        if (renaming == platform::Renaming::failed) {
            throw IOERROR(IOERROR::cannotWriteFile, path);
        }
        if (renaming == platform::Renaming::renamed) {
            printLine("Edited since the last run, kept as: " + keptAs);
            report.editedSetAside(path, keptAs);
            touched.push_back(path);
            return;
        }
    }
}

void RecordedRun::removeLeftovers(const RunFolders& folders, ConversionReport& report)
{
    const Leftovers leftovers = findLeftovers(last, plannedPaths(), folders.known, onDisk, neighbours);
    std::size_t removed = 0;
    for (const std::string& path : leftovers.removed) {
        if (platform::removeFile(path)) {
            ++removed;
            report.leftoverRemoved(path);
            touched.push_back(path);
        }
    }
    for (const std::string& path : leftovers.kept) {
        report.leftoverKept(path);
    }
    for (const std::string& folder : leftovers.folders) {
        platform::removeEmptyFolder(folder);
    }
    if (removed + leftovers.kept.size() > 0) {
        printLine("Files the project no longer has: " + std::to_string(removed) + " removed, " +
                  std::to_string(leftovers.kept.size()) + " kept as edited since the last run");
    }
}

void RecordedRun::writeRecord(const RunFolders& folders, bool finished)
{
    if (!prepared) {
        return;
    }
    RunWrites run{{}, touched, folders.made};
    for (const PlannedOutput& output : planned) {
        const bool ours = !output.madeOnlyWhenMissing || !foundBefore.contains(pathKey(output.path));
        if (!ours) {
            continue;
        }
        // A failed run may have stopped inside any file it writes.
        if (!finished) {
            run.touched.push_back(output.path);
        } else if (const std::optional<Fingerprint> written = fingerprintOnDisk(output.path, wholeFile)) {
            run.written.push_back({output.path, *written});
        }
    }
    const RunRecord next = nextRecord(last, plannedPaths(), folders.known, run, finished);
    // A failed run that made nothing new leaves the last record, or none.
    if (finished || runRecordText(next) != runRecordText(last)) {
        writeRunRecord(recordPath, next);
    }
}
