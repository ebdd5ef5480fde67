// Wine's registry files escape every character beyond ASCII.
#include "base/registry_text.h"

#include "base/ascii_case.h"
#include "base/utf8_text.h"

namespace {

constexpr std::size_t maxHexEscapeDigits = 4;

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (asciiLower(c) >= 'a' && asciiLower(c) <= 'f');
}

int hexValue(char c)
{
    return c <= '9' ? c - '0' : asciiLower(c) - 'a' + 10;
}

// The code unit of an escape "\x" followed by up to four hex digits; `i` is at
// the "x" and ends at the last digit.
char16_t readHexEscape(std::string_view quoted, std::size_t& i)
{
    char16_t unit = 0;
    for (std::size_t digits = 0; digits < maxHexEscapeDigits && i + 1 < quoted.size() && isHexDigit(quoted[i + 1]);
         ++digits) {
        unit = static_cast<char16_t>(unit * 16 + hexValue(quoted[++i]));
    }
    return unit;
}

// Host paths are UTF-8. A surrogate without its partner is encoded on its own,
// as no file name needs it.
std::string utf8(const std::u16string& units)
{
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t codePoint = units[i];
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        appendUtf8(text, codePoint);
    }
    return text;
}

// The text of a quoted registry string that starts after its opening quote;
// nullopt when the closing quote is missing. Wine writes every character
// beyond ASCII as "\x" and the hex digits of its UTF-16 code unit; consecutive
// escapes are decoded together, as a surrogate pair spans two.
} // namespace

std::optional<std::string> unescapeRegistryString(std::string_view quoted)
{
    std::string value;
    std::u16string escapedUnits;
    const auto plain = [&](char c) {
        value += utf8(escapedUnits);
        escapedUnits.clear();
        value += c;
    };
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"') {
            value += utf8(escapedUnits);
            return value;
        }
        if (c != '\\') {
            plain(c);
            continue;
        }
        if (++i == quoted.size()) {
            return std::nullopt;
        }
        if (quoted[i] == 'x' && i + 1 < quoted.size() && isHexDigit(quoted[i + 1])) {
            escapedUnits += readHexEscape(quoted, i);
            continue;
        }
        if (quoted[i] != '\\' && quoted[i] != '"') {
            plain('\\');
        }
        plain(quoted[i]);
    }
    return std::nullopt;
}
