#pragma once

#include "record/reconversion.h"
#include "record/run_record.h"

#include <string>
#include <unordered_set>
#include <vector>

class ConversionReport;

// A file a run writes, as planned before writing.
struct PlannedOutput {
    OutputName name;
    // The placeholders and the default analyser personality are made when
    // missing and never rewritten: once there, they are the user's.
    bool madeOnlyWhenMissing = false;
};

// The folders a run made or found below each folder it writes into (the
// destination and the compilation databases' folder); those made, parents
// first.
struct RunFolders {
    std::vector<std::string> known;
    std::vector<std::string> made;
};

// One run's dealings with what earlier runs left in the destination: the
// record of this project's last run and those of the other projects there,
// each read once, when the run is made.
class RecordKeeper {
public:
    // Prints one line when this project's record is damaged: it counts as none.
    RecordKeeper(const std::string& destinationFolder, const std::string& projectName);

    // Before anything is written. Throws SameFile when another project's
    // record lists a planned file; then keeps each planned file edited since
    // the last run beside under a name nothing has, with a line each, and
    // throws IOERROR code 2 for one it cannot keep.
    void prepare(std::vector<PlannedOutput> planned, ConversionReport& report);
    // After a whole run: removes what the last run wrote and the project no
    // longer has, unless edited since, and the folders left empty; one line
    // counts them.
    void removeLeftovers(const RunFolders& folders, ConversionReport& report);
    // Last of all, once `prepare` is through: the record of what the run
    // wrote. Throws IOERROR code 2 when it cannot be written.
    void writeRecord(const RunFolders& folders, bool finished);

private:
    void keepBeside(const OutputName& name, ConversionReport& report);
    OutputNames plannedNames() const;

    std::string recordPath;
    RunRecord last;
    std::vector<ProjectRecord> neighbours;
    std::vector<PlannedOutput> planned;
    // Made-when-missing files that were there before the run.
    std::unordered_set<std::string> foundBefore;
    FilesOnDisk onDisk;
    OutputNames touched;
    bool prepared = false;
};
