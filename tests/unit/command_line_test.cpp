#include "base/project_name.h"
#include "driver/command_line.h"
#include "platform/platform.h"
#include "support/captured_stdout.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

const std::string usageText =
    "Usage: ProjbridgeCli <source_proj> <dest_folder> <VisualDSP_install_dir> [-pn dest_proj_name]\n"
    "[-mp message_personality] [-ap analyser_personality] [-cp compiler_personality] [-ext file_extension]\n";

PrintedRun runCapturing(const Arguments& arguments)
{
    return runPrinting([&] { return runCommandLine(arguments); });
}

// Each case runs in an empty current directory, so that anything created shows.
class CommandLine : public testing::Test {
protected:
    TempFolder folder;
    ScopedCurrentDirectory inFolder{folder.path()};
    std::string current = platform::currentDirectory();

    bool folderIsEmpty() const { return fs::is_empty(folder.path()); }
};

TEST_F(CommandLine, FewerThanThreeArgumentsPrintTheUsageOnly)
{
    for (const Arguments& arguments : {Arguments{}, Arguments{"app.dpj"}, Arguments{"app.dpj", "out"}}) {
        const PrintedRun outcome = runCapturing(arguments);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.output, usageText);
    }
    EXPECT_TRUE(folderIsEmpty());
}

TEST_F(CommandLine, AnOptionWithoutValueStopsBeforeAnythingHappens)
{
    for (const std::string option : {"-pn", "-mp", "-ap", "-cp", "-ext"}) {
        const PrintedRun outcome = runCapturing({"app.dpj", "out", "C:\\VDSP", "-pn", "name", option});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.output, "Missing value for option: " + option + "\n");
    }
    // Positional arguments are scanned like any other, and so is the value of -pn.
    EXPECT_EQ(runCapturing({"app.dpj", "out", "-ext"}).output, "Missing value for option: -ext\n");
    EXPECT_EQ(runCapturing({"app.dpj", "out", "", "-pn", "-ext"}).output, "Missing value for option: -ext\n");
    // The one option without a value is no value itself.
    EXPECT_EQ(runCapturing({"app.dpj", "out", "", "-pn", "-dry-run", "-ext"}).output,
              "Missing value for option: -ext\n");
    EXPECT_EQ(runCapturing({"app.dpj", "out", "", "-dry-run", "-pn"}).output, "Missing value for option: -pn\n");
    EXPECT_TRUE(folderIsEmpty());
}

TEST_F(CommandLine, AProjectNameThatLeavesItsFolderIsRefusedBeforeAnythingHappens)
{
    for (const std::string name : {"..", "..\\up", "sub/name", "sub\\name", "a/../b"}) {
        const PrintedRun outcome = runCapturing({"app.dpj", "out", "C:\\VDSP", "-pn", "fine", "-pn", name});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.output,
                  "Invalid value for option -pn (a project name holds no \"\\\", \"/\" or \"..\"): " + name + "\n");
    }
    EXPECT_TRUE(folderIsEmpty());
}

TEST_F(CommandLine, AProjectNameThatWindowsCannotHoldAsAFileNameIsRefusedBeforeAnythingHappens)
{
    const std::pair<std::string, std::string> names[] = {
        {"a<b", "a<b"}, {"a>b", "a>b"}, {"a:b", "a:b"},     {"a\"b", "a\"b"},
        {"a|b", "a|b"}, {"a?b", "a?b"}, {"a*b", "a*b"},     {"a\nb", "a\\x0ab"},
        {"a\tb", "a\\x09b"}, {"\x1f", "\\x1f"},
    };
    for (const auto& [name, shown] : names) {
        const PrintedRun outcome = runCapturing({"app.dpj", "out", "C:\\VDSP", "-pn", name});
        EXPECT_EQ(outcome.status, 1) << shown;
        EXPECT_EQ(outcome.output, "Invalid value for option -pn (a project name holds no < > : \" | ? * or control "
                                  "character, which Windows forbids in file names): " +
                                      shown + "\n");
    }
    EXPECT_TRUE(folderIsEmpty());
}

