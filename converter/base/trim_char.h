#pragma once

#include <string>
#include <string_view>

// What a formatter lays text out with: blanks, tabs and line breaks.
constexpr std::string_view whitespace = " \t\n\v\f\r";

// The text without any of the characters at its start and at its end; a text
// made only of them becomes empty.
std::string trimChar(std::string_view text, std::string_view characters);
