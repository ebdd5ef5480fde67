#include "compdb/json_text.h"

#include "base/utf8_text.h"

#include <array>

namespace {

constexpr unsigned char firstNonControl = 0x20;
constexpr unsigned char firstNonAscii = 0x80;
constexpr unsigned char continuationMask = 0xC0;
constexpr unsigned char continuationMark = 0x80;

struct LeadByte {
    unsigned char first;
    unsigned char last;
    std::size_t length;
    // The bounds of the byte after the lead; they rule out overlong forms,
    // surrogates and code points beyond U+10FFFF.
    unsigned char secondFirst;
    unsigned char secondLast;
};

constexpr std::array<LeadByte, 8> leadBytes{{
    {0xC2, 0xDF, 2, 0x80, 0xBF},
    {0xE0, 0xE0, 3, 0xA0, 0xBF},
    {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F},
    {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF},
    {0xF4, 0xF4, 4, 0x80, 0x8F},
}};

unsigned char byteAt(std::string_view bytes, std::size_t position)
{
    return static_cast<unsigned char>(bytes[position]);
}

bool isContinuation(unsigned char byte)
{
    return (byte & continuationMask) == continuationMark;
}

// The length of the UTF-8 sequence that starts at the position, 0 when the
// bytes there form none.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t position)
{
    const unsigned char lead = byteAt(bytes, position);
    for (const LeadByte& form : leadBytes) {
        if (lead < form.first || lead > form.last) {
            continue;
        }
        if (position + form.length > bytes.size()) {
            return 0;
        }
        const unsigned char second = byteAt(bytes, position + 1);
        if (second < form.secondFirst || second > form.secondLast) {
            return 0;
        }
        for (std::size_t i = 2; i < form.length; ++i) {
            if (!isContinuation(byteAt(bytes, position + i))) {
                return 0;
            }
        }
        return form.length;
    }
    return 0;
}

void appendAscii(std::string& out, unsigned char byte)
{
    static constexpr std::string_view hexDigits = "0123456789abcdef";
    if (byte == '"' || byte == '\\') {
        out += '\\';
        out += static_cast<char>(byte);
    } else if (byte < firstNonControl) {
        out += "\\u00";
        out += hexDigits[byte >> 4];
        out += hexDigits[byte & 0xF];
    } else {
        out += static_cast<char>(byte);
    }
}

} // namespace

std::string jsonString(std::string_view bytes)
{
    std::string out = "\"";
    out.reserve(bytes.size() + 2);
    for (std::size_t position = 0; position < bytes.size();) {
        const unsigned char byte = byteAt(bytes, position);
        if (byte < firstNonAscii) {
            appendAscii(out, byte);
            ++position;
        } else if (const std::size_t length = utf8SequenceLength(bytes, position); length != 0) {
            out.append(bytes.substr(position, length));
            position += length;
        } else {
            appendUtf8(out, byte);
            ++position;
        }
    }
    out += '"';
    return out;
}
