#include "base/utf8_text.h"

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
        return;
    }
    const int continuationBytes = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
    constexpr unsigned char leadBits[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(leadBits[continuationBytes] | (codePoint >> (6 * continuationBytes)));
    for (int shift = 6 * (continuationBytes - 1); shift >= 0; shift -= 6) {
        out += static_cast<char>(0x80 | ((codePoint >> shift) & 0x3F));
    }
}

std::string latin1AsUtf8(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        appendUtf8(text, static_cast<unsigned char>(byte));
    }
    return text;
}
