#pragma once

#include <QList>
#include <QString>

#include <optional>

// One project of a VisualDSP project group: its name in the IDE and its project file as the group names it.
struct ProjectGroupMember {
    QString name;
    QString file;
};

// The members a project group file lists, in the file's order.
struct ProjectGroup {
    QList<ProjectGroupMember> members;
    // False when the file broke off or was malformed after the members listed.
    bool readWhole = true;
};

// Reads a project group file; no value when the file cannot be read or is no project group, whatever its
// extension. Of a file that is no group only the start is read.
std::optional<ProjectGroup> readProjectGroup(const QString& path);
