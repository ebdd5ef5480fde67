// A project group: each project it lists is read, one after another, into a
// child of the root group, exactly as converting that project alone reads it.
#include "base/console.h"
#include "base/errors.h"
#include "base/host_file_names.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "driver/converter.h"
#include "driver/make_absolute_path.h"
#include "platform/file_identity.h"
#include "platform/platform.h"
#include "reader/group_file_reader.h"
#include "reader/project_paths.h"
#include "report/conversion_report.h"

#include <unordered_map>

// A project file as the IDE finds it: letter case ignored, and an ISO-8859-1
// name found under its UTF-8 name here.
struct MemberFile {
    // The Windows path as the group names it, absolute.
    std::string path;
    // The file as on disk, else the path as written.
    std::string hostPath;
    // Who the file is, so that every spelling and link of one file is one
    // project; a file not there is known by its spelling.
    std::string key;
};

namespace {

MemberFile memberFile(HostFileNames& hostFiles, std::string path)
{
    const std::optional<std::string> onDisk = hostFiles.existing(path);
    const std::optional<std::string> identity = onDisk ? platform::hostFileIdentity(*onDisk) : std::nullopt;
    std::string key = identity ? "=" + *identity : "?" + pathKey(path);
    std::string hostPath = onDisk.value_or(platform::hostPath(path));
    return {std::move(path), std::move(hostPath), std::move(key)};
}

} // namespace

ProjectReading Converter::readGroup()
{
    std::vector<GroupMember> members;
    GroupFileReader groupReader(lexer, *report);
    const ReadExtent extent = groupReader.readGroup(members) ? ReadExtent::wholeProject : ReadExtent::partOfProject;
    tellRefusal(lexer, extent);

    ProjectReading reading{extent, false};
    HostFileNames hostFiles;
    std::unordered_map<std::string, std::string> namesByFile;
    for (const GroupMember& member : members) {
        // A drive-relative member is taken as a source path on the command line is.
        const MemberFile file =
            memberFile(hostFiles, makeAbsolutePath(resolveGroupMemberPath(sourcePath, member.file)));
        const auto [first, isNew] = namesByFile.try_emplace(file.key, member.name);
        if (!isNew) {
            printLine("Project listed twice in the group, read once: " + member.name + ": " + file.path);
            report->setProject(member.name);
            report->projectListedTwice(file.path, first->second);
            continue;
        }
        ++reading.groupProjects;
        groupProjectFiles.push_back({"a project of the group", file.path, file.hostPath});
        if (!readGroupMember(member, file, reading.keptInstallVariables)) {
            ++reading.groupProjectsNotReadWhole;
        }
    }
    report->setProject("");
    return reading;
}

// The member's own lexer is closed when it is read, so that the group needs
// no more than its largest project.
bool Converter::readGroupMember(const GroupMember& member, const MemberFile& file, bool& keptInstallVariables)
{
    const std::string& path = file.path;
    printLine("Reading Project - " + member.name + ": " + path);
    auto project = std::make_unique<Group>(member.name);
    project->sourceDir = parentFolder(path).value_or(std::string());
    project->projectFileStem = withoutExtension(fileName(path));
    report->setProject(project->name);
    report->groupAdded(*rootGroup, *project, project->name);
    report->projectBegins();
    ReadExtent extent = ReadExtent::noProject;
    std::string message;
    try {
        XmlLexer projectLexer;
        projectLexer.openHostFile(file.hostPath);
        const ProjectReading reading = readFrom(projectLexer, path, *project);
        keptInstallVariables = keptInstallVariables || reading.keptInstallVariables;
        extent = reading.extent;
        report->projectEnds(extent == ReadExtent::noProject);
        tellRefusal(projectLexer, reading.extent);
    } catch (const XMLReaderError& error) {
        message = readerFailureMessage(error, path);
    } catch (const InputTooLong& error) {
        message = error.what();
    }
    if (!message.empty()) {
        report->projectEnds(true);
        fail(message);
        report->projectNotRead(path, message);
    }
    // What a project alone would not write is left out of the group too.
    if (extent != ReadExtent::noProject) {
        rootGroup->addChild(std::move(project));
    }
    return extent == ReadExtent::wholeProject;
}
