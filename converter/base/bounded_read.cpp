#include "base/bounded_read.h"

BoundedText readWholeAtMost(std::FILE* file, std::uint64_t limit)
{
    BoundedText read;
    if (!readChunksAtMost(file, limit, [&](std::string_view bytes) { read.text += bytes; })) {
        read.text.clear();
        return read;
    }
    if (read.text.size() > limit) {
        read.text.clear();
        read.outcome = BoundedReading::tooLong;
        return read;
    }
    read.outcome = BoundedReading::whole;
    return read;
}
