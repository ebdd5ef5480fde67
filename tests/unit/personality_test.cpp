#include "support/output_shape.h"
#include "writer_fixture.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The values of one key, in the order the project file lists them; none when
// the file is out of shape.
std::vector<std::string> valuesOf(const std::string& projectFile, std::string_view key)
{
    std::vector<std::string> values;
    for (const NamedOutput& output : projectFileShape(projectFile).outputs) {
        if (output.key == key) {
            values.emplace_back(output.path);
        }
    }
    return values;
}

} // namespace

class Personality : public WriterFixture {
protected:
    // The tree of the radio example with include folders and macros in Debug.
    Personality() : root(makeGroup("radio")), target(addChild(*root, "ADSP-21262")), debug(addChild(target, "Debug"))
    {
        debug.addFile("C:\\work\\radio\\main.c");
        debug.appendIncludePath("C:\\work\\radio\\inc");
        debug.appendIncludePath("C:\\VisualDSP\\include");
        debug.setDefinition("NDEBUG", "");
        debug.setDefinition("BOARD", "2");
    }

    std::string useTemplate(const std::string& bytes)
    {
        writeBytes(temp.path() / "template.txt", bytes);
        converter.analyserPersonality = temp.windowsPath("template.txt");
        return converter.analyserPersonality;
    }

    std::string debugOwnPath() const { return destination + "\\radio\\ADSP-21262\\Debug\\person\\Debug.p_a"; }
    fs::path debugOwnFile() const { return hostPath("radio/ADSP-21262/Debug/person/Debug.p_a"); }

    std::unique_ptr<Group> root;
    Group& target;
    Group& debug;
};

TEST_F(Personality, TemplateIsCopiedAsText)
{
    useTemplate("crlf\r\nlf\nlone\rcr\r\r\nlast without end");

    writeTree(*root);

    const std::string copied = "crlf\r\nlf\r\nlone\rcr\r\r\nlast without end";
    EXPECT_EQ(readBytes(hostPath("person/radio.p_a")), copied);
    EXPECT_TRUE(readBytes(debugOwnFile()).ends_with("-d \"NDEBUG\"\r\n" + copied));
}

TEST_F(Personality, WithoutATemplateTheFilesHoldOnlyWhatIsGenerated)
{
    debug.appendIncludePath("C:\\work\\radio\\inc");

    writeTree(*root);

    EXPECT_EQ(readBytes(debugOwnFile()), "-i \"C:\\work\\radio\\inc\"\r\n"
                                         "-i \"C:\\VisualDSP\\include\"\r\n"
                                         "-i \"C:\\work\\radio\\inc\"\r\n"
                                         "-d \"BOARD=2\"\r\n"
                                         "-d \"NDEBUG\"\r\n");
    EXPECT_EQ(readBytes(hostPath("person/radio.p_a")), "");
}

TEST_F(Personality, PlaceholdersAreMadeEmptyWhenMissingAndNamedByEveryGroup)
{
    fs::create_directory(hostPath("person"));
    writeBytes(hostPath("person/radio.p_s"), "-e123 silenced by the user\r\n");

    writeTree(*root);
    const std::string projectFile = projectFileBytes();

    const std::string messages = destination + "\\person\\radio.p_s";
    const std::string compilers = destination + "\\person\\radio.p_c";
    EXPECT_EQ(valuesOf(projectFile, "SubsPers"), (std::vector<std::string>{messages, messages, messages}));
    EXPECT_EQ(valuesOf(projectFile, "CompPers"), (std::vector<std::string>{compilers, compilers, compilers}));
    EXPECT_EQ(readBytes(hostPath("person/radio.p_s")), "-e123 silenced by the user\r\n");
    EXPECT_EQ(readBytes(hostPath("person/radio.p_c")), "");
}

TEST_F(Personality, GroupsWithoutOptionsInheritTheNearestOwnPersonality)
{
    Group& child = addChild(debug, "Child");
    child.addFile("C:\\c.c");
    addChild(child, "Grandchild").addFile("C:\\g.c");
    addChild(target, "Release").addFile("C:\\r.c");

    const WriteResult result = writeTree(*root);

    const std::string defaultPath = destination + "\\person\\radio.p_a";
    EXPECT_EQ(valuesOf(projectFileBytes(), "AnalPers"),
              (std::vector<std::string>{defaultPath, defaultPath, debugOwnPath(), debugOwnPath(), debugOwnPath(),
                                        defaultPath}));
    EXPECT_EQ(result.output,
              "  Creating Group - radio\n  Creating Group - ADSP-21262\n  Creating Group - Debug\n"
              "  Creating Analyser Personality - " +
                  debugOwnPath() +
                  "\n"
                  "  Creating Group - Child\n  Creating Group - Grandchild\n  Creating Group - Release\n");
}

