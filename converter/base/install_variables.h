#pragma once

#include <algorithm>
#include <array>
#include <string_view>

// Project files name the installation folder by either variable.
inline constexpr std::array<std::string_view, 2> installFolderVariables{"$(VDSP)", "$(ADI_DSP)"};

inline bool holdsInstallVariable(std::string_view path)
{
    return std::any_of(installFolderVariables.begin(), installFolderVariables.end(),
                       [&](std::string_view variable) { return path.find(variable) != std::string_view::npos; });
}
