#include "base/ascii_case.h"

#include <algorithm>

std::string asciiUpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), asciiUpper);
    return text;
}

std::string asciiLowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), asciiLower);
    return text;
}
