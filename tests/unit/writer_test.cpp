#include "writer_fixture.h"

#include "base/output_file.h"
#include "report/report_file.h"
#include "layout/distinct_folder_names.h"
#include "layout/output_plan.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string outputLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// Every path below the folder, "/" separated, folders ending in "/", sorted.
std::vector<std::string> listing(const fs::path& folder)
{
    std::vector<std::string> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        std::string path = entry.path().lexically_relative(folder).generic_string();
        paths.push_back(entry.is_directory() ? path + "/" : path);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace

using ProjectWriter = WriterFixture;

TEST_F(ProjectWriter, EmptyRootGroupLeavesOnlyTheVersionLineAndItsFolders)
{
    const WriteResult result = writeProject();

    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.output,
              outputLines({"Creating Tavric/Tavric++ Project ...", "Tavric/Tavric++ Project Completed!"}));
    EXPECT_EQ(projectFileBytes(), "VersionTag45\r\n");
    EXPECT_EQ(listing(hostPath("")),
              (std::vector<std::string>{"radio.prj", "radio/", "radio/output/", "radio/person/"}));
}

TEST_F(ProjectWriter, MarkersFollowTheShapeOfTheTree)
{
    // An empty file entry makes a group non-empty without a file line; children
    // that are all empty leave an empty list of sub-projects.
    std::unique_ptr<Group> root = makeGroup("radio");
    root->addFile("");
    Group& parent = addChild(*root, "Parent");
    parent.addFile("C:\\a.c");
    addChild(parent, "EmptyOne");
    addChild(parent, "EmptyTwo");
    Group& leaf = addChild(*root, "Leaf");
    leaf.addFile("");
    leaf.addFile("C:\\b.c");

    const WriteResult result = writeTree(*root);

    std::string markersAndFiles;
    const std::string text = projectFileBytes();
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        if (line.find('=') == std::string::npos) {
            markersAndFiles += line + "|";
        }
        start = end + 2;
    }
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(markersAndFiles,
              "VersionTag45|StartProjectMarker|EndContainedFilesMarker|StartSubProjectMarker|"
              "StartProjectMarker|C:\\a.c|EndContainedFilesMarker|StartSubProjectMarker|EndSubProjectMarker|"
              "StartProjectMarker|C:\\b.c|EndContainedFilesMarker|EndSubProjectMarker|");
    EXPECT_TRUE(fs::is_directory(hostPath("radio/Parent/EmptyTwo/person")));
}

TEST_F(ProjectWriter, GroupWithoutSourceFolderNamesItsOwnFolder)
{
    std::unique_ptr<Group> root = makeGroup("radio");
    root->sourceDir.clear();
    root->addFile("C:\\a.c");

    writeTree(*root);

    EXPECT_NE(projectFileBytes().find("\r\nSourcePath=" + destination + "\\radio\\\r\n"), std::string::npos);
}

TEST_F(ProjectWriter, NamesWithSeparatorsMakeNestedFolders)
{
    std::unique_ptr<Group> root = makeGroup("p");
    Group& nested = addChild(*root, "a\\b/c");
    nested.addFile("C:\\a.c");
    addChild(nested, "child").addFile("C:\\b.c");

    const WriteResult result = writeTree(*root);

    EXPECT_EQ(result.failure, "");
    EXPECT_TRUE(fs::is_directory(hostPath("p/a/b/c/output")));
    EXPECT_TRUE(fs::is_directory(hostPath("p/a/b/c/child/person")));
    EXPECT_NE(projectFileBytes().find("\r\nOutputPath=" + destination + "\\p\\a\\b/c\\child\\output\\\r\n"),
              std::string::npos);
}

// The same-file check and the run's record see only the planned files: the
// writer must write no other, wherever a tree puts its personalities.
TEST_F(ProjectWriter, WritesEveryPlannedFileAndNoOther)
{
    std::unique_ptr<Group> root = makeGroup("radio");
    root->addFile("C:\\a.c");
    Group& debug = addChild(*root, "Debug");
    debug.addFile("C:\\b.c");
    debug.appendIncludePath("C:\\inc");
    Group& nested = addChild(debug, "src\\dsp");
    nested.addFile("C:\\e.c");
    nested.setDefinition("BOARD", "2");
    addChild(debug, "empty");
    Group& twin = addChild(*root, "DEBUG");
    twin.addFile("C:\\c.c");
    twin.setDefinition("NDEBUG", "");
    addChild(twin, "inherits").addFile("C:\\d.c");

    ASSERT_EQ(writeTree(*root).failure, "");

    const OutputPlan plan(converter.writerSettings(), *root);
    std::vector<std::string> planned;
    for (const RunFile& file : plan.files()) {
        ASSERT_TRUE(file.path.starts_with(destination + "\\")) << file.path;
        std::string below = file.path.substr(destination.size() + 1);
        std::replace(below.begin(), below.end(), '\\', '/');
        planned.push_back(below);
    }
    std::sort(planned.begin(), planned.end());
    std::vector<std::string> written = listing(hostPath(""));
    std::erase_if(written, [](const std::string& path) { return path.ends_with('/'); });
    EXPECT_EQ(written, planned);
    EXPECT_EQ(planned.size(), 7U);
}

