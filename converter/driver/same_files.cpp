#include "driver/same_files.h"

#include "base/windows_path.h"
#include "driver/errors.h"
#include "platform/file_identity.h"
#include "writer/distinct_folder_names.h"

#include <unordered_map>

namespace {

// Paths of one run share most of their folders, which are looked up once.
class FileIdentities {
public:
    std::string of(const std::string& path)
    {
        // "C:" would name the drive's current folder, not its root.
        const std::string lookedUp = hasDrive(path) && path.size() == 2 ? path + "\\" : path;
        if (const std::optional<std::string> identity = platform::fileIdentity(lookedUp)) {
            return *identity;
        }
        const std::optional<std::string> parent = parentFolder(path);
        const std::string name = folderKey(fileName(path));
        if (!parent) {
            return "?" + folderKey(path);
        }
        return name.empty() ? folderOf(*parent) : folderOf(*parent) + "\\" + name;
    }

private:
    const std::string& folderOf(const std::string& folder)
    {
        const auto found = folders.find(folder);
        if (found != folders.end()) {
            return found->second;
        }
        std::string identity = of(folder);
        return folders.emplace(folder, std::move(identity)).first->second;
    }

    std::unordered_map<std::string, std::string> folders;
};

[[noreturn]] void refuse(const RunFile& output, const RunFile& other)
{
    throw SameFile("Will not write " + std::string(output.role) + " " + output.path + ": it is the same file as " +
                   std::string(other.role) + " " + other.path);
}

} // namespace

void refuseSameFiles(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs)
{
    FileIdentities identities;
    std::unordered_map<std::string, const RunFile*> inputByIdentity;
    for (const RunFile& input : inputs) {
        inputByIdentity.try_emplace(identities.of(input.path), &input);
    }
    std::unordered_map<std::string, const RunFile*> outputByIdentity;
    for (const RunFile& output : outputs) {
        const std::string identity = identities.of(output.path);
        if (const auto input = inputByIdentity.find(identity); input != inputByIdentity.end()) {
            refuse(output, *input->second);
        }
        if (const auto [earlier, added] = outputByIdentity.try_emplace(identity, &output); !added) {
            refuse(output, *earlier->second);
        }
    }
}
