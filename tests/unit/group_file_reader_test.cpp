#include "reader/group_file_reader.h"
#include "report/conversion_report.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
    std::vector<GroupMember> members;
    // The token left pending where the reading stopped; "" when the file was read whole.
    std::string refused;
};

TEST(GroupFileReader, ReadsTheMembersInTheFilesOrder)
{
    const std::string dependencies =
        "<dependencies>\r\n<dependent-project>b</dependent-project>\r\n</dependencies>\r\n";
    const GroupCase cases[] = {
        {"as the IDE writes it",
         group(member("a", ".\\A\\a.dpj", dependencies) + member("b", ".\\B b\\b.dpj")),
         {{"a", ".\\A\\a.dpj"}, {"b", ".\\B b\\b.dpj"}},
         ""},
        {"no members", group(""), {}, ""},
        {"an empty-element group", prolog + "<visualdsp-project-group version=\"1\"/>", {}, ""},
        {"empty-element members, and elements not known read over",
         group("<notes><note>x</note></notes>\r\n<project name=\"a\" file=\"D:\\a.dpj\"/>\r\n" +
               member("b", "b.dpj", "<build-order>1</build-order>")),
         {{"a", "D:\\a.dpj"}, {"b", "b.dpj"}},
         ""},
        {"missing attributes read as empty", group("<project>\r\n</project>\r\n"), {{"", ""}}, ""},
        {"text in a member", group(member("a", "a.dpj", "stray") + member("b", "b.dpj")), {{"a", "a.dpj"}}, "stray\t"},
        {"an end tag out of place", group(member("a", "a.dpj") + "</project>\r\n"), {{"a", "a.dpj"}}, "project"},
        {"a project file",
         prolog + "<visualdsp-project schema=\"17\">\r\n</visualdsp-project>\r\n",
         {},
         "visualdsp-project schema=\"17\""},
    };
    const TempFolder folder;
    for (const GroupCase& c : cases) {
        writeBytes(folder.path() / "group.dpg", c.text);
        XmlLexer lexer;
        lexer.openFile(folder.windowsPath("group.dpg"));
        ConversionReport report;
        std::vector<GroupMember> members;
        EXPECT_EQ(GroupFileReader::isGroupFile(lexer), c.text.find("-group") != std::string::npos) << c.what;
        EXPECT_EQ(GroupFileReader(lexer, report).readGroup(members), c.refused.empty()) << c.what;
        EXPECT_EQ(members, c.members) << c.what;
        EXPECT_EQ(lexer.tokenText(), c.refused) << c.what;
    }
}

} // namespace
