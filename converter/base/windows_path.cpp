#include "base/windows_path.h"

namespace {

constexpr char extensionSeparator = '.';

} // namespace

std::optional<std::string> parentFolder(std::string_view path, char separator)
{
    const std::size_t last = path.rfind(separator);
    if (last == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(path.substr(0, last));
}

std::string fileName(std::string_view path, char separator)
{
    const std::size_t last = path.rfind(separator);
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string extension(std::string_view path)
{
    return fileName(path, extensionSeparator);
}

std::string withoutExtension(std::string_view path)
{
    return parentFolder(path, extensionSeparator).value_or(std::string(path));
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path += '\\';
    path.append(name);
    return path;
}
