#include "reader/older_project_file.h"

#include "platform/platform.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view olderBinaryProjectStart("xV4\x12", 4);

} // namespace

bool isOlderBinaryProjectFile(const std::string& windowsPath)
{
    const platform::OpenedHostFile opened = platform::openRegularHostFile(platform::hostPath(windowsPath));
    if (opened.outcome != platform::HostFileOpening::opened) {
        return false;
    }
    std::array<char, olderBinaryProjectStart.size()> start{};
    const std::size_t got = std::fread(start.data(), 1, start.size(), opened.file);
    std::fclose(opened.file);
    return std::string_view(start.data(), got) == olderBinaryProjectStart;
}