TEST_F(CommandLine, AReportedFailureOfTheRunEndsWithStatusOne)
{
    const PrintedRun outcome = runCapturing({"none.dpj", ".", "C:\\VDSP"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, "Could not open file: " + current + "\\none.dpj\n");
    EXPECT_TRUE(folderIsEmpty());
}

TEST_F(CommandLine, EachExtensionEntryThatCanNeverMatchIsToldBeforeTheRun)
{
    const PrintedRun outcome = runCapturing({"none.dpj", ".", "C:\\VDSP", "-ext", ".asm,c,*.C", "-ext", "*,h?,,"});
    const std::string advice = "\" can never match; write it without dot or wildcard, as in -ext ";
    EXPECT_EQ(outcome.output, "Warning: the -ext entry \".asm" + advice + "asm\n" +
                                  "Warning: the -ext entry \"*.C" + advice + "C\n" +
                                  "Warning: the -ext entry \"*" + advice + "c\n" +
                                  "Warning: the -ext entry \"h?" + advice + "h\n" +
                                  "Could not open file: " + current + "\\none.dpj\n");
}

TEST_F(CommandLine, PositionalPathsAreMadeAbsoluteAndTheInstallFolderIsKept)
{
    const auto converter = makeConverter({"proj\\app.dpj", "out\\", "C:\\VDSP"});
    EXPECT_EQ(converter->getRootGroup().name, "app");
    EXPECT_EQ(converter->sourceFolder(), current + "\\proj");
    // One spelling of the destination however it is typed: the record names
    // its files relative to it.
    for (const char* typed : {"out", "out\\", ".\\out", "out\\.", "out\\\\", ".\\.\\out\\.\\"}) {
        EXPECT_EQ(makeConverter({"app.dpj", typed, "C:\\VDSP"})->getDestinationFolder(), current + "\\out") << typed;
    }
    EXPECT_EQ(makeConverter({"app.dpj", "C:\\", "C:\\VDSP"})->getDestinationFolder(), "C:\\");
    EXPECT_EQ(makeConverter({"app.dpj", "\\\\srv\\share\\.\\", "V"})->getDestinationFolder(), "\\\\srv\\share");
    EXPECT_EQ(makeConverter({"app.dpj", "out\\..\\x", "V"})->getDestinationFolder(), current + "\\out\\..\\x");
    EXPECT_EQ(converter->getInstallFolder(), "C:\\VDSP");
    EXPECT_EQ(converter->getProjectName(), "app");
    EXPECT_EQ(makeConverter({"app.dpj", ".", "C:\\VDSP"})->getDestinationFolder(), current);
}

TEST_F(CommandLine, LaterOptionsReplaceEarlierOnesAndExtensionsAddUp)
{
    const auto converter = makeConverter({"C:\\w\\app.dpj", "C:\\out", "C:\\V", "-pn", "first", "-ext", "c,h", "-mp",
                                          "m1.txt", "-pn", "second", "-ext", "cpp", "-mp", "m2.txt"});
    EXPECT_EQ(converter->getProjectName(), "second");
    EXPECT_EQ(converter->getMessagePersonality(), current + "\\m2.txt");
    EXPECT_EQ(converter->getExtensions(), (std::vector<std::string>{"c", "h", "cpp"}));
}

TEST_F(CommandLine, TheValueAfterAnOptionIsScannedAsAnOptionToo)
{
    const auto converter = makeConverter({"C:\\w\\app.dpj", "C:\\out", "C:\\V", "-pn", "-ext", "c"});
    EXPECT_EQ(converter->getProjectName(), "-ext");
    EXPECT_EQ(converter->getExtensions(), (std::vector<std::string>{"c"}));
}

TEST_F(CommandLine, OptionNamesInOtherLetterCaseAreIgnored)
{
    const auto converter = makeConverter(
        {"C:\\w\\app.dpj", "C:\\out", "C:\\V", "-PN", "name", "-Ext", "c", "-MP", "m.txt"});
    EXPECT_EQ(converter->getProjectName(), "app");
    EXPECT_TRUE(converter->getExtensions().empty());
    EXPECT_EQ(converter->getMessagePersonality(), "");
}

TEST_F(CommandLine, ExtensionValuesKeepEmptyPiecesAndTheirSpelling)
{
    const auto converter = makeConverter(
        {"C:\\w\\app.dpj", "C:\\out", "C:\\V", "-ext", "c,,h", "-ext", ",.C ,", "-ext", ""});
    EXPECT_EQ(converter->getExtensions(), (std::vector<std::string>{"c", "", "h", "", ".C ", "", ""}));
}

TEST_F(CommandLine, PersonalityAndReportPathsAreMadeAbsoluteButTheProjectNameIsNot)
{
    const auto converter = makeConverter({"C:\\w\\app.dpj", "C:\\out", "C:\\V", "-mp", "p\\m.txt", "-ap",
                                          "D:\\p\\a.txt", "-cp", ".", "-pn", "name", "-report", "r.tsv"});
    EXPECT_EQ(converter->getMessagePersonality(), current + "\\p\\m.txt");
    EXPECT_EQ(converter->getAnalyserPersonality(), "D:\\p\\a.txt");
    EXPECT_EQ(converter->getCompilerPersonality(), current);
    EXPECT_EQ(converter->getProjectName(), "name");
    EXPECT_EQ(converter->reportPath, current + "\\r.tsv");
}

TEST(DefaultProjectName, DropsUpToTwoDotPartsOfTheFileName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\work\\app.dpj", "app"},
        {"C:\\work\\app.copy.dpj", "app"},
        {"C:\\my.dir\\app.dpj", "app"},
        {"C:\\work\\.dpj", ""},
        {"C:\\my.dir\\app", "my"},
        {"C:\\work\\app", "app"},
        {"app.dpj", "app"},
        {"a.b.c.dpj", "a.b"},
    };
    for (const auto& [sourcePath, name] : cases) {
        EXPECT_EQ(defaultProjectName(sourcePath), name) << sourcePath;
    }
}

} // namespace
