#include "writer/template_text.h"

#include "base/bounded_read.h"
#include "base/errors.h"
#include "base/line_ends.h"
#include "base/open_file.h"
#include "platform/platform.h"

#include <cstdio>
#include <memory>

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
    BoundedText read = readWholeAtMost(file.get(), maxTemplateBytes);
    if (read.outcome == BoundedReading::tooLong) {
        throw InputTooLong("Analyser personality template longer than " + mebibytes(maxTemplateBytes) + ": " +
                           windowsPath);
    }
    if (read.outcome == BoundedReading::failed) {
        return std::nullopt;
    }
    std::string& bytes = read.text;
    bytes.resize(foldLineEnds(bytes.data(), bytes.size()));
    return bytes;
}
