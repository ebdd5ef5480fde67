#pragma once

#include <string>
#include <string_view>

// A JSON string literal, quotes included, in UTF-8: backslashes and quotes are
// escaped, control characters written as \u00XX, and bytes that do not form
// UTF-8 are read as ISO-8859-1, the encoding project files declare.
std::string jsonString(std::string_view bytes);
