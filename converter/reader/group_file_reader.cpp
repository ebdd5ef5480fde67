#include "reader/group_file_reader.h"

#include "report/conversion_report.h"

namespace {

constexpr std::string_view memberElement = "project";
constexpr std::string_view dependenciesElement = "dependencies";

} // namespace

bool GroupFileReader::isGroupFile(XmlLexer& lexer)
{
    return lexer.pendingStartTagName() == groupElement;
}

bool GroupFileReader::readGroup(std::vector<GroupMember>& members)
{
    TagAttributes attributes;
    if (!lexer.expectElement(groupElement, attributes)) {
        return false;
    }
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    for (std::string_view name = lexer.pendingStartTagName(); !name.empty(); name = lexer.pendingStartTagName()) {
        if (name != memberElement) {
            skipElement(true);
        } else if (!readMember(members)) {
            return false;
        }
    }
    return lexer.expectEndTag(groupElement);
}

bool GroupFileReader::readMember(std::vector<GroupMember>& members)
{
    TagAttributes attributes;
    lexer.expectElement(memberElement, attributes);
    members.push_back({std::string(attributes.unquoted("name")), std::string(attributes.unquoted("file"))});
    if (lexer.lastStartTagWasEmpty()) {
        return true;
    }
    for (std::string_view name = lexer.pendingStartTagName(); !name.empty(); name = lexer.pendingStartTagName()) {
        skipElement(name != dependenciesElement);
    }
    return lexer.expectEndTag(memberElement);
}

void GroupFileReader::skipElement(bool reportIt)
{
    if (reportIt) {
        report.unknownElement(lexer.pendingStartTagName(), lexer.tokenLine());
    }
    lexer.skipElement();
}
