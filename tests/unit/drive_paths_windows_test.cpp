#include "driver/make_absolute_path.h"
#include "platform/platform.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Windows remembers a drive's current directory only in the hidden variable
// "=C:" (the C runtime's chdir sets it; Wine's does not). Each test says what
// it holds and gets the old value back afterwards.
class RememberedDriveDirectory {
public:
    RememberedDriveDirectory(char driveLetter, const std::string& directory) : name_{'=', driveLetter, ':'}
    {
        if (const char* value = std::getenv(name_.c_str())) {
            previous_ = value;
        }
        set(directory);
    }
    ~RememberedDriveDirectory() { set(previous_.value_or("")); }
    RememberedDriveDirectory(const RememberedDriveDirectory&) = delete;
    RememberedDriveDirectory& operator=(const RememberedDriveDirectory&) = delete;

private:
    // An empty value removes the variable.
    void set(const std::string& directory) { _putenv_s(name_.c_str(), directory.c_str()); }

    std::string name_;
    std::optional<std::string> previous_;
};

// The temporary folders lie on C:, inside the Wine prefix; the build folder
// lies on Z:, the host's root.
class DriveRelativePath : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(platform::currentDirectory().substr(0, 2), "Z:");
        ASSERT_EQ(folderOnC.substr(0, 2), "C:");
    }

    TempFolder folder;
    std::string folderOnC = folder.windowsPath();
    std::string elsewhere = platform::currentDirectory();
};

TEST_F(DriveRelativePath, WithoutARememberedDirectoryStartsAtTheDriveRoot)
{
    RememberedDriveDirectory none('C', "");
    EXPECT_EQ(makeAbsolutePath("C:app.dpj"), "C:\\\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("C:"), "C:\\\\");
    EXPECT_EQ(platform::currentDirectory(), elsewhere);
}

TEST_F(DriveRelativePath, StartsInTheDirectoryTheDriveRemembers)
{
    RememberedDriveDirectory remembered('C', folderOnC);
    EXPECT_EQ(makeAbsolutePath("C:app.dpj"), folderOnC + "\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("C:..\\proj\\app.dpj"), folderOnC + "\\..\\proj\\app.dpj");
    EXPECT_EQ(platform::currentDirectory(), elsewhere);
}

TEST_F(DriveRelativePath, OnTheCurrentDriveTheRememberedDirectoryDoesNotCount)
{
    ScopedCurrentDirectory onC(folder.path());
    RememberedDriveDirectory stale('C', "C:\\users");
    EXPECT_EQ(makeAbsolutePath("C:app.dpj"), folderOnC + "\\app.dpj");
    EXPECT_EQ(platform::currentDirectory(), folderOnC);
}

TEST_F(DriveRelativePath, ADriveThatDoesNotExistIsTakenAtItsRoot)
{
    ASSERT_FALSE(platform::pathExists("Q:\\"));
    EXPECT_EQ(makeAbsolutePath("Q:app.dpj"), "Q:\\\\app.dpj");
    EXPECT_EQ(platform::currentDirectory(), elsewhere);
}

TEST_F(DriveRelativePath, LongDirectoriesAreReadWholeAndComeBackWhole)
{
    // Past MAX_PATH, where the narrow Win32 calls give up.
    constexpr int levels = 4;
    const std::string segment(100, 'd');
    fs::path deep = folder.path();
    for (int level = 0; level < levels; ++level) {
        deep /= segment;
    }
    fs::create_directories(deep);
    const std::string deepOnC = folder.windowsPath(fs::relative(deep, folder.path()));
    ASSERT_GT(deepOnC.size(), 400u);

    RememberedDriveDirectory remembered('C', deepOnC);
    RememberedDriveDirectory noneOnZ('Z', "");
    EXPECT_EQ(makeAbsolutePath("C:app.dpj"), deepOnC + "\\app.dpj");
    {
        ScopedCurrentDirectory inside(deep);
        EXPECT_EQ(platform::currentDirectory(), deepOnC);
        EXPECT_EQ(makeAbsolutePath("app.dpj"), deepOnC + "\\app.dpj");
        EXPECT_EQ(makeAbsolutePath("Z:app.dpj"), "Z:\\\\app.dpj");
        EXPECT_EQ(platform::currentDirectory(), deepOnC);
    }
    EXPECT_EQ(platform::currentDirectory(), elsewhere);
}

// A drive path typed with forward slashes is absolute, as Windows reads it, not
// relative to the drive's current directory.
TEST(TypedPath, ForwardSlashesSeparateAsBackslashesDo)
{
    EXPECT_EQ(makeAbsolutePath(platform::commandLinePath("C:/work/app.dpj")), "C:\\work\\app.dpj");
    EXPECT_EQ(makeAbsolutePath(platform::commandLinePath("/work/app.dpj")), "\\work\\app.dpj");
}

} // namespace
