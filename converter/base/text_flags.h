#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A few flags for each of a growing number of texts, held in two pieces of
// memory: the texts one after another, and a table of their hashes, places and
// flags, probed in order. For the paths of a whole project: a node per text
// would spread them over the memory, costing a cache miss at each look-up and
// a free each at the end.
class TextFlags {
public:
    using Flags = std::uint32_t;

    // The flags of the text, all clear for a text not seen before. Valid until
    // the next call.
    Flags& of(std::string_view text) { return of(text, hashOf(text)); }
    Flags& of(std::string_view text, std::size_t hash);

    static std::size_t hashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }
    // Starts fetching the slot where the text of this hash is looked up
    // first: a table of a whole project's paths is far larger than the cache,
    // and each look-up would wait for memory otherwise.
    void expect(std::size_t hash) const
    {
        if (!slots.empty()) {
            __builtin_prefetch(&slots[hash & (slots.size() - 1)]);
        }
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::size_t offset = 0;
        std::uint32_t length = 0;
        Flags flags = 0;
    };
    static constexpr std::size_t unused = ~std::size_t{0};

    void grow();

    std::string texts;
    // Never more than half full, and a power of two long, so that a probe
    // is a mask and ends soon. A slot whose offset is `unused` is free.
    std::vector<Slot> slots;
    std::size_t count = 0;
};
