#include "reader/group.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

TEST(GroupOperations, FilesAndChildrenKeepTheirOrderAndDuplicates)
{
    Group group("Debug");
    // Paths are held one after another in blocks: an empty one, one longer
    // than any block, and enough to fill many blocks all keep their bytes and
    // places, the first ones while later blocks are added.
    Strings expected{"C:\\b.c", "", "C:\\a.c", "C:\\b.c", "C:\\" + std::string(std::size_t{100} << 10, 'x') + ".c"};
    for (int i = 0; i < 5000; ++i) {
        expected.push_back("C:\\work\\src\\unit" + std::to_string(i) + ".c");
    }
    for (const std::string& path : expected) {
        group.addFile(path);
    }
    EXPECT_TRUE(Strings(group.files().begin(), group.files().end()) == expected);

    group.addChild(std::make_unique<Group>("second"));
    group.addChild(std::make_unique<Group>());
    ASSERT_EQ(group.children().size(), 2U);
    EXPECT_EQ(group.children()[0]->name, "second");
    EXPECT_EQ(group.children()[1]->name, "");
}

TEST(GroupOperations, HeaderFoldersAreListedOnceButIncludeOptionsAlways)
{
    Group group("Debug");
    group.addIncludePath("C:\\inc");
    group.addIncludePath("C:\\INC");
    group.addIncludePath("C:\\inc");
    group.appendIncludePath("C:\\inc");
    group.appendIncludePath("C:\\opt");
    group.addIncludePath("C:\\opt");
    EXPECT_EQ(group.includePaths(), (Strings{"C:\\inc", "C:\\INC", "C:\\inc", "C:\\opt"}));
}

TEST(GroupOperations, DefinitionsAreOrderedByNameAndTheLastValueWins)
{
    Group group("Debug");
    group.setDefinition("b", "1");
    group.setDefinition("B", "");
    group.setDefinition("a", "x");
    group.setDefinition("b", "2");
    const std::map<std::string, std::string> expected{{"B", ""}, {"a", "x"}, {"b", "2"}};
    EXPECT_EQ(group.definitions(), expected);
    EXPECT_EQ(group.definitions().begin()->first, "B");
}

} // namespace
