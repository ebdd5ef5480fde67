#include "reader/group_file_reader.h"

#include "base/trim_char.h"
#include "report/conversion_report.h"

#include <map>

namespace {

using Attributes = std::map<std::string, std::string>;

constexpr std::string_view memberElement = "project";
constexpr std::string_view dependenciesElement = "dependencies";
constexpr std::string_view attributeQuote = "\"";

std::string unquotedAttribute(const Attributes& attributes, const std::string& key)
{
    const auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : trimChar(found->second, attributeQuote);
}

} // namespace

bool GroupFileReader::isGroupFile(XmlLexer& lexer)
{
    return lexer.pendingStartTagName() == groupElement;
}

bool GroupFileReader::readGroup(std::vector<GroupMember>& members)
{
    Attributes attributes;
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
    Attributes attributes;
    lexer.expectElement(memberElement, attributes);
    members.push_back({unquotedAttribute(attributes, "name"), unquotedAttribute(attributes, "file")});
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
