#include "base/line_ends.h"

#include <cstring>

namespace {

// The first carriage return in [from, end), or end.
char* findCarriageReturn(char* from, char* end)
{
    void* found = std::memchr(from, '\r', static_cast<std::size_t>(end - from));
    return found == nullptr ? end : static_cast<char*>(found);
}

} // namespace

std::size_t foldLineEnds(char* bytes, std::size_t count)
{
    char* const end = bytes + count;
    // The bytes between two carriage returns move in one piece: copied one by
    // one, they cost a sixth of converting a file with CR LF line ends.
    char* kept = findCarriageReturn(bytes, end);
    for (char* carriageReturn = kept; carriageReturn != end;) {
        const char* from = carriageReturn + 1 != end && carriageReturn[1] == '\n' ? carriageReturn + 1 : carriageReturn;
        char* const next = findCarriageReturn(carriageReturn + 1, end);
        std::memmove(kept, from, static_cast<std::size_t>(next - from));
        kept += next - from;
        carriageReturn = next;
    }
    return static_cast<std::size_t>(kept - bytes);
}
