#include "base/host_file_names.h"
#include "platform/platform.h"
#include "support/wine_prefix_posix.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

// A host path as Z: shows it, Z: being the host's root.
std::string throughZ(const fs::path& host)
{
    std::string path = "Z:" + host.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class DriveMapping : public testing::Test {
protected:
    TempWinePrefix prefix;
    fs::path driveC = prefix.addDriveFolder('c');
    fs::path driveD = prefix.addDriveFolder('d');
};

TEST_F(DriveMapping, CurrentDirectoryIsShownThroughTheLongestMatchingDrive)
{
    fs::create_directories(driveC / "work" / "app");
    {
        ScopedCurrentDirectory inside(driveC / "work" / "app");
        EXPECT_EQ(platform::currentDirectory(), "C:\\work\\app");
    }
    {
        ScopedCurrentDirectory atRoot(driveD);
        EXPECT_EQ(platform::currentDirectory(), "D:\\");
    }
    {
        // A folder whose name only begins like a drive's folder is not on it.
        fs::create_directory(prefix.path() / "drive_cx");
        ScopedCurrentDirectory beside(prefix.path() / "drive_cx");
        EXPECT_EQ(platform::currentDirectory(), throughZ(prefix.path() / "drive_cx"));
    }
}

TEST_F(DriveMapping, LongCurrentDirectoryIsReadWhole)
{
    fs::path deep = driveC;
    std::string expected = "C:";
    const std::string segment(100, 's');
    for (int level = 0; level < 30; ++level) {
        deep /= segment;
        expected += "\\" + segment;
    }
    fs::create_directories(deep);
    ScopedCurrentDirectory inside(deep);
    EXPECT_EQ(platform::currentDirectory(), expected);
}

TEST_F(DriveMapping, DriveLinksMayBeAbsoluteAndZCanBeMovedAway)
{
    TempFolder elsewhere;
    prefix.linkDrive('e', elsewhere.path());
    prefix.linkDrive('z', driveD / "z-root");
    fs::create_directory(driveD / "z-root");

    EXPECT_EQ(platform::hostPath("E:\\a.c"), (elsewhere.path() / "a.c").string());
    EXPECT_EQ(platform::hostPath("Z:\\a.c"), (driveD / "z-root" / "a.c").string());
    // The host's root is no drive now, so a folder outside every drive has no Windows form.
    ScopedCurrentDirectory outside(elsewhere.path().parent_path());
    EXPECT_EQ(platform::currentDirectory(), "");
}

TEST_F(DriveMapping, DriveCurrentDirectoryIsTheProcessesOnlyOnItsOwnDrive)
{
    fs::create_directory(driveC / "work");
    ScopedCurrentDirectory inside(driveC / "work");
    EXPECT_EQ(platform::driveCurrentDirectory('C'), "C:\\work");
    EXPECT_EQ(platform::driveCurrentDirectory('c'), "C:\\work");
    EXPECT_EQ(platform::driveCurrentDirectory('D'), "D:\\");
    EXPECT_EQ(platform::driveCurrentDirectory('q'), "Q:\\");
    EXPECT_EQ(fs::current_path(), driveC / "work");
}

TEST_F(DriveMapping, HostPathTakesBothSeparatorsThroughTheDrivesFolder)
{
    fs::create_directory(driveC / "work");
    ScopedCurrentDirectory inside(driveC / "work");
    EXPECT_EQ(platform::hostPath("C:\\src\\main.c"), (driveC / "src" / "main.c").string());
    EXPECT_EQ(platform::hostPath("d:/src\\main.c"), (driveD / "src" / "main.c").string());
    EXPECT_EQ(platform::hostPath("C:\\"), driveC.string() + "/");
    EXPECT_EQ(platform::hostPath("Z:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(platform::hostPath("\\rooted\\x"), (driveC / "rooted" / "x").string());
    EXPECT_EQ(platform::hostPath("C:rel\\x"), (driveC / "work" / "rel" / "x").string());
    EXPECT_EQ(platform::hostPath("D:rel"), (driveD / "rel").string());
    EXPECT_EQ(platform::hostPath("rel\\x"), "rel/x");
}

TEST_F(DriveMapping, PathsOnNoKnownDriveHaveNoHostPath)
{
    EXPECT_EQ(platform::hostPath("Q:\\a.c"), "");
    EXPECT_EQ(platform::hostPath("1:\\a.c"), "");
    EXPECT_EQ(platform::hostPath("\\\\server\\share\\a.c"), "");
    EXPECT_FALSE(platform::pathExists("Q:\\"));
    EXPECT_EQ(platform::createDirectory("Q:\\new"), platform::DirectoryCreation::failed);
}

TEST_F(DriveMapping, CommandLinePathsTypedAsHostPathsTakeWindowsForm)
{
    EXPECT_EQ(platform::commandLinePath((driveC / "proj" / "app.dpj").string()), "C:\\proj\\app.dpj");
    EXPECT_EQ(platform::commandLinePath(driveD.string() + "/out/"), "D:\\out\\");
    EXPECT_EQ(platform::commandLinePath("/tmp/out"), "Z:\\tmp\\out");
    EXPECT_EQ(platform::commandLinePath("proj/app.dpj"), "proj\\app.dpj");
    EXPECT_EQ(platform::commandLinePath("C:\\already\\windows"), "C:\\already\\windows");
    EXPECT_EQ(platform::commandLinePath(""), "");
}

TEST_F(DriveMapping, CreateDirectoryTellsExistingApartFromFailure)
{
    using platform::DirectoryCreation;
    EXPECT_EQ(platform::createDirectory("C:\\made"), DirectoryCreation::created);
    EXPECT_TRUE(fs::is_directory(driveC / "made"));
    EXPECT_EQ(platform::createDirectory("C:\\made"), DirectoryCreation::alreadyExists);
    writeBytes(driveC / "file", "x");
    EXPECT_EQ(platform::createDirectory("C:\\file"), DirectoryCreation::alreadyExists);
    EXPECT_EQ(platform::createDirectory("C:\\missing\\child"), DirectoryCreation::failed);
    EXPECT_EQ(platform::createDirectory("C:\\file\\child"), DirectoryCreation::failed);
}

TEST_F(DriveMapping, PathExistsForFilesAndFolders)
{
    writeBytes(driveC / "file.c", "x");
    EXPECT_TRUE(platform::pathExists("C:\\file.c"));
    EXPECT_TRUE(platform::pathExists("C:\\"));
    EXPECT_FALSE(platform::pathExists("C:\\none.c"));
    EXPECT_FALSE(platform::pathExists("C:\\file.c\\below"));
}

// The IDE's Windows finds a name whatever its letter case and reads an
// ISO-8859-1 name as the file stored here under its UTF-8 name.
TEST_F(DriveMapping, HostFileNamesSpellEachPartAsOnDisk)
{
    fs::create_directories(driveC / "Work" / "SRC");
    writeBytes(driveC / "Work" / "SRC" / "IRQprocess.c", "x");
    writeBytes(driveC / "Work" / "caf\xc3\xa9.c", "x");
    HostFileNames names;
    const std::string work = (driveC / "Work").string();
    EXPECT_EQ(names.existing("C:\\work\\src\\irqprocess.c"), work + "/SRC/IRQprocess.c");
    EXPECT_EQ(names.existing("C:\\Work\\CAF\xe9.C"), work + "/caf\xc3\xa9.c");
    EXPECT_EQ(names.existing("C:\\Work\\caf\xc3\xa9.c"), work + "/caf\xc3\xa9.c");
    // Nothing under any spelling: nothing found, and the path as written given on.
    EXPECT_EQ(names.existing("C:\\work\\src\\missing.c"), std::nullopt);
    EXPECT_EQ(names.existing("C:\\none\\irqprocess.c"), std::nullopt);
    // Later paths through the same folders take each folder as found the first time.
    EXPECT_EQ(names.existing("C:\\work\\src\\IRQPROCESS.C"), work + "/SRC/IRQprocess.c");
    EXPECT_EQ(names.existing("C:\\work\\src\\..\\SRC\\irqprocess.c"), work + "/SRC/../SRC/IRQprocess.c");
    EXPECT_EQ(names.existing("C:\\none\\other.c"), std::nullopt);
    EXPECT_EQ(names.hostPath("C:\\work\\missing.c"), driveC.string() + "/work/missing.c");
    EXPECT_EQ(names.hostPath("Q:\\a.c"), "");
}

TEST(DriveMappingWithoutPrefix, ZIsTheHostRootWhenThePrefixHasNoDevices)
{
    TempWinePrefix prefix;
    fs::remove(prefix.path() / "dosdevices");
    EXPECT_EQ(platform::hostPath("Z:\\etc"), "/etc");
    EXPECT_EQ(platform::hostPath("C:\\etc"), "");
    ScopedCurrentDirectory inside(prefix.path());
    EXPECT_EQ(platform::currentDirectory(), throughZ(prefix.path()));
}

const std::string registryHeader = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
const std::string ideKey = "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\IDE.exe] 1700000000\n";

TEST(IdeAppPath, DefaultValueIsReadWithItsEscapesUndone)
{
    TempWinePrefix prefix;
    prefix.writeSystemReg(registryHeader +
                          "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\other.exe] 1\n"
                          "@=\"C:\\\\Other\\\\other.exe\"\n\n" +
                          ideKey +
                          "#time=1d9\n\"Path\"=\"C:\\\\Wrong\"\n"
                          "@=\"C:\\\\Program Files\\\\Analog \\\"Devices\\\"\\\\VisualDSP\\\\IDE.exe\"\n\n");
    EXPECT_EQ(platform::ideAppPath(), "C:\\Program Files\\Analog \"Devices\"\\VisualDSP\\IDE.exe");
}

TEST(IdeAppPath, KeyNamesIgnoreCaseAndLinesMayEndInCarriageReturns)
{
    TempWinePrefix prefix;
    prefix.writeSystemReg("[software\\\\microsoft\\\\windows\\\\currentversion\\\\app paths\\\\ide.EXE] 5\r\n"
                          "@=\"D:\\\\V\\\\IDE.exe\"\r\n");
    EXPECT_EQ(platform::ideAppPath(), "D:\\V\\IDE.exe");
}

TEST(IdeAppPath, MissingFileKeyOrValueGiveNothing)
{
    TempWinePrefix prefix;
    EXPECT_EQ(platform::ideAppPath(), "");
    prefix.writeSystemReg(registryHeader + ideKey.substr(0, ideKey.find(']')) + "x] 1\n@=\"C:\\\\a\\\\IDE.exe\"\n");
    EXPECT_EQ(platform::ideAppPath(), "");
    prefix.writeSystemReg(registryHeader + ideKey + "\"Path\"=\"C:\\\\a\"\n\n[Other] 1\n@=\"C:\\\\b\\\\IDE.exe\"\n");
    EXPECT_EQ(platform::ideAppPath(), "");
    prefix.writeSystemReg(registryHeader + ideKey + "@=\"C:\\\\a\\\\IDE.exe\n");
    EXPECT_EQ(platform::ideAppPath(), "");
}

} // namespace
