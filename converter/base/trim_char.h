#pragma once

#include <string>
#include <string_view>

// The text without any of the characters at its start and at its end; a text
// made only of them becomes empty.
std::string trimChar(std::string_view text, std::string_view characters);
