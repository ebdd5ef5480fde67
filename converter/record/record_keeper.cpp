#include "record/record_keeper.h"

#include "base/console.h"
#include "base/content_digest.h"
#include "base/errors.h"
#include "base/output_file.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "platform/file_changes.h"
#include "platform/file_identity.h"
#include "platform/platform.h"
#include "record/line_merge.h"
#include "record/run_record_file.h"
#include "report/conversion_report.h"

#include <algorithm>
#include <limits>
#include <set>

namespace {

// A file the converter has just written is read back whole.
constexpr std::uint64_t wholeFile = std::numeric_limits<std::uint64_t>::max() - 1;
// No file the converter writes comes near this: a record that names a larger
// one is not believed so far as to read it.
constexpr std::uint64_t maxWeighedBytes = std::uint64_t{1} << 30;
constexpr std::string_view recordRole = "the run record";
constexpr std::string_view neighbourRecordRole = "the run record of another project";

// The folder a path lies in below `root`, and so the length of its root part;
// nothing when it lies in no such folder.
std::optional<std::size_t> rootLength(const std::string& root, const std::string& path)
{
    if (root.empty() || path.size() <= root.size() + 1 || !path.starts_with(root) || path[root.size()] != '\\') {
        return std::nullopt;
    }
    return root.size();
}

} // namespace

RecordKeeper::RecordKeeper(RecordRoots runRoots, const std::string& projectName, const std::vector<RunFile>& inputs)
    : roots(std::move(runRoots)), recordPath(runRecordPath(roots.destination, projectName)),
      neighbours(neighbourRecords(roots.destination, projectName))
{
    for (const RunFile& input : inputs) {
        const std::optional<std::string> identity =
            input.hostPath.empty() ? platform::fileIdentity(input.path) : platform::hostFileIdentity(input.hostPath);
        if (identity) {
            inputIdentities.insert(*identity);
        }
    }
    RecordReading reading = readRunRecord(recordPath, roots);
    if (reading.damaged) {
        printLine("Record of the last run damaged, read as none: nothing is set aside or removed: " + recordPath);
    }
    if (reading.record) {
        last = std::move(*reading.record);
    }
}

std::vector<RunFile> RecordKeeper::recordFiles() const
{
    return {{recordRole, recordPath}, {recordRole, unfinishedRecordPath(recordPath)}};
}

std::vector<RunFile> RecordKeeper::neighbourRecordFiles() const
{
    std::vector<RunFile> files;
    const std::string projectName(withoutExtension(fileName(recordPath)));
    for (std::string& path : neighbourRecordPaths(roots.destination, projectName)) {
        files.push_back({neighbourRecordRole, std::move(path)});
    }
    return files;
}

OutputNames RecordKeeper::plannedNames() const
{
    OutputNames names;
    for (const RunFile& output : planned) {
        names.push_back({output.path, output.standInName});
    }
    return names;
}

bool RecordKeeper::reachedWithoutLinks(const std::string& path)
{
    std::optional<std::size_t> start = rootLength(roots.databases, path);
    if (!start) {
        start = rootLength(roots.destination, path);
    }
    if (!start) {
        return !roots.report.empty() && path == roots.report;
    }
    for (std::size_t end = path.find('\\', *start + 1); end != std::string::npos; end = path.find('\\', end + 1)) {
        const std::string folder = path.substr(0, end);
        auto [found, added] = realFolders.try_emplace(folder);
        if (added) {
            found->second = platform::entryKind(folder) == platform::EntryKind::folder;
        }
        if (!found->second) {
            return false;
        }
    }
    return true;
}

bool RecordKeeper::mayTouch(const OutputName& name)
{
    // A stand-in's own folder is on its way too.
    if (!reachedWithoutLinks(name.standInName.empty() ? name.path : name.path + "\\" + name.standInName)) {
        return false;
    }
    const std::optional<std::string> identity = platform::hostFileIdentity(hostPathOf(name));
    return !identity || !inputIdentities.contains(*identity);
}

void RecordKeeper::prepare(std::vector<RunFile> plannedOutputs)
{
    for (const OutputName& name : weighPlanned(std::move(plannedOutputs))) {
        keepBeside(name);
    }
    prepared = true;
}

