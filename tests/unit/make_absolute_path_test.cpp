#include "driver/make_absolute_path.h"
#include "platform/platform.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class MakeAbsolutePath : public testing::Test {
protected:
    TempFolder folder;
    ScopedCurrentDirectory inFolder{folder.path()};
    std::string current = platform::currentDirectory();
};

TEST_F(MakeAbsolutePath, RelativePathsJoinTheCurrentDirectoryUnchanged)
{
    EXPECT_EQ(makeAbsolutePath("proj\\app.dpj"), current + "\\proj\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("..\\x\\.\\y"), current + "\\..\\x\\.\\y");
    EXPECT_EQ(makeAbsolutePath("out\\"), current + "\\out\\");
    EXPECT_EQ(makeAbsolutePath("./x"), current + "\\./x");
    EXPECT_EQ(makeAbsolutePath(".\\"), current + "\\.\\");
    EXPECT_EQ(makeAbsolutePath(""), current + "\\");
    EXPECT_EQ(makeAbsolutePath("."), current);
}

TEST_F(MakeAbsolutePath, RootedAndDriveAbsolutePathsStayAsTheyAre)
{
    EXPECT_EQ(makeAbsolutePath("\\proj\\app.dpj"), "\\proj\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("\\\\server\\share\\app.dpj"), "\\\\server\\share\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("C:\\proj\\app.dpj"), "C:\\proj\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("q:\\"), "q:\\");
}

TEST_F(MakeAbsolutePath, DriveRelativePathsOnTheCurrentDriveJoinItsDirectory)
{
    const std::string drive = current.substr(0, 2);
    EXPECT_EQ(makeAbsolutePath(drive + "app.dpj"), current + "\\app.dpj");
    EXPECT_EQ(makeAbsolutePath(drive), current + "\\");
    EXPECT_EQ(fs::current_path(), folder.path());
}

TEST(MakeAbsolutePathAtDriveRoot, RelativePathsGetTwoBackslashesAfterTheDrive)
{
    ScopedCurrentDirectory atRoot(fs::current_path().root_path());
    const std::string root = platform::currentDirectory();
    ASSERT_EQ(root.substr(1), ":\\");
    EXPECT_EQ(makeAbsolutePath("app.dpj"), root + "\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("."), root);
}

} // namespace
