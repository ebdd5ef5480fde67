#include "project_group.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

const QString groupElement = QStringLiteral("visualdsp-project-group");
const QString memberElement = QStringLiteral("project");

} // namespace

std::optional<ProjectGroup> readProjectGroup(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // The reader takes the encoding from the file's XML declaration.
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != groupElement) {
        return std::nullopt;
    }
    ProjectGroup group;
    while (xml.readNextStartElement()) {
        if (xml.name() == memberElement) {
            const QXmlStreamAttributes attributes = xml.attributes();
            group.members.append({attributes.value(QStringLiteral("name")).toString(),
                                  attributes.value(QStringLiteral("file")).toString()});
        }
        // A member's dependencies and anything unknown are read over.
        xml.skipCurrentElement();
    }
    group.readWhole = !xml.hasError();
    return group;
}
