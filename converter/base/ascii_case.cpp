#include "base/ascii_case.h"

#include <algorithm>

namespace {

constexpr char caseDistance = 'a' - 'A';

} // namespace

std::string asciiUpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - caseDistance) : c; });
    return text;
}

std::string asciiLowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + caseDistance) : c; });
    return text;
}
