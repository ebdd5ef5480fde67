#include "reader/tag_attributes.h"

std::string& TagAttributes::valueFor(std::string_view key)
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

const std::string* TagAttributes::find(std::string_view key) const
{
    for (std::size_t index = 0; index < count; ++index) {
        if (list[index].first == key) {
            return &list[index].second;
        }
    }
    return nullptr;
}

std::string_view TagAttributes::unquoted(std::string_view key) const
{
    const std::string* value = find(key);
    if (value == nullptr) {
        return {};
    }
    std::string_view text = *value;
    // Every quote at either end goes, as trimChar takes them; a loop of its
    // own is cheaper than a search of a character set for each byte.
    while (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == '"') {
        text.remove_suffix(1);
    }
    return text;
}
