#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Far beyond any real template; one that never ends (-ap /dev/zero) stops
// here instead of filling the disk with copies.
constexpr std::size_t maxTemplateBytes = std::size_t{16} << 20;

// The whole content of an analyser personality template read as text (CR LF
// folded to LF, as on Windows), or nothing when it cannot be opened or read.
// Throws InputTooLong when it holds more than maxTemplateBytes.
std::optional<std::string> readTemplateText(const std::string& windowsPath);