OutputNames RecordKeeper::weighPlanned(std::vector<RunFile> plannedOutputs)
{
    planned = std::move(plannedOutputs);
    const OutputNames names = plannedNames();
    if (const std::optional<NeighbourClash> clash = findNeighbourClash(names, neighbours)) {
        throw SameFile("Will not write " + shownName(clash->file) + ": the project " + clash->projectName +
                       " converted into this destination wrote it");
    }
    for (const OutputName& name : names) {
        plannedKeys.insert(outputKey(name));
    }
    for (const RunFile& output : planned) {
        if (output.mergedWhenEdited) {
            mergeable.insert(outputKey({output.path, output.standInName}));
        }
    }
    for (const RecordedFile& file : last.files) {
        if (const std::optional<Fingerprint> now =
                fingerprintOnDisk(file.name, std::min(file.written.size, maxWeighedBytes))) {
            onDisk.emplace(outputKey(file.name), *now);
        }
    }
    OutputNames rewritten;
    for (const RunFile& output : planned) {
        if (!output.madeOnlyWhenMissing) {
            rewritten.push_back({output.path, output.standInName});
        } else if (platform::pathExists(output.path)) {
            foundBefore.insert(outputKey({output.path, output.standInName}));
        }
    }
    OutputNames edited = editedFiles(last, rewritten, onDisk);
    // Writing through a link fails on its own, with its message.
    std::erase_if(edited, [&](const OutputName& name) { return !mayTouch(name); });
    return edited;
}

OutputName RecordKeeper::besideName(const OutputName& name, unsigned& attempt) const
{
    for (;; ++attempt) {
        OutputName keptAs = keptBesideName(name, attempt);
        if (!plannedKeys.contains(outputKey(keptAs))) {
            return keptAs;
        }
    }
}

void RecordKeeper::keepBeside(const OutputName& name)
{
    for (unsigned attempt = 1;; ++attempt) {
        const OutputName keptAs = besideName(name, attempt);
        const platform::Renaming renaming = platform::renameWithoutReplacing(hostPathOf(name), hostPathOf(keptAs));
        if (renaming == platform::Renaming::failed) {
            throw IOERROR(IOERROR::cannotWriteFile, shownName(name));
        }
        if (renaming == platform::Renaming::renamed) {
            setAside.emplace_back(name, keptAs);
            touched.push_back(name);
            return;
        }
    }
}

// The report is finished after the edits are settled; a stand-in has no
// Windows path to be put back under.
bool RecordKeeper::mayPutBack(const OutputName& name) const
{
    return name.standInName.empty() && name.path != roots.report;
}

std::unordered_map<std::string, Fingerprint> RecordKeeper::lastWritten() const
{
    std::unordered_map<std::string, Fingerprint> recorded;
    for (const RecordedFile& file : last.files) {
        recorded.emplace(outputKey(file.name), file.written);
    }
    return recorded;
}

void RecordKeeper::settleEdits(ConversionReport& report, bool wrote)
{
    const std::unordered_map<std::string, Fingerprint> recorded = lastWritten();
    for (const auto& [name, keptAs] : setAside) {
        // A file whose whole bytes are the last run's was written whole, even
        // by a run that failed later.
        const Fingerprint& base = recorded.at(outputKey(name));
        if (mayPutBack(name) && fingerprintOnDisk(name, wholeFile) == base &&
            platform::replaceFile(keptAs.path, name.path)) {
            claimed.emplace(outputKey(name), base);
            report.editKeptInEffect(shownName(name));
            continue;
        }
        const bool mergesEdits = mergeable.contains(outputKey(name));
        if (wrote && mayPutBack(name) && mergesEdits && merge(name, keptAs, base)) {
            printLine("Edited since the last run, merged: " + shownName(name));
            report.editMerged(shownName(name));
            continue;
        }
        printLine(mergesEdits && wrote ? "Edited since the last run where the project changed the same lines; the edit "
                                         "no longer applies, kept as: " + shownName(keptAs)
                                       : "Edited since the last run, kept as: " + shownName(keptAs));
        report.editedSetAside(shownName(name), shownName(keptAs));
    }
    setAside.clear();
}

namespace {

Fingerprint fingerprintOf(std::string_view text)
{
    ContentDigest digest;
    digest.add(text);
    return {text.size(), digest.value()};
}

} // namespace

std::optional<std::string> RecordKeeper::mergedText(const Fingerprint& base, const std::optional<std::string>& edited,
                                                   const std::optional<std::string>& fresh) const
{
    const auto found = std::find_if(last.bases.begin(), last.bases.end(),
                                    [&](const RecordedBase& recorded) { return recorded.written == base; });
    if (found == last.bases.end() || !edited || !fresh) {
        return std::nullopt;
    }
    return mergeLines(found->content, *edited, *fresh);
}

bool RecordKeeper::merge(const OutputName& name, const OutputName& keptAs, const Fingerprint& base)
{
    std::optional<std::string> fresh = plainFileText(name, maxBaseBytes);
    const std::optional<std::string> merged = mergedText(base, plainFileText(keptAs, maxBaseBytes), fresh);
    if (!merged) {
        return false;
    }
    OutputFile out(name.path);
    out.writeLines(*merged);
    out.close();
    platform::removeFile(hostPathOf(keptAs));
    const Fingerprint written = fingerprintOf(*fresh);
    claimed.emplace(outputKey(name), written);
    mergedBases.push_back({written, std::move(*fresh)});
    return true;
}

