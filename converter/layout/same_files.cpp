#include "layout/same_files.h"

#include "base/errors.h"
#include "base/windows_path.h"
#include "platform/file_identity.h"
#include "layout/distinct_folder_names.h"

#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

std::optional<std::string> identityOf(std::string_view path)
{
    // "C:" would name the drive's current folder, not its root.
    const bool driveOnly = hasDrive(path) && path.size() == 2;
    return platform::fileIdentity(driveOnly ? std::string(path) + "\\" : std::string(path));
}

std::string withPart(std::string key, std::string_view part)
{
    const std::string folded = folderKey(std::string(part));
    if (!folded.empty()) {
        key += '\\';
        key += folded;
    }
    return key;
}

bool holdsParentPart(std::string_view path)
{
    for (std::size_t at = path.find("\\.."); at != std::string_view::npos; at = path.find("\\..", at + 1)) {
        if (at + 3 == path.size() || path[at + 3] == '\\') {
            return true;
        }
    }
    return false;
}

// The outputs of a run share their folders, each looked up once. Only the
// folders that hold an output are kept, so a deep path costs its length once,
// not once per level.
class FileIdentities {
public:
    std::string of(const RunFile& file)
    {
        if (!file.hostPath.empty()) {
            if (std::optional<std::string> identity = platform::hostFileIdentity(file.hostPath)) {
                return *identity;
            }
        }
        return file.standInName.empty() ? of(file.path) : withPart(folderOf(file.path), file.standInName);
    }

    std::string of(const std::string& path)
    {
        if (const std::optional<std::string> identity = identityOf(path)) {
            return *identity;
        }
        // Taking a ".." back may lead to a file that is there.
        if (holdsParentPart(path)) {
            return walkUp(path);
        }
        const std::optional<std::string_view> parent = parentFolder(path);
        return parent ? withPart(folderOf(std::string(*parent)), fileName(path)) : unplacedKey(path);
    }

private:
    // A path on no folder that is there compares by its spelling alone. Built
    // by appending: GCC 12 at -O2 takes "?" + string for an overlapping copy.
    static std::string unplacedKey(const std::string& path)
    {
        std::string key = "?";
        key += folderKey(path);
        return key;
    }

    const std::string& folderOf(const std::string& folder)
    {
        auto [found, added] = folders.try_emplace(folder);
        if (added) {
            found->second = walkUp(folder);
        }
        return found->second;
    }

    // The nearest folder on the way that is there, then the parts below it.
    static std::string walkUp(std::string_view folder)
    {
        std::vector<std::size_t> cuts;
        std::string_view existing = folder;
        std::optional<std::string> identity;
        while (!(identity = identityOf(existing))) {
            const std::optional<std::string_view> parent = parentFolder(existing);
            if (!parent) {
                return unplacedKey(std::string(folder));
            }
            cuts.push_back(parent->size());
            existing = *parent;
        }
        std::vector<std::string_view> parts;
        for (std::size_t i = cuts.size(); i-- > 0;) {
            const std::size_t end = i == 0 ? folder.size() : cuts[i - 1];
            parts.push_back(folder.substr(cuts[i] + 1, end - cuts[i] - 1));
        }
        if (std::optional<std::string> resolved = withoutParentParts(existing, parts)) {
            return walkUp(*resolved);
        }
        std::string key = std::move(*identity);
        for (const std::string_view part : parts) {
            key = withPart(std::move(key), part);
        }
        return key;
    }

    // The folders below `existing` are made by the run, so a ".." after one
    // of them leads back to the folder before it, which may be there: the
    // path without them, if there was any to take back.
    static std::optional<std::string> withoutParentParts(std::string_view existing,
                                                         const std::vector<std::string_view>& parts)
    {
        std::vector<std::string_view> kept;
        bool tookBack = false;
        for (const std::string_view part : parts) {
            if (part == ".." && !kept.empty() && kept.back() != "..") {
                kept.pop_back();
                tookBack = true;
            } else if (!part.empty() && part != ".") {
                kept.push_back(part);
            }
        }
        if (!tookBack) {
            return std::nullopt;
        }
        std::string path(existing);
        for (const std::string_view part : kept) {
            path += '\\';
            path += part;
        }
        return path;
    }

    std::unordered_map<std::string, std::string> folders;
};

std::string shownPath(const RunFile& file)
{
    return shownFilePath(file.path, file.standInName);
}

[[noreturn]] void refuse(const RunFile& output, const RunFile& other)
{
    throw SameFile("Will not write " + std::string(output.role) + " " + shownPath(output) +
                   ": it is the same file as " + std::string(other.role) + " " + shownPath(other));
}

bool isStandIn(const RunFile& file)
{
    return !file.standInName.empty();
}

} // namespace

void refuseSameFiles(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs)
{
    FileIdentities identities;
    std::unordered_map<std::string, const RunFile*> inputByIdentity;
    for (const RunFile& input : inputs) {
        inputByIdentity.try_emplace(identities.of(input), &input);
    }
    std::unordered_map<std::string, const RunFile*> outputByIdentity;
    for (const RunFile& output : outputs) {
        const std::string identity = identities.of(output);
        if (const auto input = inputByIdentity.find(identity); input != inputByIdentity.end()) {
            refuse(output, *input->second);
        }
        const auto [earlier, added] = outputByIdentity.try_emplace(identity, &output);
        if (!added && !(isStandIn(output) && isStandIn(*earlier->second))) {
            refuse(output, *earlier->second);
        }
    }
}
