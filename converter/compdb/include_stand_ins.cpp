#include "compdb/include_stand_ins.h"

#include "base/errors.h"
#include "platform/platform.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

constexpr std::string_view blanks = " \t";
constexpr std::string_view includeDirective = "include";
constexpr char hostSeparator = '/';

std::string_view skipBlanks(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(blanks);
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

} // namespace

// The header a line includes, if it is an #include line.
std::optional<IncludeStandIns::Include> IncludeStandIns::includeOn(std::string_view line)
{
    line = skipBlanks(line);
    if (!line.starts_with('#')) {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(1));
    if (!line.starts_with(includeDirective)) {
        return std::nullopt;
    }
    line = skipBlanks(line.substr(includeDirective.size()));
    if (line.empty() || (line[0] != '"' && line[0] != '<')) {
        return std::nullopt;
    }
    const bool quoted = line[0] == '"';
    const std::size_t close = line.find(quoted ? '"' : '>', 1);
    if (close == std::string_view::npos || close == 1) {
        return std::nullopt;
    }
    return Include{std::string(line.substr(1, close - 1)), quoted};
}

namespace {

std::string folderOf(const std::string& hostFile)
{
    const std::size_t last = hostFile.rfind(hostSeparator);
    return last == std::string::npos ? "." : hostFile.substr(0, last);
}

std::string withHostSeparators(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', hostSeparator);
    return name;
}

} // namespace

void IncludeStandIns::scan(const std::string& hostSource, const std::vector<std::string>& searchFolders)
{
    // A work list, not recursion: include chains are as deep as a project makes them.
    std::vector<std::string> pending{hostSource};
    while (!pending.empty()) {
        const std::string file = std::move(pending.back());
        pending.pop_back();
        if (!scanned_.insert(file).second) {
            continue;
        }
        std::ifstream in(file, std::ios::binary);
        const std::string folder = folderOf(file);
        for (std::string line; std::getline(in, line);) {
            if (const std::optional<Include> include = includeOn(line)) {
                if (std::optional<std::string> found = find(*include, folder, searchFolders)) {
                    pending.push_back(std::move(*found));
                }
            }
        }
    }
}

std::optional<std::string> IncludeStandIns::find(const Include& include, const std::string& includingFolder,
                                                 const std::vector<std::string>& searchFolders)
{
    std::vector<std::string> folders;
    if (include.quoted) {
        folders.push_back(includingFolder);
    }
    folders.insert(folders.end(), searchFolders.begin(), searchFolders.end());
    for (const std::string& folder : folders) {
        const std::string literal = folder + hostSeparator + include.name;
        if (platform::hostEntryExists(literal)) {
            return literal;
        }
    }
    for (const std::string& folder : folders) {
        if (std::optional<std::string> found = hostFiles_.existingHost(folder + hostSeparator +
                                                                       withHostSeparators(include.name))) {
            // A name that leads through folders would need folders of stand-ins.
            if (include.name.find(hostSeparator) == std::string::npos) {
                standIns_.try_emplace(include.name, *found);
            }
            return found;
        }
    }
    return std::nullopt;
}

void IncludeStandIns::write(const std::string& hostFolder) const
{
    for (const auto& [name, file] : standIns_) {
        const std::string path = hostFolder + hostSeparator + name;
        std::FILE* out = platform::createHostFile(path);
        const std::string text = "#include \"" + file + "\"\n";
        const bool written = out != nullptr && std::fputs(text.c_str(), out) >= 0;
        if (out == nullptr || std::fclose(out) != 0 || !written) {
            throw IOERROR(IOERROR::cannotWriteFile, path);
        }
    }
}
