#include "reader/byte_input.h"

#include "base/line_ends.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

ByteInput::~ByteInput()
{
    close();
}

bool ByteInput::open(const std::string& hostPath)
{
    close();
    file_ = std::fopen(hostPath.c_str(), "rb");
    if (file_ == nullptr) {
        return false;
    }
    buffer_.resize(bufferSize);
    // A folder opens for reading on POSIX systems and only its first read
    // fails; reading ahead here makes it fail where opening fails elsewhere.
    fill();
    if (std::ferror(file_) != 0) {
        close();
        return false;
    }
    return true;
}

void ByteInput::skipPrefix(std::string_view bytes)
{
    if (std::string_view(buffer_.data() + position_, length_ - position_).starts_with(bytes)) {
        position_ += bytes.size();
    }
}

void ByteInput::close()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    file_ = nullptr;
    position_ = 0;
    length_ = 0;
    heldCarriageReturn_ = false;
    readsDone_ = false;
    exhausted_ = false;
    lineFeeds_ = 0;
    counted_ = 0;
}

void ByteInput::release()
{
    close();
    std::vector<char>().swap(buffer_);
}

std::size_t ByteInput::line()
{
    countLinesUpTo(position_);
    return lineFeeds_ + 1;
}

void ByteInput::countLinesUpTo(std::size_t end)
{
    // Counted in blocks of 255 bytes, each into a one-byte count that cannot
    // overflow: a loop the compiler turns into vector code (a library search
    // per line cost a call for each of a file's lines, five times as long).
    constexpr std::size_t blockBytes = 255;
    const char* next = buffer_.data() + counted_;
    const char* const stop = buffer_.data() + end;
    for (; static_cast<std::size_t>(stop - next) >= blockBytes; next += blockBytes) {
        unsigned char inBlock = 0;
        for (std::size_t i = 0; i < blockBytes; ++i) {
            inBlock += next[i] == '\n' ? 1 : 0;
        }
        lineFeeds_ += inBlock;
    }
    lineFeeds_ += static_cast<std::size_t>(std::count(next, stop, '\n'));
    counted_ = end;
}

bool ByteInput::appendUntil(std::string_view delimiters, std::string& out, std::size_t maxSize)
{
    while (out.size() <= maxSize && available()) {
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + length_;
        const char* found = delimiters.size() == 1
                                ? static_cast<const char*>(std::memchr(begin, delimiters[0], end - begin))
                                : std::find_first_of(begin, end, delimiters.begin(), delimiters.end());
        if (found == nullptr) {
            found = end;
        }
        out.append(begin, found);
        position_ += found - begin;
        if (found != end) {
            return true;
        }
    }
    return false;
}

bool ByteInput::fill()
{
    countLinesUpTo(length_);
    counted_ = 0;
    while (file_ != nullptr && !readsDone_) {
        std::size_t start = 0;
        if (heldCarriageReturn_) {
            buffer_[0] = '\r';
            start = 1;
        }
        const std::size_t wanted = buffer_.size() - start;
        const std::size_t count = std::fread(buffer_.data() + start, 1, wanted, file_);
        // A short read means the end of the file or a failed read: either way
        // nothing more comes, and asking again could block or repeat the error.
        readsDone_ = count < wanted;
        heldCarriageReturn_ = false;
        takeChunk(start + count);
        if (length_ > 0) {
            return true;
        }
    }
    return false;
}

void ByteInput::takeChunk(std::size_t count)
{
    position_ = 0;
    length_ = foldLineEnds(buffer_.data(), count);
    // A carriage return that ends the chunk is also the last byte kept.
    if (count > 0 && buffer_[count - 1] == '\r' && !readsDone_) {
        --length_;
        heldCarriageReturn_ = true;
    }
}
