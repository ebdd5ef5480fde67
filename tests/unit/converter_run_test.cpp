#include "driver/converter.h"
#include "support/captured_stdout.h"
#include "support/project_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The tree of a project without a target is the bare root group.
const std::string emptyProject = projectText::project("", "");

class ConverterRun : public testing::Test {
protected:
    TempFolder folder;
    fs::path output = folder.path() / "out";
    std::string sourcePath = folder.windowsPath("app.dpj");
    std::string destination = folder.windowsPath("out");

    PrintedRun run()
    {
        Converter converter(sourcePath, destination, "C:\\VDSP");
        converter.projectName = "app";
        return runPrinting([&] { return converter.run(); });
    }
};

TEST_F(ConverterRun, AProjectFileMissingCutShortOrOfAnotherKindIsReportedAndNothingIsWritten)
{
    // The first case runs before the project file exists.
    const std::pair<std::string, std::string> cases[] = {
        {"", "Could not open file: " + sourcePath},
        {emptyProject.substr(0, emptyProject.find("Automatic")),
         "Visual DSP Project file parsing encountered unexpected EOF"},
        {"<?xml version=\"1.0\"?>\n<settings><processor>ADSP-21262</processor>\n",
         "Visual DSP Project file parsing encountered unexpected token: settings"},
        {"A text file, renamed.\n", "Not a VisualDSP project file (it holds no element): " + sourcePath},
    };
    fs::create_directory(output);
    for (const auto& [projectFile, message] : cases) {
        if (!projectFile.empty()) {
            writeBytes(folder.path() / "app.dpj", projectFile);
        }
        const PrintedRun outcome = run();
        EXPECT_EQ(outcome.status, 1) << message;
        EXPECT_EQ(outcome.output, message + "\n");
        EXPECT_TRUE(fs::is_empty(output)) << message;
    }
}

TEST_F(ConverterRun, MissingDestinationFolderIsReportedAsTheProjectFile)
{
    writeBytes(folder.path() / "app.dpj", emptyProject);
    const PrintedRun outcome = run();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, "Could not write file: " + destination + "\\app.prj\n");
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(ConverterRun, AFileWhereAGroupFolderMustBeIsReportedAfterTheFirstLines)
{
    fs::create_directory(output);
    writeBytes(output / "app", "in the way");
    writeBytes(folder.path() / "app.dpj", emptyProject);
    const PrintedRun outcome = run();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, "Creating Tavric/Tavric++ Project ...\n"
                              "Could not create directory: " +
                                  destination + "\\app\\output\\\n");
    EXPECT_EQ(readBytes(output / "app.prj"), "VersionTag45\r\n");
}

TEST_F(ConverterRun, AnEmptyProjectIsWrittenWithStatusZero)
{
    fs::create_directory(output);
    writeBytes(folder.path() / "app.dpj", emptyProject);
    const PrintedRun outcome = run();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "Creating Tavric/Tavric++ Project ...\nTavric/Tavric++ Project Completed!\n");
    EXPECT_EQ(readBytes(output / "app.prj"), "VersionTag45\r\n");
    EXPECT_TRUE(fs::is_directory(output / "app" / "person"));
}

TEST_F(ConverterRun, ATokenRefusedLaterIsReportedAndWhatWasReadIsWrittenButTheRunFails)
{
    fs::create_directory(output);
    writeBytes(folder.path() / "app.dpj", projectText::project("</stray>"));
    const PrintedRun outcome = run();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, "Visual DSP Project file parsing encountered unexpected token: stray\n"
                              "Creating Tavric/Tavric++ Project ...\n"
                              "  Creating Group - app\n"
                              "Tavric/Tavric++ Project Completed!\n"
                              "Conversion incomplete: the project file was read only up to the unexpected token\n");
    EXPECT_TRUE(fs::is_directory(output / "app" / "ADSP-21262" / "output"));
}

} // namespace
