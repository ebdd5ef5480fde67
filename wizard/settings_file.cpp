#include "settings_file.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTextStream>

namespace {

const QString checkedValue = QStringLiteral("yes");
const QString clearValue = QStringLiteral("no");

} // namespace

SettingsEntry lineEditSetting(const QString& key, QLineEdit* field, bool writtenWhenEmpty)
{
    return {key, [field] { return field->text(); }, [field](const QString& text) { field->setText(text); },
            writtenWhenEmpty};
}

SettingsEntry checkBoxSetting(const QString& key, QCheckBox* box)
{
    return {key, [box] { return box->isChecked() ? checkedValue : clearValue; },
            [box](const QString& text) {
                if (text == checkedValue || text == clearValue) {
                    box->setChecked(text == checkedValue);
                }
            },
            true};
}

void readSettingsFile(const QString& path, const QList<SettingsEntry>& entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::System);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        for (const SettingsEntry& entry : entries) {
            if (line == entry.key) {
                // The value line is taken whatever it holds, even when it looks like a key.
                entry.setValue(stream.readLine());
                break;
            }
        }
    }
}

bool writeSettingsFile(const QString& path, const QList<SettingsEntry>& entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::System);
    for (const SettingsEntry& entry : entries) {
        const QString value = entry.value();
        if (entry.writtenWhenEmpty || !value.isEmpty()) {
            stream << entry.key << '\n' << value << "\n\n";
        }
    }
    stream.flush();
    return stream.status() == QTextStream::Ok && file.flush();
}
