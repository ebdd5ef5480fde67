#include "driver/converter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const std::string appPathsKey = "\"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IDE.exe\"";

// The registry is changed the way an installer or a user would, with the
// system's own reg tool; the converter must read back what it wrote.
int reg(const std::string& arguments)
{
    return std::system(("reg " + arguments + " >NUL 2>&1").c_str());
}

class FindInstallFolderInRegistry : public testing::Test {
protected:
    void SetUp() override { removeKey(); }
    void TearDown() override { removeKey(); }

    static void removeKey() { reg("delete " + appPathsKey + " /f"); }
    static void recordIde(const std::string& programPath)
    {
        ASSERT_EQ(reg("add " + appPathsKey + " /ve /d \"" + programPath + "\" /f"), 0);
    }
};

TEST_F(FindInstallFolderInRegistry, IsTheParentOfTheFolderThatHoldsTheIde)
{
    recordIde("C:\\Program Files\\VisualDSP 5.0\\System\\IDE.exe");
    EXPECT_EQ(findInstallFolder(), "C:\\Program Files\\VisualDSP 5.0");
    Converter converter("C:\\p\\app.dpj", "C:\\out", "");
    EXPECT_EQ(converter.getInstallFolder(), "C:\\Program Files\\VisualDSP 5.0");
}

TEST_F(FindInstallFolderInRegistry, LongValuesAreReadWhole)
{
    const std::string longFolder = "C:\\" + std::string(600, 'v');
    recordIde(longFolder + "\\System\\IDE.exe");
    EXPECT_EQ(findInstallFolder(), longFolder);
}

TEST_F(FindInstallFolderInRegistry, NothingRecordedGivesTheEmptyString)
{
    EXPECT_EQ(findInstallFolder(), "");
    ASSERT_EQ(reg("add " + appPathsKey + " /v Path /d \"C:\\VisualDSP\" /f"), 0);
    EXPECT_EQ(findInstallFolder(), "");
    ASSERT_EQ(reg("add " + appPathsKey + " /ve /t REG_DWORD /d 5 /f"), 0);
    EXPECT_EQ(findInstallFolder(), "");
}

} // namespace
