// Before any Qt header: Qt's "slots" keyword would rename a member of the converter's.
#include "base/errors.h"
#include "base/host_file_names.h"
#include "driver/make_absolute_path.h"
#include "reader/group_file_reader.h"
#include "reader/older_project_file.h"
#include "reader/project_paths.h"
#include "reader/project_reader.h"
#include "report/conversion_report.h"

#include "converter_text.h"
#include "platform/platform.h"
#include "project_group.h"
#include "wizard_fields.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <exception>

namespace {

// The IDE writes its files in the system's 8-bit code page, newer ones in UTF-8.
QString decoded(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes));
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

std::optional<ProjectGroup> readProjectGroup(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile() || file.size() > maxGroupFileBytes) {
        return std::nullopt;
    }
    XmlLexer lexer;
    ConversionReport unwritten;
    GroupFileReader reader(lexer, unwritten);
    std::vector<GroupMember> members;
    bool isGroup = false;
    bool readWhole = false;
    try {
        lexer.openFile(platform::commandLinePath(toConverterText(path)));
        isGroup = GroupFileReader::isGroupFile(lexer);
        if (!isGroup) {
            return std::nullopt;
        }
        readWhole = reader.readGroup(members);
    } catch (const std::exception&) {
        // A group that broke off lists the members read before.
        if (!isGroup) {
            return std::nullopt;
        }
    }
    ProjectGroup group{{}, readWhole};
    // Found as the converter finds them: letter case ignored, from the group file's folder.
    HostFileNames hostFiles;
    const std::string groupFile = makeAbsolutePath(platform::commandLinePath(toConverterText(path)));
    for (const GroupMember& member : members) {
        const std::string memberFile = makeAbsolutePath(resolveGroupMemberPath(groupFile, member.file));
        const bool found = hostFiles.existing(memberFile).has_value();
        group.members << QStringLiteral("%1 (%2)").arg(decoded(member.name), decoded(member.file)) +
                             (found ? QString() : wizardText(": no such file"));
    }
    return group;
}

QString sourceFileProblem(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.peek(1).isEmpty()) {
        return {};
    }
    const std::string windowsPath = platform::commandLinePath(toConverterText(path));
    if (isOlderBinaryProjectFile(windowsPath)) {
        return wizardText("Project File: a binary project file of an older VisualDSP version. Open it in the IDE and "
                          "save it, which converts it, then choose it again.");
    }
    XmlLexer lexer;
    try {
        lexer.openFile(windowsPath);
        const std::string_view element = lexer.pendingStartTagName();
        if (element == projectElementName || GroupFileReader::isGroupFile(lexer)) {
            return {};
        }
    } catch (const XMLReaderError& error) {
        // Text without a tag is some other file; one cut short or unreadable is the converter's to tell.
        if (error.code != XMLReaderError::noElement) {
            return {};
        }
    } catch (const std::exception&) {
        return {};
    }
    return wizardText("Project File: not a VisualDSP project or project group.");
}
