#include "driver/command_line.h"
#include "wine_prefix_posix.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(CommandLineOnWineDrives, HostPathsTypedByTheUserTakeWindowsForm)
{
    TempWinePrefix prefix;
    const fs::path driveC = prefix.addDriveFolder('c');
    fs::create_directory(driveC / "work");
    ScopedCurrentDirectory inside(driveC / "work");

    const auto converter = makeConverter(
        {"proj/app.dpj", "/tmp/out", "", "-mp", "pers/m.txt", "-ap", (driveC / "a.txt").string(), "-cp", "/opt/c.txt"});
    EXPECT_EQ(converter->sourceFolder(), "C:\\work\\proj");
    EXPECT_EQ(converter->getRootGroup().name, "app");
    EXPECT_EQ(converter->getDestinationFolder(), "Z:\\tmp\\out");
    EXPECT_EQ(converter->getInstallFolder(), "");
    EXPECT_EQ(converter->getMessagePersonality(), "C:\\work\\pers\\m.txt");
    EXPECT_EQ(converter->getAnalyserPersonality(), "C:\\a.txt");
    EXPECT_EQ(converter->getCompilerPersonality(), "Z:\\opt\\c.txt");
}

TEST(CommandLineOnWineDrives, AnInstallFolderTypedAsHostPathTakesWindowsForm)
{
    TempWinePrefix prefix;
    const fs::path driveC = prefix.addDriveFolder('c');
    const auto converter = makeConverter({"C:\\app.dpj", "C:\\out", (driveC / "VisualDSP").string()});
    EXPECT_EQ(converter->getInstallFolder(), "C:\\VisualDSP");
}

} // namespace
