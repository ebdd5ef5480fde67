#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A set of texts held in two pieces of memory: the texts one after another,
// and a table of their hashes and places, probed in order. For the sets of
// every path of a project: a node per text would spread them over the memory,
// costing a cache miss at each look-up and a free each at the end.
class TextSet {
public:
    // True when the text was not in the set before.
    bool insert(std::string_view text);
    std::size_t size() const { return count; }

private:
    struct Slot {
        std::size_t hash = 0;
        std::size_t offset = 0;
        std::size_t length = 0;
        bool used = false;
    };

    std::string_view textOf(const Slot& slot) const { return std::string_view(texts).substr(slot.offset, slot.length); }
    Slot& slotFor(std::size_t hash, std::string_view text);
    void grow();

    std::string texts;
    // Never more than half full, and a power of two long, so that a probe
    // is a mask and ends soon.
    std::vector<Slot> slots;
    std::size_t count = 0;
};
