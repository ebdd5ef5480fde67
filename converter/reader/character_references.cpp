#include "reader/character_references.h"

#include "base/utf8_text.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, char>, 5> predefined{{
    {"amp", '&'},
    {"lt", '<'},
    {"gt", '>'},
    {"quot", '"'},
    {"apos", '\''},
}};

constexpr std::uint32_t lastCodePoint = 0x10FFFF;
constexpr std::uint32_t lastLatin1CodePoint = 0xFF;

// The characters a document may hold; a reference to any other, NUL above all,
// is no character at all.
bool isXmlCharacter(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= lastCodePoint);
}

int digitValue(char c, std::uint32_t base)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (base == 16 && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The code point of "#38" or "#x26", the text between "&" and ";".
std::optional<std::uint32_t> numericReference(std::string_view name)
{
    if (!name.starts_with('#')) {
        return std::nullopt;
    }
    name.remove_prefix(1);
    std::uint32_t base = 10;
    if (name.starts_with('x')) {
        base = 16;
        name.remove_prefix(1);
    }
    if (name.empty()) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : name) {
        const int digit = digitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + static_cast<std::uint32_t>(digit);
        // Checked at every digit, so that a long run of them cannot overflow.
        if (value > lastCodePoint) {
            return std::nullopt;
        }
    }
    return isXmlCharacter(value) ? std::optional(value) : std::nullopt;
}

// Projects are ISO-8859-1 texts, so a character of that set is its own byte,
// as it would be written without a reference; any other has no byte there and
// is written as UTF-8.
void appendCharacter(std::string& out, std::uint32_t c)
{
    if (c <= lastLatin1CodePoint) {
        out += static_cast<char>(c);
    } else {
        appendUtf8(out, static_cast<char32_t>(c));
    }
}

bool isReferenceByte(char c)
{
    return c == '#' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends what the reference between "&" and ";" stands for; false when it
// stands for nothing.
bool appendReferenced(std::string& out, std::string_view name)
{
    for (const auto& [entity, character] : predefined) {
        if (name == entity) {
            out += character;
            return true;
        }
    }
    if (const std::optional<std::uint32_t> codePoint = numericReference(name)) {
        appendCharacter(out, *codePoint);
        return true;
    }
    return false;
}

} // namespace

void decodeCharacterReferencesFrom(std::string& text, std::size_t firstAmpersand)
{
    std::size_t ampersand = firstAmpersand;
    std::string decoded(text, 0, ampersand);
    std::size_t copied = ampersand;
    for (; ampersand != std::string::npos; ampersand = text.find('&', ampersand + 1)) {
        // The scan stops at the first byte no reference holds, so that each
        // byte is looked at once however many ampersands come before a ";".
        std::size_t end = ampersand + 1;
        while (end < text.size() && isReferenceByte(text[end])) {
            ++end;
        }
        if (end == text.size() || text[end] != ';') {
            continue;
        }
        const std::string_view name = std::string_view(text).substr(ampersand + 1, end - ampersand - 1);
        decoded.append(text, copied, ampersand - copied);
        copied = ampersand;
        if (appendReferenced(decoded, name)) {
            copied = end + 1;
        }
    }
    decoded.append(text, copied);
    text = std::move(decoded);
}
