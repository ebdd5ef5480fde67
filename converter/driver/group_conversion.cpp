// A project group: each project it lists is read, one after another, into a
// child of the root group, exactly as converting that project alone reads it.
#include "base/ascii_case.h"
#include "base/console.h"
#include "base/errors.h"
#include "base/windows_path.h"
#include "driver/converter.h"
#include "reader/group_file_reader.h"
#include "reader/project_paths.h"
#include "report/conversion_report.h"

#include <unordered_map>

ProjectReading Converter::readGroup()
{
    std::vector<GroupMember> members;
    GroupFileReader groupReader(lexer, *report);
    const ReadExtent extent = groupReader.readGroup(members) ? ReadExtent::wholeProject : ReadExtent::partOfProject;
    tellRefusal(lexer, extent);

    ProjectReading reading{extent, false};
    // Windows names one file in any letter case.
    std::unordered_map<std::string, std::string> namesByPath;
    for (const GroupMember& member : members) {
        const std::string path = resolveGroupMemberPath(sourcePath, member.file);
        const auto [first, isNew] = namesByPath.try_emplace(asciiUpperCase(path), member.name);
        if (!isNew) {
            printLine("Project listed twice in the group, read once: " + member.name + ": " + path);
            report->setProject(member.name);
            report->projectListedTwice(path, first->second);
            continue;
        }
        ++reading.groupProjects;
        groupProjectFiles.push_back(path);
        if (!readGroupMember(member, path, reading.keptInstallVariables)) {
            ++reading.groupProjectsNotReadWhole;
        }
    }
    report->setProject("");
    return reading;
}

// The member's own lexer is closed when it is read, so that the group needs
// no more than its largest project.
bool Converter::readGroupMember(const GroupMember& member, const std::string& path, bool& keptInstallVariables)
{
    printLine("Reading Project - " + member.name + ": " + path);
    auto project = std::make_unique<Group>(member.name);
    project->sourceDir = parentFolder(path).value_or(std::string());
    report->setProject(project->name);
    report->groupAdded(*rootGroup, *project);
    ReadExtent extent = ReadExtent::noProject;
    std::string message;
    try {
        XmlLexer projectLexer;
        projectLexer.openFile(path);
        const ProjectReading reading = readFrom(projectLexer, path, *project);
        keptInstallVariables = keptInstallVariables || reading.keptInstallVariables;
        tellRefusal(projectLexer, reading.extent);
        extent = reading.extent;
    } catch (const XMLReaderError& error) {
        message = readerFailureMessage(error, path);
    } catch (const InputTooLong& error) {
        message = error.what();
    }
    if (!message.empty()) {
        fail(message);
        report->projectNotRead(path, message);
    }
    // What a project alone would not write is left out of the group too.
    if (extent != ReadExtent::noProject) {
        rootGroup->addChild(std::move(project));
    }
    return extent == ReadExtent::wholeProject;
}
