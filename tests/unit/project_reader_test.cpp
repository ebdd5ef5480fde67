#include "base/errors.h"
#include "driver/converter.h"
#include "support/group_tree_dump.h"
#include "support/project_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace {

using namespace projectText;
using Definitions = std::map<std::string, std::string>;
using Strings = std::vector<std::string>;

const std::string installFolder = "C:\\VisualDSP";

const std::string debugAndRelease = configurations(configuration("Debug") + configuration("Release"));

const std::string inDebugAndRelease = fileConfigurations(fileConfiguration("Debug", excludedFlag("no")) +
                                                         fileConfiguration("Release", excludedFlag("no")));
const std::string inDebugOnly = fileConfigurations(fileConfiguration("Debug", excludedFlag("no")) +
                                                   fileConfiguration("Release", excludedFlag("yes")));

class ProjectReaderTest : public testing::Test {
protected:
    struct Reading {
        bool accepted;
        // The token the reader refused, when it did not accept the file.
        std::string refused;
        std::string tree;

        bool operator==(const Reading&) const = default;
        friend void PrintTo(const Reading& reading, std::ostream* out)
        {
            *out << (reading.accepted ? "accepted" : "refused at \"" + reading.refused + "\"") << ", tree:\n"
                 << reading.tree;
        }
    };

    static Reading refusedAt(const std::string& token, const std::string& tree) { return {false, token, tree}; }

    Reading read(const std::string& projectText, const std::string& extensions = "")
    {
        writeBytes(projectFolder.path() / "app.dpj", projectText);
        converter = std::make_unique<Converter>(projectFolder.windowsPath("app.dpj"), projectFolder.windowsPath("out"),
                                                installFolder);
        if (!extensions.empty()) {
            converter->addExtensions(extensions);
        }
        const bool accepted = converter->read().extent == ReadExtent::wholeProject;
        EXPECT_TRUE(groupsCarryRootSourceFolder(converter->getRootGroup()));
        // A refusal is reported only while the input is still good.
        if (!accepted) {
            EXPECT_TRUE(converter->getLexer().streamGood());
        }
        return {accepted, accepted ? "" : converter->getLexer().tokenText(),
                dumpTree(converter->getRootGroup(), converter->sourceFolder())};
    }

    // The tree of an accepted project.
    std::string tree(const std::string& projectText, const std::string& extensions = "")
    {
        const Reading reading = read(projectText, extensions);
        EXPECT_TRUE(reading.accepted) << "refused: " << reading.refused;
        return reading.tree;
    }

    // The group of the first configuration of an accepted project.
    const Group& firstConfiguration(const std::string& projectText)
    {
        EXPECT_TRUE(read(projectText).accepted);
        const Group& root = converter->getRootGroup();
        if (root.children().empty() || root.children()[0]->children().empty()) {
            throw std::runtime_error("no configuration was read");
        }
        return *root.children()[0]->children()[0];
    }

    int errorCode(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const XMLReaderError& error) {
            return error.code;
        }
        return 0;
    }

    TempFolder projectFolder;
    std::unique_ptr<Converter> converter;
};

TEST_F(ProjectReaderTest, ReadsConfigurationsOptionsFoldersAndFiles)
{
    const std::string text = project(
        configurations(configuration("Debug", "|-D>NDEBUG -D>MAX=10 -DTRACE|-I>.\\inc;..\\common|") +
                       configuration("Release")) +
        folders(folder("Header Files",
                       files(file(".\\inc\\a.h") + file("..\\common\\c.h") + file(".\\inc\\b.h") + file(".\\top.h"))) +
                folder("Linker Files", files(file(".\\app.ldf", inDebugAndRelease))) +
                folder("Source Files", files(file(".\\main.c", inDebugAndRelease) + file(".\\debug.c", inDebugOnly) +
                                             file("R&amp;D\\util.c") + file("D:\\shared\\crc.c")))));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    file P:\\R&D\\util.c\n"
                          "    file D:\\shared\\crc.c\n"
                          "    include P:\\inc\n"
                          "    include P:\\..\\common\n"
                          "    Debug\n"
                          "      file P:\\main.c\n"
                          "      file P:\\debug.c\n"
                          "      include P:\\inc\n"
                          "      include P:\\..\\common\n"
                          "      define MAX=10\n"
                          "      define NDEBUG\n"
                          "      define TRACE\n"
                          "    Release\n"
                          "      file P:\\main.c\n");
}

