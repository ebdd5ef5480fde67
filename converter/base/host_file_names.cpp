#include "base/host_file_names.h"

#include "base/ascii_case.h"
#include "base/utf8_text.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr char hostSeparator = '/';

} // namespace

std::optional<std::string> HostFileNames::existing(const std::string& windowsPath)
{
    const std::string host = platform::hostPath(windowsPath);
    if (host.empty()) {
        return std::nullopt;
    }
    return existingHost(host);
}

std::optional<std::string> HostFileNames::existingHost(const std::string& host)
{
    if (const auto known = found_.find(host); known != found_.end()) {
        return known->second;
    }
    std::optional<std::string> found = lookUp(host);
    found_.emplace(host, found);
    return found;
}

std::optional<std::string> HostFileNames::lookUp(const std::string& host)
{
    // Nothing stands below a folder found missing before: a project moved
    // from another machine names thousands of paths in folders not here.
    if (const std::size_t last = host.rfind(hostSeparator); last != std::string::npos && last > 0) {
        if (const auto parent = found_.find(host.substr(0, last)); parent != found_.end() && !parent->second) {
            return std::nullopt;
        }
    }
    if (platform::hostEntryExists(host)) {
        return host;
    }
    // Part by part from the root, each folder on the way resolved once: the
    // paths of one folder, and the folders of one missing tree, share their
    // leading parts.
    std::string found = host.starts_with(hostSeparator) ? std::string(1, hostSeparator) : std::string();
    for (std::size_t start = found.size(); start <= host.size();) {
        const std::size_t stop = std::min(host.find(hostSeparator, start), host.size());
        const std::string name = host.substr(start, stop - start);
        start = stop + 1;
        if (name.empty()) {
            continue;
        }
        const std::string prefix = host.substr(0, stop);
        auto known = found_.find(prefix);
        if (known == found_.end()) {
            known = found_.emplace(prefix, partOf(found, name)).first;
        }
        if (!known->second) {
            return std::nullopt;
        }
        found = *known->second + hostSeparator;
    }
    found.pop_back();
    return found;
}

// The part as written when it is there, else as its folder lists it.
std::optional<std::string> HostFileNames::partOf(const std::string& found, const std::string& name)
{
    if (std::string candidate = found + name; platform::hostEntryExists(candidate)) {
        return candidate;
    }
    const std::optional<std::string> entry = entryFor(found.empty() ? "." : found, name);
    if (!entry) {
        return std::nullopt;
    }
    return found + *entry;
}

std::string HostFileNames::hostPath(const std::string& windowsPath)
{
    return existing(windowsPath).value_or(platform::hostPath(windowsPath));
}

std::optional<std::string> HostFileNames::entryFor(const std::string& hostFolder, const std::string& name)
{
    auto [listed, added] = folderEntries_.try_emplace(hostFolder);
    if (added) {
        for (const std::string& entry : platform::hostFolderEntries(hostFolder)) {
            listed->second.try_emplace(asciiLowerCase(entry), entry);
        }
    }
    // Wine folds letter case beyond ASCII too; project file names hardly use it.
    for (const std::string& spelling : {name, latin1AsUtf8(name)}) {
        if (const auto entry = listed->second.find(asciiLowerCase(spelling)); entry != listed->second.end()) {
            return entry->second;
        }
    }
    return std::nullopt;
}
