#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The attributes of one start tag, decoded, each key once with the last value
// written for it. A tag has one or two: a short list searched in order beats a
// map, and a list that is cleared and filled again keeps its strings' room, so
// the tags of a whole project cost next to no allocation. All in the header:
// it serves every start tag.
class TagAttributes {
public:
    using Entry = std::pair<std::string, std::string>;

    void clear() { count = 0; }
    // The value's room to fill: that of a key written before, or a new entry.
    std::string& valueFor(std::string_view key)
    {
        for (std::size_t index = 0; index < count; ++index) {
            if (list[index].first == key) {
                return list[index].second;
            }
        }
        if (count == list.size()) {
            list.emplace_back();
        }
        Entry& entry = list[count++];
        entry.first.assign(key);
        return entry.second;
    }
    // The value of the key; nullptr when the tag has none.
    const std::string* find(std::string_view key) const
    {
        for (std::size_t index = 0; index < count; ++index) {
            if (list[index].first == key) {
                return &list[index].second;
            }
        }
        return nullptr;
    }
    // The value without the double quotes around it; "" when it is missing.
    std::string_view unquoted(std::string_view key) const
    {
        const std::string* value = find(key);
        if (value == nullptr) {
            return {};
        }
        std::string_view text = *value;
        // Every quote at either end goes, as trimChar takes them; a loop of
        // its own is cheaper than a search of a character set for each byte.
        while (!text.empty() && text.front() == '"') {
            text.remove_prefix(1);
        }
        while (!text.empty() && text.back() == '"') {
            text.remove_suffix(1);
        }
        return text;
    }
    std::vector<Entry> entries() const { return {list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count)}; }

private:
    std::vector<Entry> list;
    std::size_t count = 0;
};
