#pragma once

#include "report/not_taken_because.h"

#include <optional>
#include <string_view>

// What a file entry of the project becomes: the rules by folder kind and by
// extension, over their tables in file_roles.cpp.

// How the files of a folder are read: all by the kind that the folder's name
// tells, or each by its own extension. Files written directly under the
// project are in no folder at all.
enum class FolderKind { header, linker, source, byExtension, outsideFolders };

// What a file entry adds: its folder as an include folder, itself as a source
// file, or nothing.
enum class FileRole { header, source, notTaken };

// The kind that a folder's name tells, if any: "Header Files", then "Linker
// Files", then "Source Files", found anywhere in the name.
std::optional<FolderKind> kindNamedIn(std::string_view folderName);
// The role by the folder's kind, or in a folder of no kind by the file's
// extension (letter case ignored); before the extension list has its say.
FileRole roleByFolder(std::string_view path, FolderKind kind);
// A source that the assembler translates, by its extension (letter case
// ignored): "crt.S", "boot.asm".
bool isAssemblySource(std::string_view path);
// A file that the compiler or the assembler builds, by its extension (letter
// case ignored); a header or a .cfg in a folder of sources is not.
bool isBuiltSource(std::string_view path);
// Why `roleByFolder`, or the extension list after it, took a file as nothing.
NotTakenBecause whyNotTaken(std::string_view path, FolderKind kind);
