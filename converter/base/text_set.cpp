#include "base/text_set.h"

#include <functional>

namespace {

constexpr std::size_t firstSlots = 64;

} // namespace

bool TextSet::insert(std::string_view text)
{
    if (2 * (count + 1) > slots.size()) {
        grow();
    }
    const std::size_t hash = std::hash<std::string_view>{}(text);
    Slot& slot = slotFor(hash, text);
    if (slot.used) {
        return false;
    }
    slot = {hash, texts.size(), text.size(), true};
    texts.append(text);
    ++count;
    return true;
}

// The slot that holds the text, else the free one where it belongs.
TextSet::Slot& TextSet::slotFor(std::size_t hash, std::string_view text)
{
    const std::size_t mask = slots.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        Slot& slot = slots[index];
        if (!slot.used || (slot.hash == hash && textOf(slot) == text)) {
            return slot;
        }
    }
}

void TextSet::grow()
{
    std::vector<Slot> old(slots.empty() ? firstSlots : 2 * slots.size());
    old.swap(slots);
    const std::size_t mask = slots.size() - 1;
    for (const Slot& moved : old) {
        if (!moved.used) {
            continue;
        }
        std::size_t index = moved.hash & mask;
        while (slots[index].used) {
            index = (index + 1) & mask;
        }
        slots[index] = moved;
    }
}
