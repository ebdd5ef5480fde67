#include "base/windows_path.h"

namespace {

constexpr char extensionSeparator = '.';
constexpr char backslash = '\\';
constexpr std::string_view separators = "\\/";
constexpr char driveMark = ':';
// "C:" and then a backslash.
constexpr std::size_t driveLength = 2;

} // namespace

bool hasDrive(std::string_view path)
{
    return path.size() >= driveLength && path[1] == driveMark;
}

bool isDriveAbsolute(std::string_view path)
{
    return hasDrive(path) && path.size() > driveLength && path[driveLength] == backslash;
}

bool isRooted(std::string_view path)
{
    return path.starts_with(backslash);
}

bool isDriveRoot(std::string_view path)
{
    return isDriveAbsolute(path) && path.size() == driveLength + 1;
}

bool endsWithSeparator(std::string_view path)
{
    return path.ends_with(backslash);
}

std::optional<std::string_view> parentFolder(std::string_view path, char separator)
{
    const std::size_t last = path.rfind(separator);
    if (last == std::string_view::npos) {
        return std::nullopt;
    }
    return path.substr(0, last);
}

std::string_view fileName(std::string_view path, char separator)
{
    const std::size_t last = path.rfind(separator);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string_view extension(std::string_view path)
{
    return fileName(path, extensionSeparator);
}

std::string_view fileExtension(std::string_view path)
{
    const std::string_view name = fileName(path);
    return name.find(extensionSeparator) == std::string_view::npos ? std::string_view() : extension(name);
}

std::string_view withoutExtension(std::string_view path)
{
    return parentFolder(path, extensionSeparator).value_or(path);
}

std::vector<std::string_view> pathParts(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (true) {
        const std::size_t separator = path.find_first_of(separators);
        parts.push_back(path.substr(0, separator));
        if (separator == std::string_view::npos) {
            return parts;
        }
        path.remove_prefix(separator + 1);
    }
}

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    path += backslash;
    path.append(name);
    return path;
}

std::string withoutEmptyOrDotParts(std::string_view path)
{
    const std::size_t start = isDriveAbsolute(path) ? 3 : path.starts_with("\\\\") ? 2 : isRooted(path) ? 1 : 0;
    std::string kept(path.substr(0, start));
    for (const std::string_view part : pathParts(path.substr(start))) {
        if (part.empty() || part == ".") {
            continue;
        }
        if (kept.size() > start) {
            kept += backslash;
        }
        kept.append(part);
    }
    return kept;
}

std::string shownFilePath(const std::string& path, const std::string& standInName)
{
    return standInName.empty() ? path : joinPath(path, standInName);
}
