#include "driver/converter.h"

#include <gtest/gtest.h>

namespace {

std::string rootGroupNameOf(const std::string& sourcePath)
{
    const Converter converter(sourcePath, "C:\\out", "C:\\VDSP");
    return converter.getRootGroup().name;
}

TEST(ConverterConstruction, RootGroupIsNamedAfterTheProjectFileLessFourCharacters)
{
    EXPECT_EQ(rootGroupNameOf("C:\\work\\app\\app.dpj"), "app");
    EXPECT_EQ(rootGroupNameOf("C:\\work\\app.copy.dpj"), "app.copy");
    EXPECT_EQ(rootGroupNameOf("C:\\work\\project"), "pro");
    EXPECT_EQ(rootGroupNameOf("C:\\work\\abcd"), "");
    EXPECT_EQ(rootGroupNameOf("C:\\work\\abc"), "abc");
    EXPECT_EQ(rootGroupNameOf("C:\\work\\"), "");
    EXPECT_EQ(rootGroupNameOf("app.dpj"), "app");
}

TEST(ConverterConstruction, StartsWithAnEmptyRootGroupAndNoOptions)
{
    const Converter converter("C:\\work\\app.dpj", "D:\\out", "C:\\VDSP");
    const Group& root = converter.getRootGroup();
    EXPECT_TRUE(root.children().empty());
    EXPECT_TRUE(root.files().empty());
    EXPECT_EQ(converter.getDestinationFolder(), "D:\\out");
    EXPECT_EQ(converter.getInstallFolder(), "C:\\VDSP");
    EXPECT_EQ(converter.getProjectName(), "");
    EXPECT_EQ(converter.getMessagePersonality(), "");
    EXPECT_TRUE(converter.getExtensions().empty());
}

class AcceptsExtension : public testing::Test {
protected:
    Converter converter{"C:\\work\\app.dpj", "D:\\out", "C:\\VDSP"};
};

TEST_F(AcceptsExtension, EveryFileIsTakenWithoutExtensions)
{
    EXPECT_TRUE(converter.acceptsExtension("C:\\a\\main.cpp"));
    EXPECT_TRUE(converter.acceptsExtension(""));
}

TEST_F(AcceptsExtension, ComparesTheTextAfterTheLastDotIgnoringCase)
{
    converter.addExtensions("c,h");
    EXPECT_TRUE(converter.acceptsExtension("C:\\a\\main.C"));
    EXPECT_TRUE(converter.acceptsExtension("C:\\a.b\\x.h"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\main.cpp"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a.c\\main"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\main."));
    // Without a dot the whole path is the extension.
    EXPECT_TRUE(converter.acceptsExtension("c"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\c"));
}

TEST_F(AcceptsExtension, AnEmptyEntryTakesPathsEndingInADot)
{
    converter.addExtensions("c,");
    EXPECT_TRUE(converter.acceptsExtension("C:\\a\\main."));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\main.h"));
}

TEST_F(AcceptsExtension, EntriesAreComparedAsWritten)
{
    converter.addExtensions(".c, h,ÄSM");
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\main.c"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\main.h"));
    EXPECT_TRUE(converter.acceptsExtension("C:\\a\\main. h"));
    EXPECT_TRUE(converter.acceptsExtension("C:\\a\\boot.Äsm"));
    EXPECT_FALSE(converter.acceptsExtension("C:\\a\\boot.äsm"));
}

} // namespace