TEST_F(Personality, FilesLeftByAnEarlierRunChangeNoChoice)
{
    // Left by a run with an empty project name, and by one in which the target
    // group had options of its own.
    fs::create_directories(hostPath("person"));
    writeBytes(hostPath("person/.p_a"), "left");
    fs::create_directories(hostPath("radio/ADSP-21262/person"));
    writeBytes(hostPath("radio/ADSP-21262/person/ADSP-21262.p_a"), "left");
    addChild(target, "Release").addFile("C:\\r.c");

    writeTree(*root);

    const std::string defaultPath = destination + "\\person\\radio.p_a";
    EXPECT_EQ(valuesOf(projectFileBytes(), "AnalPers"),
              (std::vector<std::string>{defaultPath, defaultPath, debugOwnPath(), defaultPath}));
}

TEST_F(Personality, OwnPersonalityReachesChildrenBelowNamesWithSlashes)
{
    // The child's parent path, radio\DSP/Filters\FIR, mixes separators; the
    // handed-down path reaches it all the same.
    std::unique_ptr<Group> tree = makeGroup("radio");
    Group& filters = addChild(*tree, "DSP/Filters");
    Group& fir = addChild(filters, "FIR");
    fir.appendIncludePath("C:\\work\\radio\\fir");
    addChild(fir, "Taps").addFile("C:\\work\\radio\\taps.c");

    const WriteResult result = writeTree(*tree);

    const std::string firOwn = destination + "\\radio\\DSP/Filters\\FIR\\person\\FIR.p_a";
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(valuesOf(projectFileBytes(), "AnalPers"),
              (std::vector<std::string>{destination + "\\person\\radio.p_a", destination + "\\person\\radio.p_a",
                                        firOwn, firOwn}));
    EXPECT_EQ(readBytes(hostPath("radio/DSP/Filters/FIR/person/FIR.p_a")), "-i \"C:\\work\\radio\\fir\"\r\n");
}

TEST_F(Personality, OwnPersonalityOfANestedNameIsNamedAfterItsLastPart)
{
    Group& nested = addChild(target, "Source Files\\DSP");
    nested.setDefinition("FIR", "1");
    nested.addFile("C:\\work\\radio\\fir.c");

    writeTree(*root);

    EXPECT_EQ(valuesOf(projectFileBytes(), "AnalPers").back(),
              destination + "\\radio\\ADSP-21262\\Source Files\\DSP\\person\\DSP.p_a");
    EXPECT_EQ(readBytes(hostPath("radio/ADSP-21262/Source Files/DSP/person/DSP.p_a")), "-d \"FIR=1\"\r\n");
}

TEST_F(Personality, TemplateThatCannotBeOpenedIsReportedForEachCreatedPersonality)
{
    addChild(debug, "Nested").appendIncludePath("C:\\nested");
    converter.analyserPersonality = temp.windowsPath("missing.txt");

    WriteResult result = writeTree(*root);

    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.output, "  Creating Group - radio\nCouldnt open file\n  Creating Group - ADSP-21262\n"
                             "  Creating Group - Debug\n  Creating Analyser Personality - " +
                                 debugOwnPath() +
                                 "\n"
                                 "Couldnt open file\n");
    EXPECT_EQ(readBytes(hostPath("person/radio.p_a")), "");
    EXPECT_TRUE(readBytes(debugOwnFile()).ends_with("-d \"NDEBUG\"\r\n"));
    EXPECT_FALSE(fs::exists(hostPath("radio/ADSP-21262/Debug/Nested/person/Nested.p_a")));

    // A folder is no template either; the default personality exists by now.
    fs::create_directory(temp.path() / "missing.txt");
    result = writeTree(*root);
    EXPECT_EQ(result.failure, "");
    EXPECT_EQ(result.output, "  Creating Group - radio\n  Creating Group - ADSP-21262\n  Creating Group - Debug\n"
                             "  Creating Analyser Personality - " +
                                 debugOwnPath() + "\nCouldnt open file\n");
}

class PersonalityFolderInTheWay : public Personality, public ::testing::WithParamInterface<const char*> {};

TEST_P(PersonalityFolderInTheWay, IsAFileThatCannotBeWritten)
{
    const std::string below = GetParam();
    fs::create_directories(hostPath(below));

    std::string windowsBelow = below;
    std::replace(windowsBelow.begin(), windowsBelow.end(), '/', '\\');
    EXPECT_EQ(writeTree(*root).failure, "2 " + destinationPath(windowsBelow));
}

INSTANTIATE_TEST_SUITE_P(EveryCreatedPersonality, PersonalityFolderInTheWay,
                         ::testing::Values("person/radio.p_s", "person/radio.p_c",
                                           "radio/ADSP-21262/Debug/person/Debug.p_a"));
