#include "driver/converter.h"
#include "support/wine_prefix_posix.h"

#include <gtest/gtest.h>

namespace {

const std::string appPathsKey = "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\IDE.exe] 1\n";

std::string registryWithIdeAt(const std::string& escapedValue)
{
    return "WINE REGISTRY Version 2\n\n" + appPathsKey + "@=\"" + escapedValue + "\"\n";
}

TEST(FindInstallFolder, IsTheParentOfTheFolderThatHoldsTheIde)
{
    TempWinePrefix prefix;
    prefix.writeSystemReg(registryWithIdeAt("C:\\\\Program Files\\\\VisualDSP 5.0\\\\System\\\\IDE.exe"));
    EXPECT_EQ(findInstallFolder(), "C:\\Program Files\\VisualDSP 5.0");
    Converter converter("C:\\p\\app.dpj", "C:\\out", "");
    EXPECT_EQ(converter.getInstallFolder(), "C:\\Program Files\\VisualDSP 5.0");
    Converter given("C:\\p\\app.dpj", "C:\\out", "E:\\mine");
    EXPECT_EQ(given.getInstallFolder(), "E:\\mine");
}

TEST(FindInstallFolder, LongValuesAreReadWhole)
{
    const std::string longFolder = "C:\\" + std::string(300, 'v');
    std::string escaped = "C:\\\\" + std::string(300, 'v') + "\\\\bin\\\\IDE.exe";
    TempWinePrefix prefix;
    prefix.writeSystemReg(registryWithIdeAt(escaped));
    EXPECT_EQ(findInstallFolder(), longFolder);
}

TEST(FindInstallFolder, ValuesWithFewBackslashesAreCutWhereTheyCan)
{
    TempWinePrefix prefix;
    prefix.writeSystemReg(registryWithIdeAt("bin\\\\IDE.exe"));
    EXPECT_EQ(findInstallFolder(), "bin");
    prefix.writeSystemReg(registryWithIdeAt("IDE.exe"));
    EXPECT_EQ(findInstallFolder(), "IDE.exe");
}

TEST(FindInstallFolder, WineEscapesOfCharactersBeyondAsciiBecomeUtf8)
{
    // Wine writes four digits where a hex digit follows the escape, and a
    // character beyond the first plane as two escaped surrogates.
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\\\Users\\\\J\\xfcrgen\\\\VisualDSP\\\\System\\\\IDE.exe", "C:\\Users\\J\xc3\xbcrgen\\VisualDSP"},
        {"C:\\\\\\x00e4b\\x20ac\\\\V\\\\bin\\\\IDE.exe", "C:\\\xc3\xa4"
                                                         "b\xe2\x82\xac\\V"},
        {"C:\\\\\\xd83d\\xde00\\\\V\\\\bin\\\\IDE.exe", "C:\\\xf0\x9f\x98\x80\\V"},
    };
    TempWinePrefix prefix;
    for (const auto& [escaped, folder] : cases) {
        prefix.writeSystemReg(registryWithIdeAt(escaped));
        EXPECT_EQ(findInstallFolder(), folder) << escaped;
    }
}

TEST(FindInstallFolder, NothingRecordedLeavesTheFolderEmpty)
{
    TempWinePrefix prefix;
    EXPECT_EQ(findInstallFolder(), "");
    prefix.writeSystemReg("WINE REGISTRY Version 2\n\n" + appPathsKey + "\"Path\"=\"C:\\\\V\"\n");
    Converter converter("C:\\p\\app.dpj", "C:\\out", "");
    EXPECT_EQ(converter.getInstallFolder(), "");
}

} // namespace