TEST_F(ProjectReaderTest, ConfigurationsOfSeveralBlocksFollowTheFileOrder)
{
    const std::string text = project(configurations(configuration("B")) +
                                     configurations(configuration("A") + configuration("C")));
    EXPECT_EQ(tree(text), "app\n  ADSP-21262\n    B\n    A\n    C\n");
}

TEST_F(ProjectReaderTest, WithoutAProcessorThereIsNoTargetAndNothingElseIsRead)
{
    EXPECT_EQ(tree(project("", "")), "app\n");
    EXPECT_EQ(tree("<visualdsp-project><target><processor revision=\"x\"/></target></visualdsp-project>"), "app\n");

    EXPECT_EQ(read(project(debugAndRelease, "")), refusedAt("configurations active=\"Debug\"", "app\n"));
}

TEST_F(ProjectReaderTest, BlanksAroundTheProcessorNameAreReadOver)
{
    const std::string laidOut = "<visualdsp-project>\n<target>\n<processor revision=\"Automatic\">\n\t\tADSP-BF533 \t\n"
                                "\t</processor>\n</target>\n</visualdsp-project>\n";
    EXPECT_EQ(tree(laidOut), "app\n  ADSP-BF533\n");
    EXPECT_EQ(tree("<visualdsp-project><target><processor> \n\t</processor></target></visualdsp-project>"), "app\n");
}

TEST_F(ProjectReaderTest, EachFolderHasTheKindOfItsNameOrOfTheFolderAroundIt)
{
    const std::string inProfile = fileConfigurations(fileConfiguration("Profile", excludedFlag("no")));
    const std::string text = project(
        debugAndRelease +
        folders(
            // "Header Files" is looked for before "Source Files".
            folder("Source Files and Header Files", files(file(".\\both\\a.c"))) +
            // A folder that names no kind has that of the folder around it, also
            // after a nested folder of another kind.
            folder("Source Files", files(file(".\\s.c")) + folders(folder("Header Files", files(file(".\\in\\i.h"))) +
                                                                   folder("Docs", files(file(".\\docs\\d.c"))))) +
            // Directly under the project's folders, it takes each file by its
            // extension, in nested folders too, and is no group of its own.
            folder("Kernel Files", files(file(".\\k\\VDK.CPP") + file(".\\k\\vdk.h") + file(".\\k\\VDK.vdk") +
                                         file(".\\k\\Makefile") + file(".\\k\\late.hXX", inProfile))) +
            folder("Generated Files", folders(folder("Startup", files(file(".\\crt.S", inDebugAndRelease))))) +
            folder("Linker Files", files(file(".\\x.c")) + folders(folder("Docs", files(file(".\\y.c")))))));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    file P:\\s.c\n"
                          "    file P:\\docs\\d.c\n"
                          "    file P:\\k\\VDK.CPP\n"
                          "    include P:\\both\n"
                          "    include P:\\in\n"
                          "    include P:\\k\n"
                          "    Debug\n"
                          "      file P:\\crt.S\n"
                          "    Release\n"
                          "      file P:\\crt.S\n"
                          "    Profile\n"
                          "      include P:\\k\n");
}

TEST_F(ProjectReaderTest, ASourceFolderThatBeginsWithFoldersIsAGroupOfItsOwn)
{
    const std::string text = project(
        debugAndRelease +
        folders(folder("Source Files",
                       "<folders>\n" + folder("Drivers", files(file(".\\drv\\a.c"))) +
                           folder("Net", "<folders>\n" + folder("Ip", files(file(".\\ip\\ip.c"))) + "</folders>\n") +
                           "</folders>\n") +
                folder("Lib Source Files", files(file(".\\lib\\l.c")) + "<folders>\n" +
                                               folder("Extra", files(file(".\\lib\\x.c"))) + "</folders>\n")));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    file P:\\lib\\l.c\n"
                          "    file P:\\lib\\x.c\n"
                          "    Debug\n"
                          "    Release\n"
                          "    Source Files\n"
                          "      file P:\\drv\\a.c\n"
                          "      Net\n"
                          "        file P:\\ip\\ip.c\n");
}

