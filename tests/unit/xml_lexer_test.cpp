#include "reader/xml_lexer.h"

#include "base/errors.h"
#include "base/trim_char.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

using Attributes = std::map<std::string, std::string>;

Attributes asMap(const TagAttributes& attributes)
{
    const std::vector<TagAttributes::Entry> entries = attributes.entries();
    return {entries.begin(), entries.end()};
}

class XmlLexerTest : public testing::Test {
protected:
    // Opens the lexer on a file holding exactly these bytes.
    XmlLexer& open(const std::string& bytes)
    {
        writeBytes(folder.path() / "p.dpj", bytes);
        lexer.openFile(folder.windowsPath("p.dpj"));
        return lexer;
    }

    // The code of the XMLReaderError that the action throws, 0 when none.
    static int errorCode(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const XMLReaderError& error) {
            return error.code;
        }
        return 0;
    }

    std::string text()
    {
        std::string out;
        EXPECT_TRUE(lexer.readText(out));
        return out;
    }

    std::string markup()
    {
        std::string out;
        EXPECT_TRUE(lexer.readMarkup(out));
        return out;
    }

    TempFolder folder;
    XmlLexer lexer;
};

TEST_F(XmlLexerTest, ReadsEachKindOfToken)
{
    open("<?xml version=\"1.0\"?>\n<!-- note &amp; -->\n<a x=\"1\">  some &amp; &#x3C;text&#62; \n</a>"
         "<![CDATA[<p>&amp;|]]><b x=\"1\"/>");
    EXPECT_EQ(markup(), "xml version=\"1.0\"?");
    EXPECT_EQ(markup(), "-- note &amp; --");
    TagAttributes attributes;
    EXPECT_TRUE(lexer.expectElement("a", attributes));
    EXPECT_EQ(asMap(attributes), (Attributes{{"x", "\"1\""}}));
    // Leading whitespace goes, trailing whitespace stays; references are
    // decoded in text and left as written in markup.
    EXPECT_EQ(text(), "some & <text> \n");
    EXPECT_TRUE(lexer.expectEndTag("a"));
    EXPECT_EQ(markup(), "[CDATA[<p>&amp;|]]");
    EXPECT_FALSE(lexer.expectStartTag("b"));
    EXPECT_EQ(lexer.pendingStartTagName(), "b");
    EXPECT_EQ(lexer.tokenText(), "b x=\"1\"/");
}

TEST_F(XmlLexerTest, MarkupCarriesNestedAngleBracketsAndBracketedContent)
{
    open("<!DOCTYPE p [<!ELEMENT a (b)>]><!-- a <b> c -->"
         "<![CDATA[x[1]>y]]>"
         "<![CDATA[a]]]>[>"
         "<!-- cut > here --><e>");
    EXPECT_EQ(markup(), "DOCTYPE p [<!ELEMENT a (b)>]");
    EXPECT_EQ(markup(), "-- a <b> c --");
    EXPECT_EQ(markup(), "[CDATA[x[1]>y]]");
    // An unbalanced "]" lets the section run on until a "[" balances it.
    EXPECT_EQ(markup(), "[CDATA[a]]]>[");
    // A ">" inside a comment ends the markup there; the rest is text.
    EXPECT_EQ(markup(), "-- cut ");
    EXPECT_EQ(text(), "here -->");
    EXPECT_TRUE(lexer.expectStartTag("e"));
}

TEST_F(XmlLexerTest, ExpectElementMatchesTheFirstWordWhereExpectStartTagTakesNoAttributes)
{
    open("<target ><target/><target /><target x=\"1\"><targets><target/ ><target><!-- c --><target>");
    TagAttributes attributes;
    // A blank before the end, and an empty-element slash, leave a bare tag.
    EXPECT_TRUE(lexer.expectStartTag("target"));
    EXPECT_FALSE(lexer.lastStartTagWasEmpty());
    EXPECT_TRUE(lexer.expectStartTag("target"));
    EXPECT_TRUE(lexer.lastStartTagWasEmpty());
    EXPECT_TRUE(lexer.expectStartTag("target"));
    EXPECT_TRUE(lexer.lastStartTagWasEmpty());
    EXPECT_FALSE(lexer.expectStartTag("target"));
    EXPECT_TRUE(lexer.expectElement("target", attributes));
    EXPECT_EQ(asMap(attributes), (Attributes{{"x", "\"1\""}}));
    EXPECT_FALSE(lexer.expectStartTag("target"));
    EXPECT_FALSE(lexer.expectElement("target", attributes));
    EXPECT_TRUE(lexer.expectElement("targets", attributes));
    // No blank may follow the slash.
    EXPECT_FALSE(lexer.expectStartTag("target"));
    EXPECT_EQ(lexer.tokenText(), "target/ ");
    EXPECT_TRUE(lexer.expectElement("target/", attributes));
    EXPECT_FALSE(lexer.expectElement("targe", attributes));
    EXPECT_FALSE(lexer.expectElement("Target", attributes));
    EXPECT_TRUE(lexer.expectStartTag("target"));
    // Markup before a tag is passed over by every expect question.
    EXPECT_TRUE(lexer.expectStartTag("target"));
    // A tag's attributes replace those of the tag before.
    EXPECT_TRUE(asMap(attributes).empty());
}

