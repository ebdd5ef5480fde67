#pragma once

#include <string>

// Letter case folded for a to z only, so that no comparison depends on the
// locale or changes the bytes of other characters.
constexpr char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string asciiUpperCase(std::string text);
std::string asciiLowerCase(std::string text);
