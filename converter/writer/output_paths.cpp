#include "writer/output_paths.h"

#include "base/windows_path.h"
#include "driver/converter.h"

std::string projectPersonFolder(const Converter& converter)
{
    return converter.getDestinationFolder() + "\\person\\";
}

std::string projectPersonality(const Converter& converter, std::string_view extension)
{
    return projectPersonFolder(converter) + converter.getProjectName() + std::string(extension);
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
    return fileName(name, name.find('\\') != std::string::npos ? '\\' : '/');
}

std::string ownAnalyserPersonality(const std::string& groupFolder, const std::string& folderName)
{
    return groupFolder + "\\person\\" + groupBaseName(folderName) + std::string(analyserExtension);
}
