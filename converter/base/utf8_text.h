#pragma once

#include <string>
#include <string_view>

// Appends the code point's UTF-8 bytes.
void appendUtf8(std::string& out, char32_t codePoint);

// The bytes read as ISO-8859-1 (each byte its own code point), in UTF-8.
std::string latin1AsUtf8(std::string_view bytes);
