#include "writer/template_text.h"

#include "base/errors.h"
#include "base/io_sizes.h"
#include "base/line_ends.h"
#include "base/open_file.h"
#include "platform/platform.h"

#include <array>
#include <cstdio>
#include <memory>

namespace {

} // namespace

std::optional<std::string> readTemplateText(const std::string& windowsPath)
{
    const std::string host = platform::hostPath(windowsPath);
    if (host.empty()) {
        return std::nullopt;
    }
    const OpenFile file(std::fopen(host.c_str(), "rb"));
    if (!file) {
        return std::nullopt;
    }
    // A folder opens on some systems and fails on its first read: that counts as
    // a template that cannot be opened, never as an empty one.
    std::string bytes;
    std::array<char, readChunkSize> chunk;
    std::size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        bytes.append(chunk.data(), got);
        if (bytes.size() > maxTemplateBytes) {
            throw InputTooLong("Analyser personality template longer than " + mebibytes(maxTemplateBytes) + ": " +
                               windowsPath);
        }
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    bytes.resize(foldLineEnds(bytes.data(), bytes.size()));
    return bytes;
}
