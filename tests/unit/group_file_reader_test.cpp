#include "driver/errors.h"
#include "reader/group_file_reader.h"
#include "report/conversion_report.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Members = std::vector<GroupMember>;

const std::string prolog = "<?xml version=\"1.0\" encoding='ISO-8859-1'?>\r\n";

std::string group(const std::string& content)
{
    return prolog + "<visualdsp-project-group generated=\"Sat Sep 04 15:12:27 2010\" version=\"1.0.0.0\">\r\n" +
           content + "</visualdsp-project-group>\r\n";
}

std::string member(const std::string& name, const std::string& file, const std::string& content = "")
{
    return "\t<project name=\"" + name + "\" file=\"" + file + "\">\r\n" + content + "\t</project>\r\n";
}

struct GroupCase {
    const char* what;
    std::string text;
    bool isGroup;
    bool accepted;
    Members members;
    // The token left pending where the reading stopped.
    std::string refused;
};

TEST(GroupFileReader, ReadsTheMembersInTheFilesOrder)
{
    const std::string dependencies =
        "\t\t<dependencies>\r\n\t\t\t<dependent-project>CoreB</dependent-project>\r\n\t\t</dependencies>\r\n";
    const GroupCase cases[] = {
        {"as the IDE writes it",
         group(member("video", ".\\Video.dpj", dependencies) + member("CoreA", ".\\Core A\\CoreA.dpj")),
         true,
         true,
         {{"video", ".\\Video.dpj"}, {"CoreA", ".\\Core A\\CoreA.dpj"}},
         ""},
        {"no members", group(""), true, true, {}, ""},
        {"an empty-element group", prolog + "<visualdsp-project-group version=\"1\"/>", true, true, {}, ""},
        {"empty-element members and elements not known read over",
         group("<notes><note>x</note></notes>\r\n<project name=\"a\" file=\"D:\\a.dpj\"/>\r\n" +
               member("b", "b.dpj", "<build-order>1</build-order>")),
         true,
         true,
         {{"a", "D:\\a.dpj"}, {"b", "b.dpj"}},
         ""},
        {"missing attributes read as empty", group("<project>\r\n</project>\r\n"), true, true, {{"", ""}}, ""},
        {"text in a member",
         group(member("a", "a.dpj", "stray") + member("b", "b.dpj")),
         true,
         false,
         {{"a", "a.dpj"}},
         "stray\t"},
        {"an end tag out of place",
         group(member("a", "a.dpj") + "</project>\r\n"),
         true,
         false,
         {{"a", "a.dpj"}},
         "project"},
        {"a project file",
         prolog + "<visualdsp-project schema=\"17\">\r\n</visualdsp-project>\r\n",
         false,
         false,
         {},
         "visualdsp-project schema=\"17\""},
    };
    const TempFolder folder;
    for (const GroupCase& c : cases) {
        writeBytes(folder.path() / "group.dpg", c.text);
        XmlLexer lexer;
        lexer.openFile(folder.windowsPath("group.dpg"));
        ConversionReport report;
        GroupFileReader reader(lexer, report);
        Members members;
        EXPECT_EQ(GroupFileReader::isGroupFile(lexer), c.isGroup) << c.what;
        EXPECT_EQ(reader.readGroup(members), c.accepted) << c.what;
        EXPECT_EQ(members, c.members) << c.what;
        EXPECT_EQ(lexer.tokenText(), c.refused) << c.what;
    }
}

TEST(GroupFileReader, AGroupFileThatEndsEarlyThrows)
{
    const std::string whole = group(member("a", "a.dpj") + member("b", "b.dpj"));
    const TempFolder folder;
    for (const std::size_t length : {whole.find("<project"), whole.find("b.dpj"), whole.size() - 4}) {
        writeBytes(folder.path() / "group.dpg", whole.substr(0, length));
        XmlLexer lexer;
        lexer.openFile(folder.windowsPath("group.dpg"));
        ConversionReport report;
        Members members;
        EXPECT_THROW(GroupFileReader(lexer, report).readGroup(members), XMLReaderError) << length;
    }
}

} // namespace
