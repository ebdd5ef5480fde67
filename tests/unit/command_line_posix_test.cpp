#include "driver/command_line.h"
#include "support/captured_stdout.h"
#include "support/wine_prefix_posix.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

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

TEST(CommandLineOnWineDrives, AHostPathOnNoDriveIsRefusedBeforeAnythingHappens)
{
    TempWinePrefix prefix;
    const fs::path driveC = prefix.addDriveFolder('c');
    prefix.linkDrive('z', driveC);
    writeBytes(driveC / "app.dpj", "");
    const std::string elsewhere = (prefix.path() / "out").string();
    const std::pair<Arguments, std::string> cases[] = {
        {{"C:\\app.dpj", elsewhere, "C:\\V"}, elsewhere},
        {{"C:\\app.dpj", "C:\\", elsewhere}, elsewhere},
        {{"C:\\app.dpj", "C:\\", "C:\\V", "-ap", "/elsewhere/a.lnt"}, "/elsewhere/a.lnt"},
    };
    for (const auto& [arguments, refused] : cases) {
        const PrintedRun run = runPrinting([&] { return runCommandLine(arguments); });
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, "Path lies on no drive of the Wine prefix ($WINEPREFIX/dosdevices): " + refused + "\n");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(driveC), fs::directory_iterator()), 1);
}

} // namespace
