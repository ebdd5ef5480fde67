#include "record/record_keeper.h"

#include "base/console.h"
#include "base/errors.h"
#include "platform/file_changes.h"
#include "platform/platform.h"
#include "report/conversion_report.h"
#include "record/run_record_file.h"

#include <limits>

namespace {

// A file the converter has just written is read back whole.
constexpr std::uint64_t wholeFile = std::numeric_limits<std::uint64_t>::max() - 1;

} // namespace

RecordKeeper::RecordKeeper(const std::string& destinationFolder, const std::string& projectName)
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

OutputNames RecordKeeper::plannedNames() const
{
    OutputNames names;
    for (const PlannedOutput& output : planned) {
        names.push_back(output.name);
    }
    return names;
}

void RecordKeeper::prepare(std::vector<PlannedOutput> plannedOutputs, ConversionReport& report)
{
    planned = std::move(plannedOutputs);
    if (const std::optional<NeighbourClash> clash = findNeighbourClash(plannedNames(), neighbours)) {
        throw SameFile("Will not write " + shownName(clash->file) + ": the project " + clash->projectName +
                       " converted into this destination wrote it");
    }
    for (const RecordedFile& file : last.files) {
        if (const std::optional<Fingerprint> now = fingerprintOnDisk(file.name, file.written.size)) {
            onDisk.emplace(outputKey(file.name), *now);
        }
    }
    OutputNames rewritten;
    for (const PlannedOutput& output : planned) {
        if (!output.madeOnlyWhenMissing) {
            rewritten.push_back(output.name);
        } else if (platform::pathExists(output.name.path)) {
            foundBefore.insert(outputKey(output.name));
        }
    }
    for (const OutputName& name : editedFiles(last, rewritten, onDisk)) {
        keepBeside(name, report);
    }
    prepared = true;
}

void RecordKeeper::keepBeside(const OutputName& name, ConversionReport& report)
{
    for (unsigned attempt = 1;; ++attempt) {
        const OutputName keptAs = keptBesideName(name, attempt);
        const platform::Renaming renaming = platform::renameWithoutReplacing(hostPathOf(name), hostPathOf(keptAs));
        if (renaming == platform::Renaming::failed) {
            throw IOERROR(IOERROR::cannotWriteFile, shownName(name));
        }
        if (renaming == platform::Renaming::renamed) {
            printLine("Edited since the last run, kept as: " + shownName(keptAs));
            report.editedSetAside(shownName(name), shownName(keptAs));
            touched.push_back(name);
            return;
        }
    }
}

void RecordKeeper::removeLeftovers(const RunFolders& folders, ConversionReport& report)
{
    const Leftovers leftovers = findLeftovers(last, plannedNames(), folders.known, onDisk, neighbours);
    std::size_t removed = 0;
    for (const OutputName& name : leftovers.removed) {
        if (platform::removeFile(hostPathOf(name))) {
            ++removed;
            report.leftoverRemoved(shownName(name));
            touched.push_back(name);
        }
    }
    for (const OutputName& name : leftovers.kept) {
        report.leftoverKept(shownName(name));
    }
    for (const std::string& folder : leftovers.folders) {
        platform::removeEmptyFolder(folder);
    }
    if (removed + leftovers.kept.size() > 0) {
        printLine("Files the project no longer has: " + std::to_string(removed) + " removed, " +
                  std::to_string(leftovers.kept.size()) + " kept as edited since the last run");
    }
}

void RecordKeeper::writeRecord(const RunFolders& folders, bool finished)
{
    if (!prepared) {
        return;
    }
    RunWrites run{{}, touched, folders.made};
    for (const PlannedOutput& output : planned) {
        const bool ours = !output.madeOnlyWhenMissing || !foundBefore.contains(outputKey(output.name));
        if (!ours) {
            continue;
        }
        // A failed run may have stopped inside any file it writes.
        if (!finished) {
            run.touched.push_back(output.name);
        } else if (const std::optional<Fingerprint> written = fingerprintOnDisk(output.name, wholeFile)) {
            run.written.push_back({output.name, *written});
        }
    }
    const RunRecord next = nextRecord(last, plannedNames(), folders.known, run, finished);
    // A failed run that made nothing new leaves the last record, or none.
    if (finished || runRecordText(next) != runRecordText(last)) {
        writeRunRecord(recordPath, next);
    }
}
