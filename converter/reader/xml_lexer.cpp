#include "reader/xml_lexer.h"

#include "base/byte_words.h"
#include "base/errors.h"
#include "platform/platform.h"
#include "reader/character_references.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// The bytes that change the counters of a markup token, inside square
// brackets and outside them.
constexpr std::string_view bracketCounted = "[]";
constexpr std::string_view allCounted = "<>[]";
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The bytes that end an unquoted word of a tag, looked up at one load a byte.
constexpr std::array<bool, 256> endsWord = [] {
    std::array<bool, 256> ends{};
    for (int c = 0; c < 256; ++c) {
        ends[static_cast<std::size_t>(c)] = c == '=' || isXmlWhitespace(c);
    }
    return ends;
}();

// Where the unquoted word from `position` ends. Element names and attribute
// keys are most of a tag: eight bytes at a time are tested for any that could
// end one (a byte below "!", or "="), and only from the first such on are the
// bytes looked up one by one.
std::size_t wordEnd(std::string_view tag, std::size_t position)
{
    if constexpr (byte_words::wordScans) {
        for (; tag.size() - position >= 8; position += 8) {
            const std::uint64_t word = byte_words::load(tag.data() + position);
            const std::uint64_t found = byte_words::below(word, '!') | byte_words::equalTo(word, '=');
            if (found != 0) {
                position += byte_words::firstFlagged(found);
                break;
            }
        }
    }
    while (position < tag.size() && !endsWord[static_cast<unsigned char>(tag[position])]) {
        ++position;
    }
    return position;
}

void skipWhitespace(std::string_view tag, std::size_t& position)
{
    while (position < tag.size() && isXmlWhitespace(tag[position])) {
        ++position;
    }
}

// One word of a tag's text: a double-quoted string with its quotes, or a run up
// to whitespace or "=". A missing closing quote lets the word run to the end.
// A view without data when the tag has no more words: an optional would come
// back through memory, and this runs for every name, key and value.
inline std::string_view readWord(std::string_view tag, std::size_t& position)
{
    skipWhitespace(tag, position);
    if (position == tag.size()) {
        return {};
    }
    const std::size_t start = position;
    if (tag[position] == '"') {
        // Values are paths of tens of bytes: the library's search beats a loop.
        const std::size_t closingQuote = tag.find('"', position + 1);
        position = closingQuote == std::string_view::npos ? tag.size() : closingQuote + 1;
    } else {
        position = wordEnd(tag, position);
    }
    return std::string_view(tag.data() + start, position - start);
}

// Attributes from the end of the tag name on, up to the first step that does
// not fit the key = value shape; whatever is left (such as the "/" of "<a/>")
// is ignored.
void readAttributes(std::string_view tag, std::size_t position, TagAttributes& attributes)
{
    attributes.clear();
    for (std::string_view key = readWord(tag, position); key.data() != nullptr; key = readWord(tag, position)) {
        skipWhitespace(tag, position);
        if (position == tag.size() || tag[position] != '=') {
            return;
        }
        ++position;
        const std::string_view value = readWord(tag, position);
        if (value.data() == nullptr) {
            return;
        }
        std::string& stored = attributes.valueFor(key);
        stored = value;
        decodeCharacterReferences(stored);
    }
}

} // namespace

XmlLexer::~XmlLexer() = default;

void XmlLexer::openFile(const std::string& windowsPath)
{
    openHostFile(platform::hostPath(windowsPath));
}

void XmlLexer::openHostFile(const std::string& hostPath)
{
    text = {};
    kind = TokenKind::none;
    lastStartTagWasEmpty_ = false;
    startTagSeen_ = false;
    if (!input.open(hostPath)) {
        throw XMLReaderError(XMLReaderError::cannotOpen);
    }
    // Some editors begin a UTF-8 file with a byte-order mark; it is no text.
    input.skipPrefix(byteOrderMark);
}

void XmlLexer::closeFile()
{
    input.release();
}

bool XmlLexer::expectStartTag(std::string_view name)
{
    skipMarkup();
    if (kind != TokenKind::startTag || !text.starts_with(name)) {
        return false;
    }
    std::string_view rest = text.substr(name.size());
    if (isEmptyElementTag(rest)) {
        rest.remove_suffix(1);
    }
    std::size_t position = 0;
    skipWhitespace(rest, position);
    if (position != rest.size()) {
        return false;
    }
    consume();
    return true;
}

bool XmlLexer::expectElement(std::string_view name, TagAttributes& attributes)
{
    skipMarkup();
    if (kind != TokenKind::startTag || tagName != name) {
        return false;
    }
    readAttributes(text, tagNameEnd, attributes);
    consume();
    return true;
}

bool XmlLexer::readText(std::string& out)
{
    ensureToken();
    if (kind == TokenKind::endTag) {
        out.clear();
        return true;
    }
    if (kind != TokenKind::text) {
        return false;
    }
    // A copy, not a move: the token's buffer keeps its capacity for the next
    // token, and most texts are short enough to need no allocation of their own.
    out.assign(text);
    decodeCharacterReferences(out);
    consume();
    return true;
}

bool XmlLexer::skipText()
{
    ensureToken();
    if (kind == TokenKind::endTag) {
        return true;
    }
    if (kind != TokenKind::text) {
        return false;
    }
    consume();
    return true;
}

