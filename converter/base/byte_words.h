#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Eight bytes of text tested at once, for scans over runs of bytes that seldom
// hold what they look for. A test flags the high bit of each byte found; only
// the first flagged byte in memory is sure, as a borrow may flag those after
// it, so a scan goes on byte by byte from there. Used only where the first
// byte in memory is the word's lowest (`wordScans`).
namespace byte_words {

constexpr bool wordScans = std::endian::native == std::endian::little;
constexpr std::uint64_t ones = 0x0101010101010101;
constexpr std::uint64_t highBits = 0x8080808080808080;

inline std::uint64_t load(const char* bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The bytes below `limit`, which must not exceed 0x80.
constexpr std::uint64_t below(std::uint64_t word, unsigned char limit)
{
    return (word - ones * limit) & ~word & highBits;
}

constexpr std::uint64_t equalTo(std::uint64_t word, unsigned char byte)
{
    return below(word ^ (ones * byte), 1);
}

// The offset of the first byte flagged in a non-zero result.
constexpr std::size_t firstFlagged(std::uint64_t flags)
{
    return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
}

// The place of the first byte of the text from `from` on that `wordTest`
// flags in its word and `byteTest` finds alone; the text's size when there is
// none. The word test may be an or of the tests above.
template <typename WordTest, typename ByteTest>
std::size_t firstFound(std::string_view text, std::size_t from, WordTest wordTest, ByteTest byteTest)
{
    std::size_t position = from;
    if constexpr (wordScans) {
        if (text.size() - position >= 8) {
            for (; text.size() - position >= 8; position += 8) {
                if (const std::uint64_t found = wordTest(load(text.data() + position))) {
                    return position + firstFlagged(found);
                }
            }
            // The bytes left, as the last eight: those tested again are not
            // flagged, so the first flagged one is sure all the same.
            const std::size_t last = text.size() - 8;
            const std::uint64_t found = wordTest(load(text.data() + last));
            return found != 0 ? last + firstFlagged(found) : text.size();
        }
    }
    while (position < text.size() && !byteTest(static_cast<unsigned char>(text[position]))) {
        ++position;
    }
    return position;
}

// The place of the first byte of the text from `from` on that is below
// `limit` (at most 0x80); the text's size when there is none.
inline std::size_t firstByteBelow(std::string_view text, unsigned char limit, std::size_t from = 0)
{
    return firstFound(
        text, from, [limit](std::uint64_t word) { return below(word, limit); },
        [limit](unsigned char byte) { return byte < limit; });
}

} // namespace byte_words
