#include "reader/extension_filter.h"

#include "base/ascii_case.h"
#include "base/windows_path.h"

#include <algorithm>

void ExtensionFilter::add(const std::string& commaList)
{
    std::size_t start = 0;
    for (std::size_t comma = commaList.find(','); comma != std::string::npos; comma = commaList.find(',', start)) {
        entries_.push_back(commaList.substr(start, comma - start));
        start = comma + 1;
    }
    entries_.push_back(commaList.substr(start));
}

bool ExtensionFilter::accepts(const std::string& path) const
{
    if (entries_.empty()) {
        return true;
    }
    // Unlike a file's role, "-ext" compares the text after the path's last dot,
    // and a path without one whole.
    const std::string wanted = asciiUpperCase(std::string(extension(path)));
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const std::string& entry) { return asciiUpperCase(entry) == wanted; });
}
