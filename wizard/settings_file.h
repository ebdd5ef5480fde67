#pragma once

#include <QList>
#include <QString>

class QLineEdit;

// One remembered field: the key line that names it in the settings file and the field that holds its value.
struct SettingsEntry {
    QString key;
    QLineEdit* field;
    bool writtenWhenEmpty;
};

// Sets each field whose key line occurs in the file to the line after it; a missing file changes nothing.
void readSettingsFile(const QString& path, const QList<SettingsEntry>& entries);

// Replaces the file with one block (key, value, empty line) per entry; an unwritable file is left alone.
void writeSettingsFile(const QString& path, const QList<SettingsEntry>& entries);
