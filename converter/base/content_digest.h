#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A 64-bit digest of bytes that arrive in pieces: the same bytes give the same
// digest however they are split. It tells whether a file still holds what the
// converter wrote there; it is no defence against anyone who wants a match.
// Each eight-byte word is multiplied, rotated and multiplied into the state,
// which mixes every bit of the input into every bit of the state as FNV-1a
// does for one byte, at eight bytes a step.
class ContentDigest {
public:
    void add(std::string_view bytes);
    // The digest of everything added so far.
    std::uint64_t value() const;

private:
    void addWord(std::uint64_t word);

    static constexpr std::uint64_t start = 0x9E3779B185EBCA87;
    std::uint64_t state_ = start;
    std::uint64_t length_ = 0;
    // The bytes of a word not yet complete, lowest first.
    std::uint64_t pending_ = 0;
    unsigned pendingBytes_ = 0;
};

// The digest as 16 lowercase hex digits, and back; nothing from a text that is
// not exactly that.
std::string digestText(std::uint64_t digest);
bool parseDigestText(std::string_view text, std::uint64_t& digest);