TEST_F(XmlLexerTest, SplitsAttributesAsWritten)
{
    struct Case {
        const char* tag;
        Attributes attributes;
    };
    const Case cases[] = {
        {"<a name = \"Debug\" type='x y'>", {{"name", "\"Debug\""}, {"type", "'x"}}},
        {"<a k=\"1\" k=\"2\">", {{"k", "\"2\""}}},
        {"<a p=\"a b=c\" q>", {{"p", "\"a b=c\""}}},
        {"<a p=\"1\" q r=\"2\">", {{"p", "\"1\""}}},
        {"<a value=\"no\"/>", {{"value", "\"no\""}}},
        {"<a value=\"open>", {{"value", "\"open"}}},
        {"<a \"k v\"=1>", {{"\"k v\"", "1"}}},
        {"<a =1>", {{"", "1"}}},
        {"<a k=>", {}},
        // Character references are decoded; one not well formed stays.
        {"<a n=\"R&amp;D&apos;s &quot;&lt;&gt;\" m=&#38;&#x26;&#X26;>", {{"n", "\"R&D's \"<>\""}, {"m", "&&&#X26;"}}},
        {"<a n=\"&#233;&#xFF;&#x20AC;&#x1F600;\">", {{"n", "\"\xE9\xFF\xE2\x82\xAC\xF0\x9F\x98\x80\""}}},
        {"<a n=\"&amp &bogus; &#; &#x; &#0; &#xD800; &#x110000; &#99999999999; & &a&lt;\">",
         {{"n", "\"&amp &bogus; &#; &#x; &#0; &#xD800; &#x110000; &#99999999999; & &a<\""}}},
        {"<a n=&#x2f;&#x2F;&#47;&amp>", {{"n", "///&amp"}}},
    };
    for (const Case& c : cases) {
        open(c.tag);
        TagAttributes attributes;
        EXPECT_TRUE(lexer.expectElement("a", attributes)) << c.tag;
        EXPECT_EQ(asMap(attributes), c.attributes) << c.tag;
    }
}

