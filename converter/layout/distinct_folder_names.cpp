#include "layout/distinct_folder_names.h"

#include "base/ascii_case.h"
#include "base/windows_path.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr std::string_view unnamedFolder = "unnamed";
constexpr std::string_view parentPart = "..";
constexpr std::size_t firstDistinctNumber = 2;

// The parts of the name that lead somewhere, joined with "\", as written.
std::string folderParts(const std::string& name)
{
    std::string parts;
    for (std::string_view part : pathParts(name)) {
        // Windows drops them from every part but "..", which leaves "." empty.
        const bool parent = part == parentPart;
        while (!parent && !part.empty() && (part.back() == '.' || part.back() == ' ')) {
            part.remove_suffix(1);
        }
        if (!part.empty()) {
            if (!parts.empty()) {
                parts += '\\';
            }
            parts += part;
        }
    }
    return parts;
}

} // namespace

std::string folderKey(const std::string& name)
{
    return asciiLowerCase(folderParts(name));
}

std::vector<std::string> distinctFolderNames(const std::vector<std::string>& names)
{
    std::vector<std::string> keys;
    keys.reserve(names.size());
    std::unordered_set<std::string> used;
    for (const std::string& name : names) {
        keys.push_back(folderKey(name));
        used.insert(keys.back());
    }

    std::vector<std::string> folders(names.size());
    std::unordered_set<std::string> kept;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!keys[i].empty() && kept.insert(keys[i]).second) {
            folders[i] = names[i];
        }
    }
    // The next number to try for each folder, so that many names of one folder
    // do not try every number again.
    std::unordered_map<std::string, std::size_t> nextNumber;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!folders[i].empty()) {
            continue;
        }
        const std::string base = keys[i].empty() ? std::string(unnamedFolder) : folderParts(names[i]);
        const std::string baseKey = asciiLowerCase(base);
        auto [next, added] = nextNumber.try_emplace(baseKey, firstDistinctNumber);
        if (added && !used.contains(baseKey)) {
            used.insert(baseKey);
            folders[i] = base;
            continue;
        }
        std::string folder;
        do {
            folder = base + " (" + std::to_string(next->second++) + ")";
        } while (!used.insert(asciiLowerCase(folder)).second);
        folders[i] = folder;
    }
    return folders;
}
