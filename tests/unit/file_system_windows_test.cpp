#include "platform/file_identity.h"
#include "platform/platform.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using platform::DirectoryCreation;

class FileSystem : public testing::Test {
protected:
    TempFolder folder;
};

TEST_F(FileSystem, CreatingADirectoryTellsAlreadyExistsApart)
{
    const std::string created = folder.windowsPath("made");
    EXPECT_EQ(platform::createDirectory(created), DirectoryCreation::created);
    EXPECT_EQ(platform::createDirectory(created), DirectoryCreation::alreadyExists);
    EXPECT_EQ(platform::createDirectory(created + "\\"), DirectoryCreation::alreadyExists);
    EXPECT_EQ(platform::createDirectory(folder.windowsPath("slash") + "\\"), DirectoryCreation::created);
}

TEST_F(FileSystem, CreatingADirectoryFailsWhereNoneCanBe)
{
    // Win32 reports a file under the name as "already exists" too.
    writeBytes(folder.path() / "file", "x");
    EXPECT_EQ(platform::createDirectory(folder.windowsPath("file")), DirectoryCreation::failed);
    EXPECT_EQ(platform::createDirectory(folder.windowsPath("missing\\child")), DirectoryCreation::failed);
    EXPECT_FALSE(platform::pathExists(folder.windowsPath("missing")));
    EXPECT_EQ(platform::createDirectory("Q:\\made"), DirectoryCreation::failed);
}

TEST_F(FileSystem, APathHoldingANulNamesNoFile)
{
    // The system would stop at the NUL and make or find "AB" instead.
    const std::string withNul = folder.windowsPath("AB") + std::string(1, '\0') + "CD";
    EXPECT_EQ(platform::createDirectory(withNul), DirectoryCreation::failed);
    EXPECT_FALSE(platform::pathExists(folder.windowsPath("AB")));
    writeBytes(folder.path() / "AB", "x");
    EXPECT_FALSE(platform::pathExists(withNul));
    EXPECT_EQ(platform::hostPath(withNul), "");
}

TEST_F(FileSystem, AnyFileOrFolderExists)
{
    writeBytes(folder.path() / "file.txt", "");
    EXPECT_TRUE(platform::pathExists(folder.windowsPath("file.txt")));
    EXPECT_TRUE(platform::pathExists(folder.windowsPath()));
    EXPECT_TRUE(platform::pathExists(folder.windowsPath() + "\\"));
    EXPECT_TRUE(platform::pathExists("C:\\"));
    EXPECT_FALSE(platform::pathExists(folder.windowsPath("nothing")));
    EXPECT_FALSE(platform::pathExists(folder.windowsPath("file.txt") + "\\"));
}

TEST_F(FileSystem, OneFileHasOneIdentityHoweverItIsSpelled)
{
    writeBytes(folder.path() / "one.txt", "1");
    writeBytes(folder.path() / "two.txt", "1");
    const std::optional<std::string> one = platform::fileIdentity(folder.windowsPath("one.txt"));
    ASSERT_TRUE(one.has_value());
    EXPECT_EQ(platform::fileIdentity(folder.windowsPath(".\\ONE.TXT")), one);
    EXPECT_EQ(platform::fileIdentity(folder.windowsPath("sub\\..\\one.txt")), one);
    EXPECT_NE(platform::fileIdentity(folder.windowsPath("two.txt")), one);
    EXPECT_NE(platform::fileIdentity(folder.windowsPath()), one);
    EXPECT_EQ(platform::fileIdentity(folder.windowsPath("three.txt")), std::nullopt);
}

} // namespace
