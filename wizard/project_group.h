#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The members a project group file lists, in the file's order, each as "name (file)", and ": no such file"
// after one whose project file the converter would not find.
struct ProjectGroup {
    QStringList members;
    // False when the file broke off or was malformed after the members listed.
    bool readWhole = true;
};

// Far beyond any real group file, whose members take a line each.
inline constexpr qint64 maxGroupFileBytes = 4 << 20;

// Reads a project group file with the converter's own reader; no value when the path is no regular file of at
// most maxGroupFileBytes (a pipe or a device would hold the window), cannot be read, or is no project group,
// whatever its extension. Of a file that is no group only the start is read.
std::optional<ProjectGroup> readProjectGroup(const QString& path);

// What the start of a regular file says against converting it, so that page 1 tells it before Finish: a binary
// project file of an older IDE version, or a file whose first element is neither a project nor a project group
// (a linker file chosen by mistake). Empty when nothing does, also for an empty file or one that cannot be
// read, which the converter reports itself.
QString sourceFileProblem(const QString& path);