TEST_F(ProjectReaderTest, FileConfigurationsWithoutAConfigurationGroupGetOneMadeOnFirstNeed)
{
    // A group made inside a source-folder group takes the settings of the
    // target's configuration of its name, so that its files are analysed alike.
    const std::string text = project(
        configurations(configuration("Debug", "|-D>NDEBUG|-I>.\\inc;.\\inc") + configuration("Release")) +
        folders(folder("Source Files",
                       "<folders>\n" +
                           folder("Drivers", files(file(".\\a.c", inDebugOnly) + file(".\\b.c", inDebugAndRelease))) +
                           folder("Header Files", files(file(".\\drv\\d.h", inDebugOnly))) + "</folders>\n") +
                folder("Source Files",
                       files(file(".\\p.c", fileConfigurations(fileConfiguration("Profile", excludedFlag("no")))) +
                             file(".\\q.c", fileConfigurations(fileConfiguration("Profile", excludedFlag("no"))))))));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    Debug\n"
                          "      include P:\\inc\n"
                          "      include P:\\inc\n"
                          "      define NDEBUG\n"
                          "    Release\n"
                          "    Source Files\n"
                          "      Debug\n"
                          "        file P:\\a.c\n"
                          "        file P:\\b.c\n"
                          "        include P:\\inc\n"
                          "        include P:\\inc\n"
                          "        include P:\\drv\n"
                          "        define NDEBUG\n"
                          "      Release\n"
                          "        file P:\\b.c\n"
                          "    Profile\n"
                          "      file P:\\p.c\n"
                          "      file P:\\q.c\n");
}

TEST_F(ProjectReaderTest, PerConfigurationEntriesOfFilesNotTakenMakeNoGroup)
{
    const std::string inProfile = fileConfigurations(fileConfiguration("Profile", excludedFlag("no")));
    const std::string text = project(
        debugAndRelease +
        folders(folder("Linker Files", files(file(".\\app.ldf", inProfile))) +
                // Sources by extension pass the extension list too.
                folder("Notes", files(file(".\\readme.txt", inProfile) + file(".\\boot.asm", inProfile))) +
                folder("Source Files", files(file(".\\a.asm", inProfile)))));
    EXPECT_EQ(tree(text, "c"), "app\n  ADSP-21262\n    Debug\n    Release\n");
}

TEST_F(ProjectReaderTest, TheExcludedFlagEnablesAFileWhenItSaysNo)
{
    const std::string flags[] = {
        excludedFlag("no"),
        "<excluded-flag>no</excluded-flag>\n",
        "<excluded-flag value=\"no\"></excluded-flag>\n",
        excludedFlag("yes"),
    };
    std::string listed;
    for (std::size_t i = 0; i < std::size(flags); ++i) {
        listed += file(".\\f" + std::to_string(i) + ".c", fileConfigurations(fileConfiguration("Debug", flags[i])));
    }
    // Written as an empty-element tag right before the end of its file
    // configuration, the flag keeps its value.
    listed += file(".\\last.c", "<file-configurations>\n<file-configuration name=\"Debug\">\n" + excludedFlag("no") +
                                    "</file-configuration>\n</file-configurations>\n");
    EXPECT_EQ(tree(project(debugAndRelease + folders(folder("Source Files", files(listed))))), "app\n"
                                                                                               "  ADSP-21262\n"
                                                                                               "    Debug\n"
                                                                                               "      file P:\\f0.c\n"
                                                                                               "      file P:\\f1.c\n"
                                                                                               "      file P:\\last.c\n"
                                                                                               "    Release\n");
}

TEST_F(ProjectReaderTest, HeaderFilesAddTheirFolders)
{
    const std::string perDebug = fileConfigurations(fileConfiguration("Debug", excludedFlag("no")));
    const std::string text = project(
        configurations(configuration("Debug", "|-I>.\\inc|")) +
        folders(folder("Header Files", files(file(".\\inc\\a.h") + file(".\\b.h") + file("c.h") + file(".\\inc\\d.h") +
                                             file("$(ADI_DSP)\\Blackfin\\include\\k.h") + file(".\\b.h", perDebug) +
                                             file("c.h", perDebug) + file(".\\inc\\e.h", perDebug)))));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    include P:\\inc\n"
                          "    include C:\\VisualDSP\\Blackfin\\include\n"
                          "    Debug\n"
                          "      include P:\\inc\n"
                          "      include P:\\.\n");
}