bool XmlLexer::readMarkup(std::string& out)
{
    ensureToken();
    if (kind != TokenKind::markup) {
        return false;
    }
    out.assign(text);
    consume();
    return true;
}

void XmlLexer::skipElement()
{
    ensureToken();
    if (kind != TokenKind::startTag) {
        return;
    }
    // Only the depth is kept, so content of any depth costs no memory; names
    // are not matched, as the lexer checks no nesting anywhere else either.
    std::uint64_t depth = 0;
    do {
        ensureToken();
        if (kind == TokenKind::startTag && !isEmptyElementTag(text)) {
            ++depth;
        } else if (kind == TokenKind::endTag) {
            --depth;
        }
        consume();
    } while (depth > 0);
}

bool XmlLexer::streamGood() const
{
    return input.good();
}

std::string XmlLexer::tokenText() const
{
    return kind == TokenKind::none ? std::string() : std::string(text);
}

// The lexer never reads past the pending token, and a token's line breaks all
// stand in its text, so counting back from the read position finds its start.
std::size_t XmlLexer::tokenLine()
{
    ensureToken();
    return input.line() - static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

int XmlLexer::nextByte()
{
    const int c = input.get();
    if (c == ByteInput::end) {
        throw XMLReaderError(XMLReaderError::unexpectedEnd);
    }
    return c;
}

void XmlLexer::nextToken()
{
    kind = TokenKind::none;
    tagName = {};
    text = {};

    const int c = input.getNonWhitespace();
    if (c == ByteInput::end) {
        throw XMLReaderError(XMLReaderError::unexpectedEnd);
    }

    if (c != '<') {
        readTextToken(c);
        return;
    }

    const int d = nextByte();
    if (d == '/') {
        readTagText(ByteInput::end);
        kind = TokenKind::endTag;
    } else if (d == '!' || d == '&' || d == '?') {
        readMarkupText();
        kind = TokenKind::markup;
    } else if (d == '>') {
        kind = TokenKind::startTag;
    } else {
        readTagText(d);
        kind = TokenKind::startTag;
        // The "/" of an empty-element tag is no part of the name: "<a/>" is an a.
        std::string_view tag = text;
        if (isEmptyElementTag(tag)) {
            tag.remove_suffix(1);
        }
        // A name nearly always begins the tag: its end is found without the
        // whole word reading, which would cost a call for every tag.
        if (!tag.empty() && !isXmlWhitespace(tag.front()) && tag.front() != '"') {
            tagNameEnd = wordEnd(tag, 0);
            tagName = tag.substr(0, tagNameEnd);
        } else {
            tagNameEnd = 0;
            tagName = readWord(tag, tagNameEnd);
        }
    }
    startTagSeen_ = startTagSeen_ || kind == TokenKind::startTag;
}

// A file whose first tag would follow its text at the end holds no element: a
// text file given by mistake, which no project cut short resembles.
void XmlLexer::readTextToken(int firstByte)
{
    try {
        readTokenUntil('<', firstByte);
    } catch (const XMLReaderError& error) {
        if (startTagSeen_ || error.code != XMLReaderError::unexpectedEnd) {
            throw;
        }
        throw XMLReaderError(XMLReaderError::noElement);
    }
    kind = TokenKind::text;
}

// Up to the next ">", which is read but not kept; a ">" in a quoted value
// ends the tag all the same.
void XmlLexer::readTagText(int firstByte)
{
    readTokenUntil('>', firstByte);
    input.get();
}

// Square brackets protect everything inside them, ">" included, and inner
// "<...>" pairs are carried along; the token ends at the first ">" outside both.
// Runs of bytes that change no counter are appended whole.
void XmlLexer::readMarkupText()
{
    ownText.clear();
    std::int64_t angle = 0;
    std::int64_t bracket = 0;
    for (;;) {
        appendTokenUntil(bracket != 0 ? bracketCounted : allCounted);
        const int c = input.get();
        if (c == '>' && angle == 0 && bracket == 0) {
            text = ownText;
            return;
        }
        if (bracket != 0) {
            if (c == '[') {
                ++bracket;
            } else if (c == ']') {
                --bracket;
            }
        } else if (c == '<') {
            ++angle;
        } else if (c == '>') {
            --angle;
        } else if (c == '[') {
            ++bracket;
        } else if (c == ']') {
            --bracket;
        }
        ownText.push_back(static_cast<char>(c));
    }
}

void XmlLexer::readTokenUntil(char delimiter, int firstByte)
{
    text = input.viewUntil(delimiter, firstByte != ByteInput::end);
    if (text.data() == nullptr) {
        readCutTokenUntil(delimiter, firstByte);
    }
}

void XmlLexer::readCutTokenUntil(char delimiter, int firstByte)
{
    ownText.clear();
    if (firstByte != ByteInput::end) {
        ownText.push_back(static_cast<char>(firstByte));
    }
    appendTokenUntil(std::string_view(&delimiter, 1));
    text = ownText;
}

void XmlLexer::appendTokenUntil(std::string_view delimiters)
{
    if (input.appendUntil(delimiters, ownText, maxTokenBytes)) {
        return;
    }
    if (ownText.size() > maxTokenBytes) {
        throw InputTooLong("Visual DSP Project file parsing encountered a token longer than " +
                           mebibytes(maxTokenBytes));
    }
    throw XMLReaderError(XMLReaderError::unexpectedEnd);
}