TEST_F(ProjectWriter, BackslashIsTakenFirstWhenANameHoldsBothSeparators)
{
    // For a/b\c the first folder asked for is a/b, so the folder a is never made.
    std::unique_ptr<Group> root = makeGroup("p");
    addChild(*root, "a/b\\c").addFile("C:\\a.c");

    EXPECT_EQ(writeTree(*root).failure, "1 " + destination + "\\p\\a/b");

    fs::create_directory(hostPath("p/a"));
    EXPECT_EQ(writeTree(*root).failure, "");
    EXPECT_TRUE(fs::is_directory(hostPath("p/a/b/c/output")));
}

TEST_F(ProjectWriter, FileStandingWhereAGroupFolderMustGo)
{
    std::unique_ptr<Group> root = makeGroup("radio");
    addChild(*root, "Debug").addFile("C:\\a.c");
    fs::create_directory(hostPath("radio"));
    writeBytes(hostPath("radio/Debug"), "in the way");

    EXPECT_EQ(writeTree(*root).failure, "1 " + destination + "\\radio\\Debug\\output\\");
    EXPECT_EQ(readBytes(hostPath("radio/Debug")), "in the way");
}

TEST_F(ProjectWriter, ProjectFileThatCannotBeOpenedStopsBeforeAnything)
{
    fs::create_directory(hostPath("radio.prj"));
    WriteResult result = writeProject();
    EXPECT_EQ(result.failure, "2 " + destination + "\\radio.prj");
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(listing(hostPath("")), std::vector<std::string>{"radio.prj/"});

    fs::remove_all(hostPath(""));
    result = writeProject();
    EXPECT_EQ(result.failure, "2 " + destination + "\\radio.prj");
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(fs::exists(hostPath("")));
}

TEST_F(ProjectWriter, AFailureLeavesEveryLineWrittenBeforeIt)
{
    // More lines than one buffer holds, so that some went out when it was full
    // and the rest was still buffered when the failure came.
    constexpr int fileCount = 3000;
    std::unique_ptr<Group> root = makeGroup("radio");
    for (int i = 0; i < fileCount; ++i) {
        root->addFile("C:\\work\\radio\\src\\module" + std::to_string(i) + ".c");
    }
    // A line longer than the buffer goes out in its place among the others.
    const std::string longPath = "C:\\" + std::string(OutputFile::bufferSize + 1, 'x') + ".c";
    root->addFile(longPath);
    root->addFile("C:\\work\\radio\\last.c");
    addChild(*root, "Debug").addFile("C:\\a.c");
    ASSERT_EQ(writeTree(*root).failure, "");
    const std::string whole = projectFileBytes();
    const std::string beforeDebug = whole.substr(0, whole.find("StartProjectMarker\r\nFolderName=Debug"));
    ASSERT_GT(beforeDebug.size(), OutputFile::bufferSize);
    EXPECT_NE(whole.find("module2999.c\r\n" + longPath + "\r\nC:\\work\\radio\\last.c\r\n"), std::string::npos);

    // A second run, which finds a file where the child's folder must go.
    folders = DestinationFolders(destination);
    fs::remove_all(hostPath("radio/Debug"));
    writeBytes(hostPath("radio/Debug"), "in the way");
    EXPECT_EQ(writeTree(*root).failure, "1 " + destination + "\\radio\\Debug\\output\\");
    EXPECT_EQ(projectFileBytes(), beforeDebug);
}

