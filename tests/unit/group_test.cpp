#include "reader/group.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

TEST(GroupOperations, FilesAndChildrenKeepTheirOrderAndDuplicates)
{
    Group group("Debug", nullptr);
    group.addFile("C:\\b.c");
    group.addFile("");
    group.addFile("C:\\a.c");
    group.addFile("C:\\b.c");
    // Held one after another in one piece, an empty path among them keeps its place.
    EXPECT_EQ(Strings(group.files().begin(), group.files().end()), (Strings{"C:\\b.c", "", "C:\\a.c", "C:\\b.c"}));

    group.addChild(std::make_unique<Group>("second", nullptr));
    group.addChild(std::make_unique<Group>());
    ASSERT_EQ(group.children().size(), 2U);
    EXPECT_EQ(group.children()[0]->name, "second");
    EXPECT_EQ(group.children()[1]->name, "");
    EXPECT_EQ(group.children()[1]->converter, nullptr);
}

TEST(GroupOperations, HeaderFoldersAreListedOnceButIncludeOptionsAlways)
{
    Group group("Debug", nullptr);
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
    Group group("Debug", nullptr);
    group.setDefinition("b", "1");
    group.setDefinition("B", "");
    group.setDefinition("a", "x");
    group.setDefinition("b", "2");
    const std::map<std::string, std::string> expected{{"B", ""}, {"a", "x"}, {"b", "2"}};
    EXPECT_EQ(group.definitions(), expected);
    EXPECT_EQ(group.definitions().begin()->first, "B");
}

} // namespace