RecordedBase RecordKeeper::baseOf(const OutputName& name, const Fingerprint& written) const
{
    for (const std::vector<RecordedBase>* bases : {&mergedBases, &last.bases}) {
        for (const RecordedBase& base : *bases) {
            if (base.written == written) {
                return base;
            }
        }
    }
    std::optional<std::string> text = plainFileText(name, maxBaseBytes);
    return {written, text && fingerprintOf(*text) == written ? std::move(*text) : std::string()};
}

OutputNames RecordKeeper::findOwnLeftovers(const RunFolders& folders)
{
    leftovers = findLeftovers(last, plannedNames(), folders.known, onDisk, neighbours);
    OutputNames untouchable;
    std::erase_if(leftovers.removed, [&](const OutputName& name) {
        if (mayTouch(name)) {
            return false;
        }
        untouchable.push_back(name);
        return true;
    });
    return untouchable;
}

void RecordKeeper::weighLeftovers(const RunFolders& folders, ConversionReport& report)
{
    for (const OutputName& name : findOwnLeftovers(folders)) {
        printLine("Not removed, reached through a link or read by this run: " + shownName(name));
        report.leftoverKept(shownName(name));
    }
    for (const OutputName& name : leftovers.removed) {
        report.leftoverRemoved(shownName(name));
    }
    for (const OutputName& name : leftovers.kept) {
        report.leftoverKept(shownName(name));
    }
    finishedRecord = true;
}

void RecordKeeper::writeRecord(const RunFolders& folders, bool finished)
{
    if (!prepared) {
        return;
    }
    RunWrites run{{}, touched, folders.made};
    for (const RunFile& output : planned) {
        const OutputName name{output.path, output.standInName};
        const bool ours = !output.madeOnlyWhenMissing || !foundBefore.contains(outputKey(name));
        if (!ours) {
            continue;
        }
        // A failed run may have stopped inside any file it writes.
        if (const auto putBack = claimed.find(outputKey(name)); putBack != claimed.end()) {
            run.written.push_back({name, putBack->second});
        } else if (!finished) {
            run.touched.push_back(name);
        } else if (const std::optional<Fingerprint> written = fingerprintOnDisk(name, wholeFile)) {
            run.written.push_back({name, *written});
        }
    }
    finished = finished && finishedRecord;
    RunRecord next = nextRecord(last, plannedNames(), folders.known, run, finished);
    next.carried = last.carried;
    std::set<std::pair<std::uint64_t, std::uint64_t>> basesTaken;
    for (const RecordedFile& file : next.files) {
        if (mergeable.contains(outputKey(file.name)) && file.written.size <= maxBaseBytes &&
            basesTaken.emplace(file.written.size, file.written.digest).second) {
            RecordedBase base = baseOf(file.name, file.written);
            if (base.content.size() == file.written.size) {
                next.bases.push_back(std::move(base));
            }
        }
    }
    if (finished) {
        // Claimed until they are gone, so that a run that stops before
        // removing them leaves them for the next.
        const std::unordered_set<std::string> removing = [&] {
            std::unordered_set<std::string> keys;
            for (const OutputName& name : leftovers.removed) {
                keys.insert(outputKey(name));
            }
            return keys;
        }();
        for (const RecordedFile& file : last.files) {
            if (removing.contains(outputKey(file.name))) {
                next.files.push_back(file);
            }
        }
        next.folders.insert(next.folders.end(), leftovers.folders.rbegin(), leftovers.folders.rend());
    }
    // A failed run that made nothing new leaves the last record, or none.
    if (finished || runRecordText(next, roots) != runRecordText(last, roots)) {
        writeRunRecord(recordPath, next, roots);
    }
    last = std::move(next);
}

void RecordKeeper::removeLeftovers()
{
    std::unordered_set<std::string> removed;
    for (const OutputName& name : leftovers.removed) {
        if (platform::removeFile(hostPathOf(name))) {
            printLine("Removed, the project no longer has it: " + shownName(name));
            removed.insert(outputKey(name));
        } else {
            printLine("Could not remove, kept in the record: " + shownName(name));
        }
    }
    for (const OutputName& name : leftovers.kept) {
        printLine("Edited since the last run, kept where it is: " + shownName(name));
    }
    std::unordered_set<std::string> removedFolders;
    for (const std::string& folder : leftovers.folders) {
        if (reachedWithoutLinks(folder + "\\") && platform::removeEmptyFolder(folder)) {
            removedFolders.insert(pathKey(folder));
        }
    }
    if (!leftovers.removed.empty() || !leftovers.kept.empty()) {
        printLine("Files the project no longer has: " + std::to_string(removed.size()) + " removed, " +
                  std::to_string(leftovers.kept.size()) + " kept as edited since the last run");
    }
    if (removed.empty() && removedFolders.empty()) {
        return;
    }
    std::erase_if(last.files, [&](const RecordedFile& file) { return removed.contains(outputKey(file.name)); });
    std::erase_if(last.folders, [&](const std::string& folder) { return removedFolders.contains(pathKey(folder)); });
    writeRunRecord(recordPath, last, roots);
}
