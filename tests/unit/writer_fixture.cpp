#include "writer_fixture.h"

#include "base/errors.h"
#include "base/output_file.h"
#include "support/captured_stdout.h"
#include "layout/output_plan.h"
#include "writer/project_writer.h"

namespace fs = std::filesystem;

std::string failureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const IOERROR& error) {
        return std::to_string(error.code) + " " + error.path;
    } catch (const RefusedBeforeWriting& error) {
        return error.what();
    }
    return {};
}

namespace {

WriteResult captureWriting(const std::function<void()>& work)
{
    WriteResult result;
    result.output = printedBy([&] { result.failure = failureOf(work); });
    return result;
}

} // namespace

WriterFixture::WriterFixture()
    : destination(temp.windowsPath("out")),
      converter(std::string(sourceFolder) + "\\radio.dpj", destination, "C:\\VisualDSP")
{
    fs::create_directory(temp.path() / "out");
    converter.projectName = "radio";
}

std::unique_ptr<Group> WriterFixture::makeGroup(const std::string& name)
{
    auto group = std::make_unique<Group>(name);
    group->sourceDir = sourceFolder;
    return group;
}

Group& WriterFixture::addChild(Group& parent, const std::string& name)
{
    std::unique_ptr<Group> child = makeGroup(name);
    Group& added = *child;
    parent.addChild(std::move(child));
    return added;
}

WriteResult WriterFixture::writeTree(const Group& root)
{
    return captureWriting([&] { writeTreeUncaptured(root); });
}

void WriterFixture::writeTreeUncaptured(const Group& root)
{
    const OutputPlan plan(converter.writerSettings(), root);
    OutputFile projectFile(destinationPath("radio.prj"));
    projectFile.writeLine("VersionTag45");
    ProjectWriter(plan, folders, report).write(projectFile, plan.root());
    projectFile.close();
}

WriteResult WriterFixture::writeProject()
{
    return captureWriting([&] { converter.writeProject(OutputPlan(converter.writerSettings(), converter.getRootGroup())); });
}

std::string WriterFixture::destinationPath(const std::string& below) const
{
    return below.empty() ? destination : destination + "\\" + below;
}

fs::path WriterFixture::hostPath(const fs::path& below) const
{
    return temp.path() / "out" / below;
}

std::string WriterFixture::projectFileBytes() const
{
    return readBytes(hostPath("radio.prj"));
}
