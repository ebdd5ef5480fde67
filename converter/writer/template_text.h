#pragma once

#include <optional>
#include <string>

// The whole content of an analyser personality template read as text (CR LF
// folded to LF, as on Windows), or nothing when it cannot be opened or read.
std::optional<std::string> readTemplateText(const std::string& windowsPath);
