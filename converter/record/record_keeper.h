#pragma once

#include "base/run_file.h"
#include "record/reconversion.h"
#include "record/run_record.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ConversionReport;
class FilePreview;

// The folders a run made or found below each folder it writes into (the
// destination and the compilation databases' folder); those made, parents
// first.
struct RunFolders {
    std::vector<std::string> known;
    std::vector<std::string> made;
};

// One run's dealings with what earlier runs left where it writes: the record
// of this project's last run and those of the other projects in the
// destination, each read once, when the keeper is made. It acts only inside
// the roots this run writes, never through a link on the way, and never on a
// file the run reads.
class RecordKeeper {
public:
    // Prints one line when this project's record is damaged: it counts as none.
    RecordKeeper(RecordRoots roots, const std::string& projectName, const std::vector<RunFile>& inputs);

    // The record and the file it is written into first: outputs of the run,
    // which nothing else it writes may be.
    std::vector<RunFile> recordFiles() const;
    // The other projects' records: read, never written.
    std::vector<RunFile> neighbourRecordFiles() const;

    // Before anything is written. Throws SameFile when another project's
    // record lists a planned file; then keeps each planned file edited since
    // the last run beside under a name nothing has, and throws IOERROR code 2
    // for one it cannot keep.
    void prepare(std::vector<RunFile> planned);
    // In place of everything from `prepare` on: prints what the run would do
    // with each planned file and each leftover, the files it writes being in
    // `written`; `whole` when the run would write every file, as only such a
    // run merges edits and removes leftovers. Throws SameFile as `prepare`.
    void preview(std::vector<RunFile> planned, const FilePreview& written, const RunFolders& folders, bool whole);
    // Once the files are written (`wrote`: all of them): an edited file into
    // which the run wrote just what the last run wrote there had nothing to
    // bring, and is put back as the user has it, told to the report as kept;
    // an edited project file or analyser personality whose changes lie apart
    // from the run's gets both, with a line; every other one kept beside is
    // said, with a line each.
    void settleEdits(ConversionReport& report, bool wrote);
    // After a whole run, before the report is finished: what the last run
    // wrote and the project no longer has, told to the report; nothing is
    // removed yet.
    void weighLeftovers(const RunFolders& folders, ConversionReport& report);
    // Once `prepare` is through: the record of what the run wrote, which
    // still claims the leftovers to be removed. Throws IOERROR code 2 when it
    // cannot be written.
    void writeRecord(const RunFolders& folders, bool finished);
    // Last, once the record is written: removes the unchanged leftovers and
    // the folders left empty, says each edited one and counts both; a file
    // that cannot be removed stays in the record.
    void removeLeftovers();

private:
    // The planned files taken in; those edited since the last run that the
    // run may set aside.
    OutputNames weighPlanned(std::vector<RunFile> planned);
    // The first name from the attempt-th on that nothing planned has.
    OutputName besideName(const OutputName& name, unsigned& attempt) const;
    void keepBeside(const OutputName& name);
    bool mayPutBack(const OutputName& name) const;
    // What the last run wrote, by outputKey.
    std::unordered_map<std::string, Fingerprint> lastWritten() const;
    // The user's and the run's changes of the last run's bytes together;
    // nothing when they meet, or a text is missing or beyond the bound.
    std::optional<std::string> mergedText(const Fingerprint& base, const std::optional<std::string>& edited,
                                          const std::optional<std::string>& fresh) const;
    // Fills `leftovers`; returns those the run may not remove.
    OutputNames findOwnLeftovers(const RunFolders& folders);
    // The edit merged into the file just written, the user's file then gone;
    // false when the changes meet or a text is beyond the bound.
    bool merge(const OutputName& name, const OutputName& keptAs, const Fingerprint& base);
    RecordedBase baseOf(const OutputName& name, const Fingerprint& written) const;
    OutputNames plannedNames() const;
    // Whether the run may set aside or remove the file: inside a root, every
    // folder on the way there a real folder, and not a file the run reads.
    bool mayTouch(const OutputName& name);
    bool reachedWithoutLinks(const std::string& path);

    RecordRoots roots;
    std::string recordPath;
    std::unordered_set<std::string> inputIdentities;
    RunRecord last;
    std::vector<ProjectRecord> neighbours;
    std::vector<RunFile> planned;
    std::unordered_set<std::string> plannedKeys;
    // Made-when-missing files that were there before the run.
    std::unordered_set<std::string> foundBefore;
    FilesOnDisk onDisk;
    OutputNames touched;
    // Edited files and the names they were kept beside under.
    std::vector<std::pair<OutputName, OutputName>> setAside;
    // Edited files put back or merged: the record claims what the converter
    // wrote (the last run's bytes, or this run's before the merge), so that
    // the edit is still told next time.
    std::unordered_map<std::string, Fingerprint> claimed;
    // What this run wrote into the files it merged, the bases of the next merge.
    std::vector<RecordedBase> mergedBases;
    std::unordered_set<std::string> mergeable;
    Leftovers leftovers;
    // By path: whether a folder on the way to a file is a real one, not a link.
    std::unordered_map<std::string, bool> realFolders;
    bool prepared = false;
    bool finishedRecord = false;
};