TEST_F(ProjectReaderTest, SourceFilesOfOtherExtensionsAreDropped)
{
    const std::string text = project(
        debugAndRelease +
        folders(folder("Source Files", files(file(".\\a.asm") + file(".\\b.C") + file(".\\c.asm", inDebugAndRelease) +
                                             file(".\\d.c", inDebugOnly)))));
    EXPECT_EQ(tree(text, "c,cpp"), "app\n"
                                   "  ADSP-21262\n"
                                   "    file P:\\b.C\n"
                                   "    Debug\n"
                                   "      file P:\\d.c\n"
                                   "    Release\n");
}

TEST_F(ProjectReaderTest, SourceFilesUnderTheInstallationFolderAreFoundThere)
{
    const std::string text = project(
        debugAndRelease + folders(folder("Source Files", files(file("$(VDSP)\\lib\\x.c") +
                                                               file("$(ADI_DSP)\\Blackfin\\lib\\src\\a.c")))));
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    file C:\\VisualDSP\\lib\\x.c\n"
                          "    file C:\\VisualDSP\\Blackfin\\lib\\src\\a.c\n"
                          "    Debug\n"
                          "    Release\n");
}

TEST_F(ProjectReaderTest, DefineListsAreCutAtBlanksAndCommas)
{
    struct Case {
        const char* option;
        Definitions definitions;
    };
    const Case cases[] = {
        {"|-D>NDEBUG -D>MAX=10 -DTRACE|-I>.\\inc", {{"MAX", "10"}, {"NDEBUG", ""}, {"TRACE", ""}}},
        {"|-D>ADI_DEV_DEBUG,ADI_DEV_AUTO|-O>1", {{"ADI_DEV_AUTO", ""}, {"ADI_DEV_DEBUG", ""}}},
        {"|-D>IPv4 LWIP_DEBUG|", {{"IPv4", ""}, {"LWIP_DEBUG", ""}}},
        {"|-D>A=>1,B=2=3, ,,\t-DC=,A=4", {{"A", "4"}, {"B", "2=3"}, {"C", ""}}},
        {"\n\t\t-D>NDEBUG\r\n-D>MAX=10\n|\t\t-I>.\\inc\n\t", {{"MAX", "10"}, {"NDEBUG", ""}}},
        {"|AdditionalOptions>-DOSAL_DEBUG", {{"OSAL_DEBUG", ""}}},
        {"|-O>1|-D|-I>.\\inc", {}},
        {"|-D>=5,>,-D>|", {}},
        {"|-Version>5.0|-ED>0", {}},
        // The IDE's processor speed reaches the compiler in Hz, and is no
        // define list.
        {"|-D__PROCESSOR_SPEED__=>600|AdditionalOptions>-DHAVE_LONG_LONG -DSIZEOF_LONG_LONG=8",
         {{"HAVE_LONG_LONG", ""}, {"SIZEOF_LONG_LONG", "8"}, {"__PROCESSOR_SPEED__", "600000000"}}},
        {"|-D__PROCESSOR_SPEED__=>600|-D>NDEBUG|", {{"NDEBUG", ""}, {"__PROCESSOR_SPEED__", "600000000"}}},
        {"|-D__PROCESSOR_SPEED__=>|", {}},
    };
    for (const Case& c : cases) {
        const Group& debug = firstConfiguration(project(configurations(configuration("Debug", c.option))));
        EXPECT_EQ(debug.definitions(), c.definitions) << c.option;
    }
}

TEST_F(ProjectReaderTest, IncludeListsAreCutAtSemicolonsAndCommasElseAtBlanks)
{
    struct Case {
        const char* option;
        Strings folders;
    };
    const Case cases[] = {
        {"|-I>$(VDSP)\\inc, $(VDSP)\\lib|-O>1", {"C:\\VisualDSP\\inc", "C:\\VisualDSP\\lib"}},
        {"|-I>.\\a;..\\b;|", {"P:\\a", "P:\\..\\b"}},
        {"|-I>.\\a .\\b", {"P:\\a", "P:\\b"}},
        {"\n\t\t-D>NDEBUG\n\t\t-I>.\\inc\r\n\t\t", {"P:\\inc"}},
        {"|-I> My Folder\\a ; ;.\\b , D:\\c |", {"P:\\My Folder\\a", "P:\\b", "D:\\c"}},
        {"|-I>.\\a;.\\a", {"P:\\a", "P:\\a"}},
        {"|-I>|-I>.\\late", {}},
    };
    for (const Case& c : cases) {
        const Group& debug = firstConfiguration(project(configurations(configuration("Debug", c.option))));
        Strings folders;
        for (const std::string& folderPath : debug.includePaths()) {
            folders.push_back(markProjectFolder(folderPath, converter->sourceFolder()));
        }
        EXPECT_EQ(folders, c.folders) << c.option;
    }
}

