#pragma once

#include "reader/byte_input.h"
#include "reader/tag_attributes.h"

#include <cstddef>
#include <string>
#include <string_view>

enum class TokenKind { none, startTag, endTag, text, markup };

// Pull lexer over a project file with one token of look-ahead. A question that
// gets a no leaves the token pending for the next question.
class XmlLexer {
public:
    // Far beyond any real project's token; a file that never ends (a device,
    // a pipe fed forever) stops here instead of using up the memory.
    static constexpr std::size_t maxTokenBytes = std::size_t{64} << 20;

    XmlLexer() = default;
    ~XmlLexer();
    XmlLexer(const XmlLexer&) = delete;
    XmlLexer& operator=(const XmlLexer&) = delete;

    // Throws XMLReaderError code 2 when the file cannot be opened for reading.
    void openFile(const std::string& windowsPath);
    // The same for a host path (as platform::hostPath gives it).
    void openHostFile(const std::string& hostPath);
    // Closes the file and gives its buffer back; the lexer reads no more.
    void closeFile();

    // Each question scans a token when none is pending, and consumes it only
    // when the answer is yes. The expect questions pass over markup first.
    // A start tag of the name without attributes, in any of the forms XML
    // allows for it: "<a>", "<a >", "<a/>" or "<a />".
    bool expectStartTag(std::string_view name);
    // A start tag whose first word is the name; its attributes replace those
    // in `attributes`.
    bool expectElement(std::string_view name, TagAttributes& attributes);
    // An end tag whose whole text is the name.
    bool expectEndTag(std::string_view name)
    {
        skipMarkup();
        if (kind != TokenKind::endTag || text != name) {
            return false;
        }
        consume();
        return true;
    }
    // Text, or an end tag read as empty text and left pending.
    bool readText(std::string& out);
    // The same answer, with the text read over instead of copied.
    bool skipText();
    bool readMarkup(std::string& out);

    // Whether the start tag consumed last was an empty-element tag ("<a/>").
    bool lastStartTagWasEmpty() const { return lastStartTagWasEmpty_; }
    // The element name of the pending token, after passing over markup; empty
    // when the pending token is not a start tag. Valid until the next call.
    std::string_view pendingStartTagName()
    {
        skipMarkup();
        return kind == TokenKind::startTag ? tagName : std::string_view();
    }
    // Reads over the pending start tag and all up to its end tag, without
    // recursion however deep the content nests. Does nothing unless a start
    // tag is pending.
    void skipElement();

    // False once a byte was needed past the end of the file or a failed read.
    bool streamGood() const;
    // The pending token's text; "" when none is pending.
    std::string tokenText() const;
    // The line of the project file on which the pending token begins, scanning
    // one when none is pending.
    std::size_t tokenLine();

private:
    // "<a/>": the tag's text ends in the slash.
    static bool isEmptyElementTag(std::string_view tag) { return tag.ends_with('/'); }
    // The questions' common steps are in the header, as each question is asked
    // for nearly every token.
    void ensureToken()
    {
        if (kind == TokenKind::none) {
            nextToken();
        }
    }
    void skipMarkup()
    {
        for (ensureToken(); kind == TokenKind::markup; ensureToken()) {
            consume();
        }
    }
    void consume()
    {
        if (kind == TokenKind::startTag) {
            lastStartTagWasEmpty_ = isEmptyElementTag(text);
        }
        kind = TokenKind::none;
        tagName = {};
        text = {};
    }
    void nextToken();
    int nextByte();
    // `firstByte` is the token's first byte, read already; `none` when there
    // is none.
    void readTagText(int firstByte);
    void readMarkupText();
    void readTextToken(int firstByte);
    // The token from `firstByte` on up to the next `delimiter`, which stays
    // unread.
    void readTokenUntil(char delimiter, int firstByte);
    // The same for a token that a refill cuts, put together in `ownText`.
    void readCutTokenUntil(char delimiter, int firstByte);
    // Appends to `ownText` up to the next delimiter, which stays unread.
    void appendTokenUntil(std::string_view delimiters);

    // The pending token's text: a view into the input's buffer while the
    // token lies in it whole, as nearly every token does, else into `ownText`.
    std::string_view text;
    std::string ownText;
    TokenKind kind = TokenKind::none;
    // The first word of a pending start tag, a view into `text`.
    std::string_view tagName;
    // Where the attributes of a pending start tag begin in `text`.
    std::size_t tagNameEnd = 0;
    bool lastStartTagWasEmpty_ = false;
    bool startTagSeen_ = false;
    ByteInput input;
};
