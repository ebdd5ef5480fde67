#pragma once

#include <QList>
#include <QString>

#include <functional>

class QCheckBox;
class QLineEdit;

// One remembered setting: the key line that names it in the settings file and how its value is read and set.
struct SettingsEntry {
    QString key;
    std::function<QString()> value;
    std::function<void(const QString&)> setValue;
    bool writtenWhenEmpty;
};

// A path or name kept as the field's text.
SettingsEntry lineEditSetting(const QString& key, QLineEdit* field, bool writtenWhenEmpty);

// A check box kept as "yes" or "no"; any other value leaves the box as the form set it.
SettingsEntry checkBoxSetting(const QString& key, QCheckBox* box);

// Sets each entry whose key line occurs in the file to the line after it; a missing file changes nothing.
void readSettingsFile(const QString& path, const QList<SettingsEntry>& entries);

// Replaces the file with one block (key, value, empty line) per entry; false when it could not be written whole.
bool writeSettingsFile(const QString& path, const QList<SettingsEntry>& entries);
