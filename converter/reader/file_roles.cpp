#include "reader/file_roles.h"

#include "base/ascii_case.h"
#include "base/windows_path.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace {

// The kinds that a folder's name tells, looked for in this order.
constexpr std::array<std::pair<std::string_view, FolderKind>, 3> kindNames{{
    {"Header Files", FolderKind::header},
    {"Linker Files", FolderKind::linker},
    {"Source Files", FolderKind::source},
}};

// Extensions of the files that a folder of no kind takes, in lower case. The
// end-to-end runner reads these two lines too.
constexpr std::array<std::string_view, 4> headerExtensions{"h", "hh", "hpp", "hxx"};
constexpr std::array<std::string_view, 7> sourceExtensions{"c", "cc", "cpp", "cxx", "asm", "s", "dsp"};

// The sources among them that the assembler translates, not the compiler.
constexpr std::array<std::string_view, 3> assemblyExtensions{"asm", "s", "dsp"};

std::string lowerCaseExtension(std::string_view path)
{
    return asciiLowerCase(std::string(fileExtension(path)));
}

template <std::size_t size>
bool isOneOf(const std::string& extension, const std::array<std::string_view, size>& extensions)
{
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

} // namespace

std::optional<FolderKind> kindNamedIn(std::string_view folderName)
{
    for (const auto& [name, kind] : kindNames) {
        if (folderName.find(name) != std::string_view::npos) {
            return kind;
        }
    }
    return std::nullopt;
}

FileRole roleByFolder(std::string_view path, FolderKind kind)
{
    if (kind == FolderKind::header) {
        return FileRole::header;
    }
    if (kind == FolderKind::source) {
        return FileRole::source;
    }
    if (kind == FolderKind::byExtension) {
        const std::string extension = lowerCaseExtension(path);
        if (isOneOf(extension, headerExtensions)) {
            return FileRole::header;
        }
        if (isOneOf(extension, sourceExtensions)) {
            return FileRole::source;
        }
    }
    return FileRole::notTaken;
}

NotTakenBecause whyNotTaken(std::string_view path, FolderKind kind)
{
    if (kind == FolderKind::linker) {
        return NotTakenBecause::linkerFile;
    }
    if (kind == FolderKind::outsideFolders) {
        return NotTakenBecause::outsideAnyFolder;
    }
    if (roleByFolder(path, kind) == FileRole::source) {
        return NotTakenBecause::leftOutByExtensions;
    }
    return NotTakenBecause::neitherHeaderNorSource;
}

bool isAssemblySource(std::string_view path)
{
    return isOneOf(lowerCaseExtension(path), assemblyExtensions);
}

bool isBuiltSource(std::string_view path)
{
    return isOneOf(lowerCaseExtension(path), sourceExtensions);
}
