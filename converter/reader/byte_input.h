#pragma once

#include "base/byte_words.h"
#include "base/io_sizes.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// A file read as bytes through a buffer, with each carriage return and line
// feed pair handed out as one line feed, as Windows text mode does, so that a
// project file reads the same on every system.
// The whitespace of a project file's tokens: space, tab, LF, VT, FF and CR.
constexpr bool isXmlWhitespace(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

class ByteInput {
public:
    static constexpr int end = -1;
    static constexpr std::size_t bufferSize = readChunkSize;

    ByteInput() = default;
    ~ByteInput();
    ByteInput(const ByteInput&) = delete;
    ByteInput& operator=(const ByteInput&) = delete;

    // Closes any file open before. False when the file cannot be opened or its
    // first read fails (a folder opens on some systems and fails there).
    bool open(const std::string& hostPath);
    void close();
    // Closes the file and frees the buffer as well.
    void release();
    // Reads over `bytes` when the buffered input begins with them; right after
    // `open`, that is the start of the file.
    void skipPrefix(std::string_view bytes);

    // The next byte, or `end` once the file is used up or a read failed; a
    // byte asked for past that point marks the input as no longer good.
    int get()
    {
        if (!available()) {
            return end;
        }
        return static_cast<unsigned char>(buffer_[position_++]);
    }
    // The next byte that is not whitespace (space, tab, LF, VT, FF, CR), with
    // the whitespace before it read over; `end` as `get` gives it. In the
    // header: it runs before every token.
    int getNonWhitespace()
    {
        while (available()) {
            // The indentation between tags is most of a project file's bytes, and
            // the IDE indents with tabs: past the line end, runs of them are passed
            // eight at a time.
            const char* next = buffer_.data() + position_;
            const char* const last = buffer_.data() + length_;
            if (next != last && *next == '\n') {
                ++next;
            }
            constexpr std::uint64_t eightTabs = 0x0909090909090909;
            while (last - next >= 8) {
                const std::uint64_t notTabs = byte_words::load(next) ^ eightTabs;
                if (notTabs == 0) {
                    next += 8;
                    continue;
                }
                // The tabs before the first other byte are passed at once as well.
                if constexpr (byte_words::wordScans) {
                    next += static_cast<std::size_t>(std::countr_zero(notTabs)) / 8;
                }
                break;
            }
            const char* found = std::find_if_not(next, last, [](char c) { return isXmlWhitespace(c); });
            position_ = static_cast<std::size_t>(found - buffer_.data());
            if (found != last) {
                ++position_;
                return static_cast<unsigned char>(*found);
            }
        }
        return end;
    }
    int peek()
    {
        if (!available()) {
            return end;
        }
        return static_cast<unsigned char>(buffer_[position_]);
    }

    // Appends the bytes before the next byte that is one of `delimiters` to
    // `out` and leaves that byte unread. False when the input ended first, or
    // when `out` grew beyond `maxSize` (by less than a buffer) first.
    bool appendUntil(std::string_view delimiters, std::string& out, std::size_t maxSize);
    // The bytes up to the next `delimiter`, which stays unread, as a view into
    // the buffer, beginning with the byte just read when `withLastByte`; valid
    // until the next byte is asked for. A view without data (not an optional,
    // which would come back through memory on every token), and nothing read,
    // when the delimiter is not among the buffered bytes.
    // In the header: it runs for every token.
    std::string_view viewUntil(char delimiter, bool withLastByte)
    {
        // The byte just read is always the one before the read position: a
        // refill puts the next byte at the buffer's start.
        const char* const from = buffer_.data() + position_;
        const char* const begin = from - (withLastByte ? 1 : 0);
        const void* found = std::memchr(from, delimiter, length_ - position_);
        if (found == nullptr) {
            return {};
        }
        const char* const stop = static_cast<const char*>(found);
        position_ = static_cast<std::size_t>(stop - buffer_.data());
        return std::string_view(begin, static_cast<std::size_t>(stop - begin));
    }

    // True while the input is open and no byte has been asked for past its end
    // or past a failed read.
    bool good() const { return file_ != nullptr && !exhausted_; }

    // The number, from 1, of the line that the next byte is on.
    std::size_t line();

private:
    bool available()
    {
        if (position_ < length_ || fill()) {
            return true;
        }
        exhausted_ = true;
        return false;
    }
    bool fill();
    // Makes the `count` bytes just read the unread ones, line ends folded.
    void takeChunk(std::size_t count);
    void countLinesUpTo(std::size_t end);

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    // A carriage return that ended the last read: whether it is folded depends
    // on the next byte of the file.
    bool heldCarriageReturn_ = false;
    // The last read came back short: the file ended or the read failed.
    bool readsDone_ = false;
    bool exhausted_ = false;
    // Line feeds before `counted_` in the file; bytes of the buffer are
    // counted when a line is asked for or before the buffer is refilled, so
    // each byte is looked at once whoever asks how often.
    std::size_t lineFeeds_ = 0;
    std::size_t counted_ = 0;
};
