#pragma once

#include <optional>
#include <string>
#include <string_view>

// The UTF-8 text of a quoted registry string (as Wine's .reg files write it)
// that starts after its opening quote; nothing when the closing quote is missing.
std::optional<std::string> unescapeRegistryString(std::string_view quoted);
