#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// Texts kept one after another in one piece of memory, each handed out as a
// view. The groups of a large project hold hundreds of thousands of source
// paths: as strings of their own they would cost an allocation each, half as
// much memory again, and a free each at the end.
class TextList {
public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        Iterator() = default;
        Iterator(const TextList* list, std::size_t index) : list(list), index(index) {}
        std::string_view operator*() const { return (*list)[index]; }
        Iterator& operator++()
        {
            ++index;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator before = *this;
            ++index;
            return before;
        }
        bool operator==(const Iterator& other) const { return index == other.index; }

    private:
        const TextList* list = nullptr;
        std::size_t index = 0;
    };

    void push_back(std::string_view text)
    {
        texts.append(text);
        ends.push_back(texts.size());
    }
    std::size_t size() const { return ends.size(); }
    bool empty() const { return ends.empty(); }
    std::string_view operator[](std::size_t index) const
    {
        const std::size_t begin = index == 0 ? 0 : ends[index - 1];
        return {texts.data() + begin, ends[index] - begin};
    }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

private:
    std::string texts;
    // Where each text ends in `texts`.
    std::vector<std::size_t> ends;
};