// The lines kept until the report is opened fill several pieces: none may be
// lost or doubled where a piece ends, and one longer than a piece keeps its place.
TEST_F(ProjectWriter, AReportWritesEveryLineKeptBeforeItWasOpened)
{
    ReportFile report(false);
    std::string expected = "kind\tconfiguration\titem\tdetail\r\n";
    const std::string longItem(std::size_t{3} << 20, 'x');
    for (int i = 0; i < 40000; ++i) {
        const std::string item = i == 20000 ? longItem : "C:\\work\\radio\\src\\module" + std::to_string(i) + ".c";
        report.writeLine("taken", "Debug", item, "radio: " + item);
        expected += "taken\tDebug\t" + item + "\tradio: " + item + "\r\n";
    }
    report.open(destinationPath("report.tsv"));
    report.writeLine("define", "Debug", "BOARD", "1");
    report.close();
    expected += "define\tDebug\tBOARD\t1\r\n";
    const std::string written = readBytes(hostPath("report.tsv"));
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

// Fields are tested for tabs and line breaks several bytes at a time: a
// break anywhere in a field of any length, or in any part of a detail, becomes
// a blank, and nothing else, the separators before the field above all,
// changes.
TEST_F(ProjectWriter, AReportBlanksEachTabAndLineBreakOfAField)
{
    ReportFile report(false);
    std::string expected = "kind\tconfiguration\titem\tdetail\r\n";
    for (std::size_t length = 1; length <= 20; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string item(length, 'a');
            item[at] = "\t\r\n"[at % 3];
            report.writeLine("unresolved", "", item, "\xE9");
            std::string blanked(length, 'a');
            blanked[at] = ' ';
            expected += "unresolved\t\t" + blanked + "\t\xE9\r\n";
        }
    }
    // A detail written in parts is blanked in each of them.
    const std::array<std::string_view, 3> parts{"radio\tA", ": ", "C:\\a\n.c"};
    report.writeLine("taken", "Debug", "a.c", parts, "");
    expected += "taken\tDebug\ta.c\tradio A: C:\\a .c\r\n";
    report.open(destinationPath("report.tsv"));
    report.close();
    EXPECT_EQ(readBytes(hostPath("report.tsv")), expected);
}

class ParentFolderNames : public WriterFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(ParentFolderNames, AreRefusedByThePlanBeforeAnythingIsWritten)
{
    const std::string name = GetParam();
    std::unique_ptr<Group> root = makeGroup("radio");
    Group& target = addChild(*root, "T");
    addChild(target, name).addFile("C:\\a.c");

    const WriteResult result = writeTree(*root);

    EXPECT_EQ(result.failure, "Could not create directory: " + destination + "\\radio\\T\\" + name);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(listing(temp.path()), std::vector<std::string>{"out/"});
}

INSTANTIATE_TEST_SUITE_P(DotDotParts, ParentFolderNames,
                         ::testing::Values("..", "..\\..\\..\\escape", "a\\..\\..\\..\\b", "../../../escape",
                                           "a/../../..", "x\\y/.."));

TEST_F(ProjectWriter, DotsInsideAPartAreOrdinaryNames)
{
    std::unique_ptr<Group> root = makeGroup("radio");
    for (const char* name : {"...x", "a..b", "..x"}) {
        addChild(*root, name).addFile("C:\\a.c");
    }

    EXPECT_EQ(writeTree(*root).failure, "");
    EXPECT_TRUE(fs::is_directory(hostPath("radio/...x/output")));
    EXPECT_TRUE(fs::is_directory(hostPath("radio/..x/output")));
}

TEST(DistinctFolderNames, NamesOfOneFolderAreToldApartAndOthersKeptAsWritten)
{
    using Names = std::vector<std::string>;
    const struct {
        Names names;
        Names folders;
    } rows[] = {
        {{"Debug", "Release", "x/y", "x\\z"}, {"Debug", "Release", "x/y", "x\\z"}},
        {{"a", "./a", "a/", ".\\a\\", "a.", "a ", "A"}, {"a", "a (2)", "a (3)", "a (4)", "a (5)", "a (6)", "A (7)"}},
        // A number a sibling already leads to is passed over.
        {{"./a", "a", "a (2)", "A (3)"}, {"./a", "a (4)", "a (2)", "A (3)"}},
        {{"x/./y", "x\\y", "X//Y"}, {"x/./y", "x\\y (2)", "X\\Y (3)"}},
        {{"", ".", ".\\...", "unnamed"}, {"unnamed (2)", "unnamed (3)", "unnamed (4)", "unnamed"}},
        {{"", "."}, {"unnamed", "unnamed (2)"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(distinctFolderNames(row.names), row.folders) << ::testing::PrintToString(row.names);
    }
}