TEST_F(ProjectReaderTest, OnlyCompilerOptionsDefineAndInclude)
{
    const std::string tools =
        "<tools>\n<tool type=\"compiler\"><option>|-DLOWER|-I>.\\lower</option></tool>\n"
        "<tool type=\"Compiler\"><option>|-DPLAIN_TEXT</option></tool>\n"
        "<tool type=\"Compiler\"><option><!-- |-DIN_A_COMMENT --></option></tool>\n"
        "<tool type=\"Compiler\"><option></option></tool>\n"
        "<tool type=\"Compiler\"></tool>\n"
        "<tool type=\"Linker\"><option><![CDATA[|-D>LINKED|-I>.\\linked]]></option></tool>\n</tools>\n";
    const std::string text = project(configurations("<configuration name=\"Debug\">\n" + tools + "</configuration>\n"));
    EXPECT_EQ(tree(text), "app\n  ADSP-21262\n    Debug\n      define PLAIN_TEXT\n");
}

TEST_F(ProjectReaderTest, ElementsTheReaderDoesNotKnowAreReadOverWithTheirContent)
{
    const std::string text =
        "<?xml version=\"1.0\"?>\n<visualdsp-project>\n<target>\n<processor>ADSP-BF533</processor>\n"
        "<revision-list><item/></revision-list>\n<extension>.dxe</extension>\n</target>\n"
        "<configurations>\n<configuration name=\"Debug\">\n<intermediate-dir>.\\Debug</intermediate-dir>\n"
        "<tools>\n<tool type=\"Compiler\">\n<marker/>\n<option><![CDATA[|-D>KEPT]]></option>\n"
        "<help>see <b>docs</b></help>\n</tool>\n</tools>\n"
        "<pre-build-description><![CDATA[Generating...]]></pre-build-description>\n"
        "<pre-build-command><![CDATA[cscript .\\prebuild.vbs //Nologo\n]]></pre-build-command>\n"
        "<post-build-description><![CDATA[Backing up]]></post-build-description>\n"
        "<post-build-command><![CDATA[cscript .\\postbuild.vbs\n]]></post-build-command>\n"
        "</configuration>\n</configurations>\n"
        "<folders>\n<folder name=\"Source Files\">\n"
        "<extra><folder name=\"Source Files\"><files><file name=\".\\hidden.c\"/></files></folder></extra>\n"
        "<files>\n<file name=\".\\main.c\">\n<file-configurations>\n<file-configuration name=\"Debug\">\n"
        "<excluded-flag value=\"no\"/>\n<build-with-flag value=\"file\"/>\n"
        "<option><![CDATA[|-D>PER_FILE|-I>.\\per_file]]></option>\n"
        "</file-configuration>\n</file-configurations>\n</file>\n</files>\n</folder>\n</folders>\n"
        "<system-builder-component-tables>\n<system-builder-plugin name=\"Startup Code Wizard\">\n"
        "<system-builder-component name=\"Welcome\">\n<property name=\"Enabled\"><![CDATA[True]]></property>\n"
        "</system-builder-component>\n</system-builder-plugin>\n</system-builder-component-tables>\n"
        "<!-- Files under root directly -->\n<files>\n<file name=\".\\README.c\">\n</file>\n</files>\n"
        "</visualdsp-project>\n";
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-BF533\n"
                          "    file P:\\README.c\n"
                          "    Debug\n"
                          "      file P:\\main.c\n"
                          "      define KEPT\n");
}

