#include "writer/reconversion.h"

#include "base/ascii_case.h"

#include <unordered_set>

namespace {

using PathKeys = std::unordered_set<std::string>;

PathKeys keysOf(const std::vector<std::string>& paths)
{
    PathKeys keys;
    for (const std::string& path : paths) {
        keys.insert(pathKey(path));
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
            keys.insert(pathKey(file.path));
        }
        for (const std::string& folder : neighbour.record.folders) {
            keys.insert(pathKey(folder));
        }
    }
    return keys;
}

} // namespace

std::string pathKey(const std::string& path)
{
    return asciiUpperCase(path);
}

std::vector<std::string> editedFiles(const RunRecord& last, const std::vector<std::string>& rewritten,
                                     const FilesOnDisk& onDisk)
{
    std::unordered_map<std::string, const Fingerprint*> recorded;
    for (const RecordedFile& file : last.files) {
        recorded.emplace(pathKey(file.path), &file.written);
    }
    std::vector<std::string> edited;
    for (const std::string& path : rewritten) {
        const std::string key = pathKey(path);
        const auto found = recorded.find(key);
        if (found != recorded.end() && editedSince(*found->second, key, onDisk)) {
            edited.push_back(path);
        }
    }
    return edited;
}

std::string keptBesideName(const std::string& path, unsigned attempt)
{
    return path + ".edited" + (attempt < 2 ? std::string() : "-" + std::to_string(attempt));
}

std::optional<NeighbourClash> findNeighbourClash(const std::vector<std::string>& planned,
                                                 const std::vector<ProjectRecord>& neighbours)
{
    std::unordered_map<std::string, const std::string*> owners;
    for (const ProjectRecord& neighbour : neighbours) {
        for (const RecordedFile& file : neighbour.record.files) {
            owners.emplace(pathKey(file.path), &neighbour.projectName);
        }
    }
    for (const std::string& path : planned) {
        if (const auto owner = owners.find(pathKey(path)); owner != owners.end()) {
            return NeighbourClash{path, *owner->second};
        }
    }
    return std::nullopt;
}

Leftovers findLeftovers(const RunRecord& last, const std::vector<std::string>& plannedFiles,
                        const std::vector<std::string>& plannedFolders, const FilesOnDisk& onDisk,
                        const std::vector<ProjectRecord>& neighbours)
{
    const PathKeys planned = keysOf(plannedFiles);
    const PathKeys made = keysOf(plannedFolders);
    const PathKeys others = neighbourKeys(neighbours);
    Leftovers leftovers;
    for (const RecordedFile& file : last.files) {
        const std::string key = pathKey(file.path);
        if (planned.contains(key) || others.contains(key) || !onDisk.contains(key)) {
            continue;
        }
        (editedSince(file.written, key, onDisk) ? leftovers.kept : leftovers.removed).push_back(file.path);
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

RunRecord nextRecord(const RunRecord& last, const std::vector<std::string>& plannedFiles,
                     const std::vector<std::string>& plannedFolders, const RunWrites& run, bool finished)
{
    const PathKeys touched = keysOf(run.touched);
    std::unordered_map<std::string, const RecordedFile*> written;
    for (const RecordedFile& file : run.written) {
        written.emplace(pathKey(file.path), &file);
    }
    std::unordered_map<std::string, const RecordedFile*> recorded;
    for (const RecordedFile& file : last.files) {
        recorded.emplace(pathKey(file.path), &file);
    }
    // In the order planned, so that a rerun that changes nothing writes the
    // same record.
    RunRecord next;
    PathKeys planned;
    for (const std::string& path : plannedFiles) {
        const std::string key = pathKey(path);
        planned.insert(key);
        if (const auto file = written.find(key); file != written.end()) {
            next.files.push_back(*file->second);
        } else if (const auto earlier = recorded.find(key); earlier != recorded.end() && !touched.contains(key)) {
            next.files.push_back(*earlier->second);
        }
    }
    for (const RecordedFile& file : last.files) {
        const std::string key = pathKey(file.path);
        if (!finished && !planned.contains(key) && !touched.contains(key)) {
            next.files.push_back(file);
        }
    }
    const PathKeys stillMade = keysOf(plannedFolders);
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
