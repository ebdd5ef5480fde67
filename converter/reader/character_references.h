#pragma once

#include <string>

// Replaces each well-formed XML character reference in the text by the
// character it stands for: "&amp;" "&lt;" "&gt;" "&quot;" "&apos;" and numeric
// ones ("&#38;", "&#x26;"), the latter written as UTF-8. One that is not well
// formed, or names no character XML allows, stays as written.
void decodeCharacterReferences(std::string& text);
