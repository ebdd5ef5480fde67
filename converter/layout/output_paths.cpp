#include "layout/output_paths.h"

#include "base/windows_path.h"
#include "reader/group.h"
#include "layout/distinct_folder_names.h"
#include "layout/writer_settings.h"

std::string projectPersonFolder(const WriterSettings& settings)
{
    return settings.destinationFolder + "\\person\\";
}

std::string projectPersonality(const WriterSettings& settings, std::string_view extension)
{
    return projectPersonFolder(settings) + settings.projectName + std::string(extension);
}

std::string projectFilePath(const WriterSettings& settings)
{
    return joinPath(settings.destinationFolder, settings.projectName + ".prj");
}

std::string groupBaseFolder(const std::string& destinationFolder, const std::string& parentPath)
{
    return parentPath.empty() ? destinationFolder : joinPath(destinationFolder, parentPath);
}

std::string childParentPath(const std::string& parentPath, const std::string& name)
{
    return parentPath.empty() ? name : joinPath(parentPath, name);
}

std::string groupBaseName(const std::string& name)
{
    return std::string(fileName(name, name.find('\\') != std::string::npos ? '\\' : '/'));
}

bool hasOwnAnalyserPersonality(const Group& group)
{
    return !group.includePaths().empty() || !group.definitions().empty();
}

std::string rootFolderName(const Group& root)
{
    return root.isEmpty() ? root.name : distinctFolderNames({root.name}).front();
}

std::vector<std::string> childFolderNames(const Group& group)
{
    std::vector<std::string> written;
    for (const std::unique_ptr<Group>& child : group.children()) {
        if (!child->isEmpty()) {
            written.push_back(child->name);
        }
    }
    std::vector<std::string> distinct = distinctFolderNames(written);
    std::vector<std::string> folders;
    folders.reserve(group.children().size());
    std::size_t next = 0;
    for (const std::unique_ptr<Group>& child : group.children()) {
        folders.push_back(child->isEmpty() ? child->name : std::move(distinct[next++]));
    }
    return folders;
}

std::string ownAnalyserPersonality(const std::string& groupFolder, const std::string& folderName)
{
    return groupFolder + "\\person\\" + groupBaseName(folderName) + std::string(analyserExtension);
}
