#include "base/content_digest.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t wordPrime = 0xC2B2AE3D27D4EB4F;
constexpr std::uint64_t statePrime = 0x9E3779B185EBCA87;
constexpr int wordRotation = 31;
constexpr unsigned wordBytes = 8;
constexpr unsigned bitsPerByte = 8;
constexpr unsigned hexDigits = 16;
// The final mix of MurmurHash3, whose constants were chosen for it.
constexpr int avalancheShift = 33;
constexpr std::uint64_t avalancheFirst = 0xFF51AFD7ED558CCD;
constexpr std::uint64_t avalancheSecond = 0xC4CEB9FE1A85EC53;
constexpr unsigned bitsPerHexDigit = 4;

// Spreads every bit of the state over all of the digest.
std::uint64_t avalanche(std::uint64_t value)
{
    value ^= value >> avalancheShift;
    value *= avalancheFirst;
    value ^= value >> avalancheShift;
    value *= avalancheSecond;
    value ^= value >> avalancheShift;
    return value;
}

} // namespace

void ContentDigest::addWord(std::uint64_t word)
{
    state_ = std::rotl(state_ ^ (word * wordPrime), wordRotation) * statePrime;
}

void ContentDigest::add(std::string_view bytes)
{
    length_ += bytes.size();
    std::size_t at = 0;
    while (pendingBytes_ != 0 && at < bytes.size()) {
        pending_ |= std::uint64_t{static_cast<unsigned char>(bytes[at++])} << (bitsPerByte * pendingBytes_);
        if (++pendingBytes_ == wordBytes) {
            addWord(pending_);
            pending_ = 0;
            pendingBytes_ = 0;
        }
    }
    // Words are read lowest byte first on every machine, so that a record
    // written on one reads the same on another.
    for (; at + wordBytes <= bytes.size(); at += wordBytes) {
        std::uint64_t word = 0;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(&word, bytes.data() + at, wordBytes);
        } else {
            for (unsigned i = 0; i < wordBytes; ++i) {
                word |= std::uint64_t{static_cast<unsigned char>(bytes[at + i])} << (bitsPerByte * i);
            }
        }
        addWord(word);
    }
    for (; at < bytes.size(); ++at) {
        pending_ |= std::uint64_t{static_cast<unsigned char>(bytes[at])} << (bitsPerByte * pendingBytes_++);
    }
}

std::uint64_t ContentDigest::value() const
{
    // The length tells apart inputs whose last word differs only by zero bytes.
    const std::uint64_t state = std::rotl(state_ ^ (pending_ * wordPrime), wordRotation) * statePrime;
    return avalanche(state ^ length_);
}

std::string digestText(std::uint64_t digest)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text(hexDigits, '0');
    for (unsigned i = hexDigits; i-- > 0; digest >>= bitsPerHexDigit) {
        text[i] = digits[digest & 0xF];
    }
    return text;
}

bool parseDigestText(std::string_view text, std::uint64_t& digest)
{
    if (text.size() != hexDigits) {
        return false;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) {
            return false;
        }
        value = value << bitsPerHexDigit | static_cast<unsigned>(digit);
    }
    digest = value;
    return true;
}
