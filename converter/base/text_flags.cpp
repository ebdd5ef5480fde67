#include "base/text_flags.h"

namespace {

constexpr std::size_t firstSlots = 64;

} // namespace

TextFlags::Flags& TextFlags::of(std::string_view text, std::size_t hash)
{
    if (2 * (count + 1) > slots.size()) {
        grow();
    }
    const std::size_t mask = slots.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        Slot& slot = slots[index];
        if (slot.offset == unused) {
            // Names and paths come from tokens, which are far shorter than
            // the length field holds.
            slot = {hash, texts.size(), static_cast<std::uint32_t>(text.size()), 0};
            texts.append(text);
            ++count;
            return slot.flags;
        }
        if (slot.hash == hash && std::string_view(texts).substr(slot.offset, slot.length) == text) {
            return slot.flags;
        }
    }
}

void TextFlags::grow()
{
    std::vector<Slot> old(slots.empty() ? firstSlots : 2 * slots.size(), Slot{0, unused, 0, 0});
    old.swap(slots);
    const std::size_t mask = slots.size() - 1;
    for (const Slot& moved : old) {
        if (moved.offset == unused) {
            continue;
        }
        std::size_t index = moved.hash & mask;
        while (slots[index].offset != unused) {
            index = (index + 1) & mask;
        }
        slots[index] = moved;
    }
}
