#include "record/record_keeper.h"

#include "base/console.h"
#include "base/file_preview.h"
#include "platform/platform.h"
#include "record/run_record_file.h"

// The lines of a dry run, one per file, in the words of what the real run does
// there; decided as the real run decides, from the preview's bytes instead of
// the written ones.
void RecordKeeper::preview(std::vector<RunFile> plannedOutputs, const FilePreview& written,
                           const RunFolders& folders, bool whole)
{
    std::unordered_set<std::string> edited;
    for (const OutputName& name : weighPlanned(std::move(plannedOutputs))) {
        edited.insert(outputKey(name));
    }
    const std::unordered_map<std::string, Fingerprint> recorded = lastWritten();
    for (const RunFile& output : planned) {
        const OutputName name{output.path, output.standInName};
        const std::string key = outputKey(name);
        if (foundBefore.contains(key)) {
            continue;
        }
        if (!edited.contains(key)) {
            printLine("Would write: " + shownName(name));
            continue;
        }
        const FilePreview::File* fresh = written.find(hostPathOf(name));
        const Fingerprint& base = recorded.at(key);
        if (mayPutBack(name) && fresh != nullptr && Fingerprint{fresh->size, fresh->digest.value()} == base) {
            printLine("Would keep as edited, nothing to bring into it: " + shownName(name));
            continue;
        }
        const bool freshWhole = fresh != nullptr && fresh->keepsText && fresh->text.size() == fresh->size;
        if (whole && mayPutBack(name) && mergeable.contains(key) && freshWhole &&
            mergedText(base, plainFileText(name, maxBaseBytes), fresh->text)) {
            printLine("Would merge the edit into: " + shownName(name));
            continue;
        }
        unsigned attempt = 1;
        OutputName keptAs = besideName(name, attempt);
        while (platform::hostEntryExists(hostPathOf(keptAs))) {
            keptAs = besideName(name, ++attempt);
        }
        printLine("Would set aside: " + shownName(name) + ", kept as: " + shownName(keptAs));
    }
    printLine("Would write: " + recordPath);
    if (!whole) {
        return;
    }
    for (const OutputName& name : findOwnLeftovers(folders)) {
        printLine("Would not remove, reached through a link or read by this run: " + shownName(name));
    }
    for (const OutputName& name : leftovers.removed) {
        printLine("Would remove, the project no longer has it: " + shownName(name));
    }
    for (const OutputName& name : leftovers.kept) {
        printLine("Would keep where it is, edited since the last run: " + shownName(name));
    }
}
