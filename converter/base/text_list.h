#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Texts kept one after another in blocks of memory that never move, each
// handed out as a view that stays valid as long as the list. The groups of a
// large project hold hundreds of thousands of source paths: as strings of
// their own they would cost an allocation each, half as much memory again,
// and a free each at the end.
class TextList {
public:
    using Iterator = std::vector<std::string_view>::const_iterator;

    void push_back(std::string_view text)
    {
        if (blocks.empty() || room < text.size()) {
            // A short list takes little memory; a long one, few blocks.
            blockBytes = std::min(maxBlockBytes, std::max(firstBlockBytes, 2 * blockBytes));
            room = std::max(blockBytes, text.size());
            blocks.push_back(std::make_unique_for_overwrite<char[]>(room));
            next = blocks.back().get();
        }
        char* const at = next;
        next = std::copy(text.begin(), text.end(), at);
        room -= text.size();
        views.emplace_back(at, text.size());
    }
    bool empty() const { return views.empty(); }
    Iterator begin() const { return views.begin(); }
    Iterator end() const { return views.end(); }

private:
    static constexpr std::size_t firstBlockBytes = 256;
    static constexpr std::size_t maxBlockBytes = 64 * 1024;

    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t blockBytes = 0;
    // The free part of the last block.
    char* next = nullptr;
    std::size_t room = 0;
    std::vector<std::string_view> views;
};