TEST_F(ProjectReaderTest, EmptyElementTagsAreElementsWithoutContent)
{
    const std::string text =
        "<visualdsp-project>\n<target>\n<processor>ADSP-21262</processor>\n<extension/>\n<type/>\n</target>\n"
        "<configurations active=\"Debug\"/>\n"
        "<configurations>\n<configuration name=\"Bare\"/>\n"
        "<configuration name=\"Debug\">\n<intermediate-dir/>\n<output-dir/>\n<changed-property-page-flags/>\n"
        "<tools>\n<tool type=\"Compiler\"/>\n<tool type=\"Compiler\"><option /></tool>\n"
        "<tool type=\"Compiler\"><option>|-DKEPT</option></tool>\n</tools>\n"
        "<post-build-description/>\n<post-build-command/>\n</configuration>\n"
        "<configuration name=\"Release\"><tools /></configuration>\n</configurations>\n"
        "<folders/>\n<folders>\n<folder name=\"Header Files\"/>\n<folder name=\"Source Files\">\n<files />\n<files>\n"
        "<file name=\".\\a.c\"/>\n<file name=\".\\b.c\"><file-configurations\t/></file>\n"
        "<file name=\".\\c.c\"><file-configurations>\n<file-configuration name=\"Debug\"/>\n"
        "<file-configuration name=\"Release\"><excluded-flag value=\"no\"/><build-with-flag/>"
        "<intermediate-dir/><output-dir/></file-configuration>\n</file-configurations></file>\n"
        "</files>\n<folders />\n</folder>\n</folders>\n<custom-data-tables />\n</visualdsp-project>\n";
    EXPECT_EQ(tree(text), "app\n"
                          "  ADSP-21262\n"
                          "    file P:\\a.c\n"
                          "    Bare\n"
                          "    Debug\n"
                          "      define KEPT\n"
                          "    Release\n"
                          "      file P:\\c.c\n");
    EXPECT_EQ(tree("<visualdsp-project/>"), "app\n");
    EXPECT_EQ(tree("<visualdsp-project><target/></visualdsp-project>"), "app\n");
}

TEST_F(ProjectReaderTest, FilesDirectlyUnderTheProjectAreTheTargetsByTheirExtension)
{
    const std::string outside = files(file(".\\top.c") + file(".\\inc\\top.h") + file(".\\app.ldf"));
    const std::string sources = folders(folder("Source Files", files(file(".\\a.c"))));
    // The IDE builds them for every configuration, wherever they stand after the target.
    EXPECT_EQ(tree(project(debugAndRelease + outside + sources)),
              "app\n  ADSP-21262\n    file P:\\top.c\n    file P:\\a.c\n    include P:\\inc\n    Debug\n"
              "    Release\n");
    EXPECT_EQ(tree(project(debugAndRelease + sources + outside)),
              "app\n  ADSP-21262\n    file P:\\a.c\n    file P:\\top.c\n    include P:\\inc\n    Debug\n"
              "    Release\n");
    // Before the target, or without one, they belong to nothing and are read over.
    EXPECT_EQ(tree("<visualdsp-project>\n" + outside + "</visualdsp-project>\n"), "app\n");
    EXPECT_EQ(tree("<visualdsp-project>\n" + outside + "<target><processor>X</processor></target>\n" +
                   "</visualdsp-project>\n"),
              "app\n  X\n");
}

TEST_F(ProjectReaderTest, TokensOutOfPlaceAreRefusedAndWhatWasReadStays)
{
    struct Case {
        std::string configurationContent;
        const char* refused;
    };
    const Case cases[] = {
        // A stray end tag.
        {"<tools>\n</tool>\n</tools>\n", "tool"},
        // Text where elements belong.
        {"stray text\n<tools></tools>\n", "stray text\n"},
        // A known element after the place where it belongs.
        {"<post-build-command>x</post-build-command>\n<tools></tools>\n", "tools"},
        // A known element in a form its test does not take is refused where it
        // stands, and no enclosing element reads over it.
        {"<tools x=\"1\">\n</tools>\n", "tools x=\"1\""},
    };
    for (const Case& c : cases) {
        const std::string text = project(configurations(configuration("Debug") + "<configuration name=\"Odd\">\n" +
                                                        c.configurationContent + "</configuration>\n") +
                                         folders(folder("Source Files", files(file(".\\late.c")))));
        EXPECT_EQ(read(text), refusedAt(c.refused, "app\n  ADSP-21262\n    Debug\n    Odd\n"));
    }
}

