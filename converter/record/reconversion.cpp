#include "record/reconversion.h"

#include "base/path_key.h"
#include "base/windows_path.h"

#include <unordered_set>

namespace {

using PathKeys = std::unordered_set<std::string>;

// Of files by outputKey, of folders by pathKey.
template <typename Item, typename KeyOf>
PathKeys keysOf(const std::vector<Item>& items, KeyOf keyOf)
{
    PathKeys keys;
    for (const Item& item : items) {
        keys.insert(keyOf(item));
    }
    return keys;
}

bool editedSince(const Fingerprint& written, const std::string& key, const FilesOnDisk& onDisk)
{
    const auto found = onDisk.find(key);
    return found != onDisk.end() && found->second != written;
}

// Files and folders of other projects, which no run of this one touches.
PathKeys neighbourKeys(const std::vector<ProjectRecord>& neighbours)
{
    PathKeys keys;
    for (const ProjectRecord& neighbour : neighbours) {
        for (const RecordedFile& file : neighbour.record.files) {
            keys.insert(outputKey(file.name));
        }
        for (const std::string& folder : neighbour.record.folders) {
            keys.insert(pathKey(folder));
        }
    }
    return keys;
}

} // namespace

// No path holds a NUL, so a stand-in's key is no file's.
std::string outputKey(const OutputName& name)
{
    return name.standInName.empty() ? pathKey(name.path) : pathKey(name.path) + '\0' + name.standInName;
}

OutputNames editedFiles(const RunRecord& last, const OutputNames& rewritten, const FilesOnDisk& onDisk)
{
    std::unordered_map<std::string, const Fingerprint*> recorded;
    for (const RecordedFile& file : last.files) {
        recorded.emplace(outputKey(file.name), &file.written);
    }
    OutputNames edited;
    for (const OutputName& name : rewritten) {
        const std::string key = outputKey(name);
        const auto found = recorded.find(key);
        if (found != recorded.end() && editedSince(*found->second, key, onDisk)) {
            edited.push_back(name);
        }
    }
    return edited;
}

OutputName keptBesideName(const OutputName& name, unsigned attempt)
{
    const std::string suffix = ".edited" + (attempt < 2 ? std::string() : "-" + std::to_string(attempt));
    std::string kept = name.standInName.empty() ? name.path : name.standInName;
    const std::size_t entryLength = name.standInName.empty() ? fileName(kept).size() : kept.size();
    if (entryLength + suffix.size() > maxEntryNameBytes) {
        std::size_t cut = kept.size() - (entryLength + suffix.size() - maxEntryNameBytes);
        // Not inside a character of more than one byte.
        while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        kept.resize(cut);
    }
    kept += suffix;
    return name.standInName.empty() ? OutputName{kept} : OutputName{name.path, kept};
}

std::optional<NeighbourClash> findNeighbourClash(const OutputNames& planned,
                                                 const std::vector<ProjectRecord>& neighbours)
{
    std::unordered_map<std::string, const std::string*> owners;
    for (const ProjectRecord& neighbour : neighbours) {
        for (const RecordedFile& file : neighbour.record.files) {
            owners.emplace(outputKey(file.name), &neighbour.projectName);
        }
    }
    for (const OutputName& name : planned) {
        if (const auto owner = owners.find(outputKey(name)); owner != owners.end()) {
            return NeighbourClash{name, *owner->second};
        }
    }
    return std::nullopt;
}

Leftovers findLeftovers(const RunRecord& last, const OutputNames& plannedFiles,
                        const std::vector<std::string>& plannedFolders, const FilesOnDisk& onDisk,
                        const std::vector<ProjectRecord>& neighbours)
{
    const PathKeys planned = keysOf(plannedFiles, outputKey);
    const PathKeys made = keysOf(plannedFolders, pathKey);
    const PathKeys others = neighbourKeys(neighbours);
    Leftovers leftovers;
    for (const RecordedFile& file : last.files) {
        const std::string key = outputKey(file.name);
        if (planned.contains(key) || others.contains(key) || !onDisk.contains(key)) {
            continue;
        }
        (editedSince(file.written, key, onDisk) ? leftovers.kept : leftovers.removed).push_back(file.name);
    }
    // The record lists a folder after the one it lies in.
    for (auto folder = last.folders.rbegin(); folder != last.folders.rend(); ++folder) {
        const std::string key = pathKey(*folder);
        if (!made.contains(key) && !others.contains(key)) {
            leftovers.folders.push_back(*folder);
        }
    }
    return leftovers;
}

RunRecord nextRecord(const RunRecord& last, const OutputNames& plannedFiles,
                     const std::vector<std::string>& plannedFolders, const RunWrites& run, bool finished)
{
    const PathKeys touched = keysOf(run.touched, outputKey);
    std::unordered_map<std::string, const RecordedFile*> written;
    for (const RecordedFile& file : run.written) {
        written.emplace(outputKey(file.name), &file);
    }
    std::unordered_map<std::string, const RecordedFile*> recorded;
    for (const RecordedFile& file : last.files) {
        recorded.emplace(outputKey(file.name), &file);
    }
    // In the order planned, so that a rerun that changes nothing writes the
    // same record.
    RunRecord next;
    PathKeys planned;
    for (const OutputName& name : plannedFiles) {
        const std::string key = outputKey(name);
        planned.insert(key);
        if (const auto file = written.find(key); file != written.end()) {
            next.files.push_back(*file->second);
        } else if (const auto earlier = recorded.find(key); earlier != recorded.end() && !touched.contains(key)) {
            next.files.push_back(*earlier->second);
        }
    }
    for (const RecordedFile& file : last.files) {
        const std::string key = outputKey(file.name);
        if (!finished && !planned.contains(key) && !touched.contains(key)) {
            next.files.push_back(file);
        }
    }
    const PathKeys stillMade = keysOf(plannedFolders, pathKey);
    PathKeys folders;
    for (const std::string& folder : last.folders) {
        if ((!finished || stillMade.contains(pathKey(folder))) && folders.insert(pathKey(folder)).second) {
            next.folders.push_back(folder);
        }
    }
    for (const std::string& folder : run.made) {
        if (folders.insert(pathKey(folder)).second) {
            next.folders.push_back(folder);
        }
    }
    return next;
}
