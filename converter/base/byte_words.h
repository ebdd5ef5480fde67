#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

} // namespace byte_words