TEST_F(ProjectReaderTest, ARefusedStartTagIsNotTakenUpByAnEnclosingElement)
{
    // A second "folders" block in a folder has no place there; the project,
    // whose content holds "folders" blocks, must not read it either.
    const std::string text = project(debugAndRelease + "<folders>\n<folder name=\"Source Files\">\n" +
                                     files(file(".\\a.c")) + folders("") +
                                     folders(folder("Late", files(file(".\\late.c")))) + "</folder>\n</folders>\n");
    EXPECT_EQ(read(text), refusedAt("folders", "app\n  ADSP-21262\n    file P:\\a.c\n    Debug\n    Release\n"));
}

TEST_F(ProjectReaderTest, AFileConfigurationsBlockWithoutItsEndTagLeavesTheFileCommonToo)
{
    const std::string text = project(
        debugAndRelease +
        folders(folder("Source Files",
                       files("<file name=\".\\a.c\">\n<file-configurations>\n<file-configuration name=\"Debug\">\n" +
                             excludedFlag("no") + "</file-configuration>\n</file>\n" + file(".\\b.c")))));
    EXPECT_EQ(read(text), refusedAt("file", "app\n"
                                            "  ADSP-21262\n"
                                            "    file P:\\a.c\n"
                                            "    Debug\n"
                                            "      file P:\\a.c\n"
                                            "    Release\n"));
}

// Folders named "name 1" to "name depth", each holding the next, the last
// holding `innermost`.
std::string nestedFolders(int depth, const std::string& name, const std::string& innermost)
{
    std::string opening;
    std::string closing;
    for (int level = 1; level <= depth; ++level) {
        opening += "<folder name=\"" + name + " " + std::to_string(level) + "\">\n<folders>\n";
        closing += "</folders>\n</folder>\n";
    }
    return opening + innermost + closing;
}

int groupDepth(const Group& group)
{
    int deepest = 0;
    for (const auto& child : group.children()) {
        deepest = std::max(deepest, groupDepth(*child));
    }
    return deepest + 1;
}

TEST_F(ProjectReaderTest, FoldersNestAtMostTwoHundredFiftySixDeep)
{
    constexpr int limit = 256;
    const std::string innermost = folder("Deepest", files(file(".\\deep.c")));
    // "Source Files" at every level: one group per level, the deepest folder's
    // files in the innermost group.
    const Reading atLimit = read(
        project(debugAndRelease + folders(nestedFolders(limit - 1, "Source Files", innermost))));
    EXPECT_TRUE(atLimit.accepted) << atLimit.refused;
    EXPECT_EQ(groupDepth(converter->getRootGroup()), limit + 1);
    EXPECT_NE(atLimit.tree.find("\n" + std::string(2 * (limit + 1), ' ') + "file P:\\deep.c\n"), std::string::npos);

    const Reading beyond = read(project(debugAndRelease + folders(nestedFolders(limit, "Source Files", innermost))));
    EXPECT_FALSE(beyond.accepted);
    EXPECT_EQ(beyond.refused, "folder name=\"Deepest\" ext=\".c\"");
    EXPECT_EQ(beyond.tree.find("deep.c"), std::string::npos);
}

TEST_F(ProjectReaderTest, DeeplyNestedInputIsRefusedWithoutExhaustingTheStack)
{
    EXPECT_EQ(read(project(debugAndRelease + folders(nestedFolders(100000, "Docs", "")))),
              refusedAt("folder name=\"Docs 257\"", "app\n  ADSP-21262\n    Debug\n    Release\n"));
}

TEST_F(ProjectReaderTest, FilesThatEndEarlyOrCannotBeOpenedThrow)
{
    const std::string whole = project(debugAndRelease + folders(folder("Source Files", files(file(".\\a.c")))));
    for (std::size_t length : {std::size_t{0}, whole.size() / 3, whole.find("<folder "), whole.size() - 2}) {
        EXPECT_EQ(errorCode([&] { read(whole.substr(0, length)); }), XMLReaderError::unexpectedEnd) << length;
    }
    std::filesystem::create_directory(projectFolder.path() / "folder.dpj");
    Converter onFolder(projectFolder.windowsPath("folder.dpj"), projectFolder.windowsPath("out"), installFolder);
    EXPECT_EQ(errorCode([&] { onFolder.read(); }), XMLReaderError::cannotOpen);
    Converter onMissing(projectFolder.windowsPath("missing.dpj"), projectFolder.windowsPath("out"), installFolder);
    EXPECT_EQ(errorCode([&] { onMissing.read(); }), XMLReaderError::cannotOpen);
}

} // namespace
