#include "settings_file.h"

#include <QFile>
#include <QLineEdit>
#include <QTextStream>

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
                entry.field->setText(stream.readLine());
                break;
            }
        }
    }
}

void writeSettingsFile(const QString& path, const QList<SettingsEntry>& entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return;
    }
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::System);
    for (const SettingsEntry& entry : entries) {
        if (entry.writtenWhenEmpty || !entry.field->text().isEmpty()) {
            stream << entry.key << '\n' << entry.field->text() << "\n\n";
        }
    }
}
