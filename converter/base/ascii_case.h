#pragma once

#include <string>

// Letter case folded for a to z only, so that no comparison depends on the
// locale or changes the bytes of other characters.
std::string asciiUpperCase(std::string text);
std::string asciiLowerCase(std::string text);
