#pragma once

#include "base/io_sizes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Every file of the user's is read with a bound: a file that never ends (a
// device, a pipe fed forever) or one far larger than any of its kind stops
// one byte beyond it, which tells a file that holds more.

// Feeds at most `limit` + 1 bytes of the open file to `take`, in chunks; false
// on a read error.
template <typename Take>
bool readChunksAtMost(std::FILE* file, std::uint64_t limit, Take take)
{
    std::array<char, readChunkSize> chunk;
    std::uint64_t left = limit + 1;
    while (left > 0) {
        const std::size_t wanted = left < chunk.size() ? static_cast<std::size_t>(left) : chunk.size();
        const std::size_t got = std::fread(chunk.data(), 1, wanted, file);
        if (got == 0) {
            return std::ferror(file) == 0;
        }
        take(std::string_view(chunk.data(), got));
        left -= got;
    }
    return true;
}

enum class BoundedReading { whole, tooLong, failed };

struct BoundedText {
    BoundedReading outcome = BoundedReading::failed;
    // The whole file when `whole`.
    std::string text;
};

// The open file from where it stands to its end, when that is at most `limit` bytes.
BoundedText readWholeAtMost(std::FILE* file, std::uint64_t limit);
