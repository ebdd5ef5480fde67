#include "driver/make_absolute_path.h"
#include "support/wine_prefix_posix.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(MakeAbsolutePathOnWineDrives, OtherDrivesAreRelativeToTheirRoot)
{
    TempWinePrefix prefix;
    const fs::path driveC = prefix.addDriveFolder('c');
    prefix.addDriveFolder('d');
    fs::create_directory(driveC / "work");
    ScopedCurrentDirectory inside(driveC / "work");

    EXPECT_EQ(makeAbsolutePath("C:app.dpj"), "C:\\work\\app.dpj");
    // The root of a drive already ends in a backslash; one more joins the rest.
    EXPECT_EQ(makeAbsolutePath("D:app.dpj"), "D:\\\\app.dpj");
    EXPECT_EQ(makeAbsolutePath("D:"), "D:\\\\");
    EXPECT_EQ(makeAbsolutePath("proj\\app.dpj"), "C:\\work\\proj\\app.dpj");
    EXPECT_EQ(fs::current_path(), driveC / "work");
}

} // namespace
