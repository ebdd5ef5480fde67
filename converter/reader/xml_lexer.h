#pragma once

#include <cstdio>
#include <map>
#include <string>

enum class TokenKind { none, startTag, endTag, text, markup };

// Pull lexer over a project file with one token of look-ahead. A question that
// gets a no leaves the token pending for the next question.
class XmlLexer {
public:
    XmlLexer() = default;
    ~XmlLexer();
    XmlLexer(const XmlLexer&) = delete;
    XmlLexer& operator=(const XmlLexer&) = delete;

    // Throws XMLReaderError code 2 when the file cannot be opened for reading.
    void openFile(const std::string& windowsPath);

    bool expectStartTag(const std::string& name);
    bool expectElement(const std::string& name, std::map<std::string, std::string>& attributes);
    bool expectEndTag(const std::string& name);
    bool readText(std::string& out);
    bool readMarkup(std::string& out);

    bool streamGood() const;
    std::string tokenText() const;
    TokenKind tokenKind() const { return kind; }

private:
    void nextToken();
    void ensureToken();
    void skipMarkup();

    std::string text;
    TokenKind kind = TokenKind::none;
    std::FILE* file = nullptr;
};

// Removes every leading and trailing occurrence of one character.
std::string trimChar(const std::string& text, char c);