TEST_F(XmlLexerTest, FailedQuestionsLeaveTheTokenPending)
{
    open("<a><!-- c -->x</a></b><c>");
    TagAttributes attributes;
    EXPECT_TRUE(lexer.expectStartTag("a"));
    std::string out = "unchanged";
    // readText does not pass over markup, nor does skipText.
    EXPECT_FALSE(lexer.readText(out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(lexer.skipText());
    EXPECT_EQ(markup(), "-- c --");
    EXPECT_FALSE(lexer.expectEndTag("a"));
    EXPECT_FALSE(lexer.readMarkup(out));
    EXPECT_EQ(lexer.tokenText(), "x");
    EXPECT_EQ(text(), "x");
    // On an end tag, readText reads empty text and leaves the end tag pending.
    out = "unchanged";
    EXPECT_TRUE(lexer.readText(out));
    EXPECT_EQ(out, "");
    EXPECT_TRUE(lexer.skipText());
    EXPECT_TRUE(lexer.expectEndTag("a"));
    EXPECT_FALSE(lexer.expectStartTag("b"));
    EXPECT_FALSE(lexer.expectEndTag("c"));
    EXPECT_EQ(lexer.tokenText(), "b");
    EXPECT_TRUE(lexer.expectEndTag("b"));
    EXPECT_EQ(lexer.tokenText(), "");
    EXPECT_FALSE(lexer.readText(out));
    EXPECT_TRUE(lexer.expectElement("c", attributes));
    EXPECT_TRUE(lexer.streamGood());
}

TEST_F(XmlLexerTest, EndOfFileWhileATokenIsScannedIsCodeOneOrThreeForTextBeforeAnyStartTag)
{
    constexpr int cut = XMLReaderError::unexpectedEnd;
    constexpr int noElement = XMLReaderError::noElement;
    const std::pair<std::string, int> truncated[] = {
        {"", cut},
        {"   \n\t ", cut},
        {"<", cut},
        {"<a", cut},
        {"<a x=\">\"", cut},
        {"</a", cut},
        {"<!-- c -", cut},
        {"<![CDATA[ ]> ", cut},
        {"<a>text", cut},
        {"<a>\xEF\xBB\xBF", cut},
        {"<!DOCTYPE [<x>", cut},
        {"<?xml version=\"1.0\"?>\n<!-- c -->\ntext", noElement},
    };
    for (const auto& [bytes, expectedCode] : truncated) {
        open(bytes);
        TagAttributes attributes;
        const int code = errorCode([&] {
            std::string out;
            while (lexer.expectElement("a", attributes) || lexer.readText(out) || lexer.readMarkup(out) ||
                   lexer.expectEndTag("a")) {
            }
        });
        EXPECT_EQ(code, expectedCode) << bytes;
        EXPECT_FALSE(lexer.streamGood()) << bytes;
    }
}

TEST_F(XmlLexerTest, TheLastTokenLeavesTheStreamGoodUntilOneMoreIsAskedFor)
{
    open("<a></a>\n");
    EXPECT_TRUE(lexer.expectStartTag("a"));
    EXPECT_TRUE(lexer.expectEndTag("a"));
    EXPECT_TRUE(lexer.streamGood());
    EXPECT_EQ(errorCode([&] { lexer.expectStartTag("a"); }), XMLReaderError::unexpectedEnd);
    EXPECT_FALSE(lexer.streamGood());
}

TEST_F(XmlLexerTest, AByteOrderMarkIsReadOverAtTheStartOnly)
{
    TagAttributes attributes;
    open("\xEF\xBB\xBF<visualdsp-project>");
    EXPECT_TRUE(lexer.expectElement("visualdsp-project", attributes));
    // Anywhere else, and when not whole, its bytes are text.
    open(" \xEF\xBB\xBF<a>");
    EXPECT_EQ(text(), "\xEF\xBB\xBF");
    open("\xEF\xBB<a>");
    EXPECT_EQ(text(), "\xEF\xBB");
}

TEST_F(XmlLexerTest, FoldsCarriageReturnLineFeedOnly)
{
    open("<a>\r\nx\r\ny\r\rz\r\r\n\n\r</a>");
    EXPECT_TRUE(lexer.expectStartTag("a"));
    EXPECT_EQ(text(), "x\ny\r\rz\r\n\n\r");
}

TEST_F(XmlLexerTest, FoldsAPairAndSkipsWhitespaceSplitAcrossReads)
{
    // Wherever the buffer ends, a pair that straddles it reads as one line
    // feed, and whitespace that straddles it is read over whole.
    for (std::size_t offset = ByteInput::bufferSize - 3; offset <= ByteInput::bufferSize + 1; ++offset) {
        const std::string head = "<a>" + std::string(offset - 3, 'x');
        open(head + "\r\nend\r</a>");
        EXPECT_TRUE(lexer.expectStartTag("a"));
        EXPECT_EQ(text(), std::string(offset - 3, 'x') + "\nend\r") << offset;
        EXPECT_TRUE(lexer.expectEndTag("a"));
        open("<a/>" + std::string(offset - 6, 'x') + "<b/>\r\n\t \n\t<c/>\n");
        EXPECT_TRUE(lexer.expectStartTag("a"));
        EXPECT_EQ(text(), std::string(offset - 6, 'x')) << offset;
        EXPECT_TRUE(lexer.expectStartTag("b"));
        EXPECT_TRUE(lexer.expectStartTag("c")) << offset;
        EXPECT_EQ(errorCode([&] { lexer.expectStartTag("d"); }), XMLReaderError::unexpectedEnd);
    }
}

TEST_F(XmlLexerTest, TokensLongerThanTheBufferStayWhole)
{
    const std::size_t length = 3 * ByteInput::bufferSize + 17;
    const std::string body(length, 'q');
    open("<" + body + "><![CDATA[" + body + "]]><a>" + body + "\r\n</" + body + ">");
    EXPECT_TRUE(lexer.expectStartTag(body));
    EXPECT_EQ(markup(), "[CDATA[" + body + "]]");
    EXPECT_TRUE(lexer.expectStartTag("a"));
    EXPECT_EQ(text(), body + "\n");
    EXPECT_TRUE(lexer.expectEndTag(body));
}

TEST_F(XmlLexerTest, TokenLineIsTheLineWhereThePendingTokenBegins)
{
    // CR LF counts once, a lone CR not at all; lines before a refill count too.
    const std::string filler(ByteInput::bufferSize, 'x');
    open("<a>\r\n\r\n<b\nc=\"1\">\r text\n\nmore</b>\n<!--\n" + filler + "\n-->\n\n<c/>");
    EXPECT_EQ(lexer.tokenLine(), 1u);
    EXPECT_TRUE(lexer.expectStartTag("a"));
    EXPECT_EQ(lexer.tokenLine(), 3u);
    TagAttributes attributes;
    EXPECT_TRUE(lexer.expectElement("b", attributes));
    EXPECT_EQ(lexer.tokenLine(), 4u);
    EXPECT_EQ(text(), "text\n\nmore");
    EXPECT_EQ(lexer.tokenLine(), 6u);
    EXPECT_TRUE(lexer.expectEndTag("b"));
    EXPECT_EQ(lexer.tokenLine(), 7u);
    EXPECT_EQ(lexer.pendingStartTagName(), "c");
    EXPECT_EQ(lexer.tokenLine(), 11u);
}

// Tokens are handed out from the read buffer where they lie in it whole; one
// that a refill cuts must read the same, wherever the cut falls.
TEST_F(XmlLexerTest, TokensCutByARefillReadAsWhole)
{
    const std::string tokens = "<a k=\"v\">text</a><b/>";
    for (std::size_t cut = 0; cut <= tokens.size(); ++cut) {
        open(std::string(ByteInput::bufferSize - cut, ' ') + tokens);
        TagAttributes attributes;
        EXPECT_TRUE(lexer.expectElement("a", attributes)) << cut;
        EXPECT_EQ(asMap(attributes), (Attributes{{"k", "\"v\""}})) << cut;
        EXPECT_EQ(text(), "text") << cut;
        EXPECT_FALSE(lexer.expectEndTag("b")) << cut;
        EXPECT_EQ(lexer.tokenText(), "a") << cut;
        EXPECT_TRUE(lexer.expectEndTag("a")) << cut;
        EXPECT_EQ(lexer.pendingStartTagName(), "b") << cut;
        EXPECT_EQ(lexer.tokenText(), "b/") << cut;
    }
}

TEST_F(XmlLexerTest, FilesThatCannotBeReadFailToOpenWithCodeTwo)
{
    std::filesystem::create_directory(folder.path() / "folder.dpj");
    EXPECT_EQ(errorCode([&] { lexer.openFile(folder.windowsPath("folder.dpj")); }), XMLReaderError::cannotOpen);
    EXPECT_EQ(errorCode([&] { lexer.openFile(folder.windowsPath("missing.dpj")); }), XMLReaderError::cannotOpen);
    EXPECT_FALSE(lexer.streamGood());
}

TEST_F(XmlLexerTest, OpeningAgainStartsOverWithNothingPending)
{
    open("<a><b>");
    EXPECT_TRUE(lexer.expectStartTag("a"));
    EXPECT_FALSE(lexer.expectStartTag("a"));
    open("<c>");
    EXPECT_EQ(lexer.tokenText(), "");
    EXPECT_TRUE(lexer.expectStartTag("c"));
}

TEST_F(XmlLexerTest, SkipElementReadsOverNestedContentOfAnyDepth)
{
    const std::size_t depth = 100000;
    std::string nested;
    for (std::size_t i = 0; i < depth; ++i) {
        nested += "<n x=\"1\"><e/><!-- <n> -->t";
    }
    for (std::size_t i = 0; i < depth; ++i) {
        nested += "</n>";
    }
    open("<u/>" + nested + "<keep>");
    EXPECT_EQ(lexer.pendingStartTagName(), "u");
    lexer.skipElement();
    EXPECT_EQ(lexer.pendingStartTagName(), "n");
    lexer.skipElement();
    EXPECT_EQ(lexer.pendingStartTagName(), "keep");
    EXPECT_TRUE(lexer.expectStartTag("keep"));
}

TEST_F(XmlLexerTest, SkipElementLeavesOtherTokensAndStopsAtTheEndOfFile)
{
    open("<!-- c --></a>text<b>");
    EXPECT_EQ(lexer.pendingStartTagName(), "");
    lexer.skipElement();
    EXPECT_TRUE(lexer.expectEndTag("a"));
    EXPECT_EQ(lexer.pendingStartTagName(), "");
    EXPECT_EQ(text(), "text");
    EXPECT_EQ(errorCode([&] { lexer.skipElement(); }), XMLReaderError::unexpectedEnd);
}

TEST(TrimChar, RemovesEveryLeadingAndTrailingOccurrence)
{
    EXPECT_EQ(trimChar("\"Debug\"", "\""), "Debug");
    EXPECT_EQ(trimChar("\"\"a\"b\"\"", "\""), "a\"b");
    EXPECT_EQ(trimChar("\"\"\"", "\""), "");
    EXPECT_EQ(trimChar("", "\""), "");
    EXPECT_EQ(trimChar("plain", "\""), "plain");
    EXPECT_EQ(trimChar("\t a b \t", " \t"), "a b");
}

} // namespace
