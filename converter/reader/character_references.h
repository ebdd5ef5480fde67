#pragma once

#include <cstddef>
#include <string>

// Replaces each well-formed XML character reference in the text by the
// character it stands for: "&amp;" "&lt;" "&gt;" "&quot;" "&apos;" and numeric
// ones ("&#38;", "&#x26;"), the latter as their ISO-8859-1 byte, or as UTF-8
// where that set has none. One that is not well
// formed, or names no character XML allows, stays as written.
// Most texts hold none: the search for the first "&" is in the header, for
// every attribute value and text read.
void decodeCharacterReferencesFrom(std::string& text, std::size_t firstAmpersand);
inline void decodeCharacterReferences(std::string& text)
{
    if (const std::size_t ampersand = text.find('&'); ampersand != std::string::npos) {
        decodeCharacterReferencesFrom(text, ampersand);
    }
}
