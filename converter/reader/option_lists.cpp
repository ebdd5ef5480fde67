#include "reader/option_lists.h"

#include "base/trim_char.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr char optionSeparator = '|';
// An option laid out by a formatter breaks its lists across lines.
const std::string defineSeparators = std::string(whitespace) + ',';
constexpr std::string_view listSeparators = ";,";
constexpr std::array<std::string_view, 3> definePrefixes{"-D>", "-D", ">"};
constexpr char valueSeparator = '=';
constexpr char valueMark = '>';
constexpr std::string_view defineListFlag = "-D>";
constexpr std::string_view anyDefineFlag = "-D";
constexpr std::string_view processorSpeedProperty = "-D__PROCESSOR_SPEED__=>";
constexpr std::string_view processorSpeedMacro = "__PROCESSOR_SPEED__";
constexpr std::string_view megahertzInHertz = "000000";
constexpr std::string_view cdataOpening = "[CDATA[";
constexpr std::string_view cdataClosing = "]]";

// The next separator at or after `from`, or the end. The standard algorithm
// compares inline, where string_view::find_first_of makes a call per byte.
std::string_view::const_iterator nextSeparator(std::string_view::const_iterator from, std::string_view list,
                                               std::string_view separators)
{
    return std::find_first_of(from, list.end(), separators.begin(), separators.end());
}

// Pieces between any of the separators, empty ones dropped.
std::vector<std::string> cutAt(std::string_view list, std::string_view separators)
{
    std::vector<std::string> pieces;
    for (auto start = list.begin(); start < list.end();) {
        const auto stop = nextSeparator(start, list, separators);
        if (stop > start) {
            pieces.emplace_back(start, stop);
        }
        start = stop == list.end() ? stop : stop + 1;
    }
    return pieces;
}

} // namespace

std::optional<std::string> optionList(const std::string& option, const std::string& flag)
{
    const std::size_t position = option.find(flag);
    if (position == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t start = position + flag.size();
    const std::size_t stop = option.find(optionSeparator, start);
    return option.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
}

std::vector<MacroDefinition> cutDefineList(const std::string& list)
{
    std::vector<MacroDefinition> definitions;
    for (std::string_view piece : cutAt(list, defineSeparators)) {
        const auto prefix = std::find_if(definePrefixes.begin(), definePrefixes.end(),
                                         [&](std::string_view candidate) { return piece.starts_with(candidate); });
        if (prefix != definePrefixes.end()) {
            piece.remove_prefix(prefix->size());
        }
        std::string_view name = piece;
        std::string_view value;
        const std::size_t equals = piece.find(valueSeparator);
        if (equals != std::string_view::npos) {
            name = piece.substr(0, equals);
            value = piece.substr(equals + 1);
            if (value.starts_with(valueMark)) {
                value.remove_prefix(1);
            }
        }
        if (!name.empty()) {
            definitions.push_back({std::string(name), std::string(value), equals != std::string_view::npos});
        }
    }
    return definitions;
}

std::vector<MacroDefinition> optionMacros(const std::string& option)
{
    std::vector<MacroDefinition> macros;
    const std::optional<std::string> speed = optionList(option, std::string(processorSpeedProperty));
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (speed && !speed->empty() && std::all_of(speed->begin(), speed->end(), isDigit)) {
        macros.push_back({std::string(processorSpeedMacro), *speed + std::string(megahertzInHertz), true});
    }
    // The define list is the "-D>" entry; without one, what follows the first
    // "-D" that is not the speed property, which starts with "-D" too.
    std::size_t listStart = option.starts_with(defineListFlag) ? 0 : option.find("|" + std::string(defineListFlag));
    if (listStart == std::string::npos) {
        listStart = option.find(anyDefineFlag);
        while (listStart != std::string::npos && option.compare(listStart, processorSpeedProperty.size(),
                                                                processorSpeedProperty) == 0) {
            listStart = option.find(anyDefineFlag, listStart + processorSpeedProperty.size());
        }
    }
    if (listStart != std::string::npos) {
        const std::size_t flag = option.find(anyDefineFlag, listStart);
        if (const std::optional<std::string> list = optionList(option.substr(flag), std::string(anyDefineFlag))) {
            const std::vector<MacroDefinition> listed = cutDefineList(*list);
            macros.insert(macros.end(), listed.begin(), listed.end());
        }
    }
    return macros;
}

std::vector<std::string> cutIncludeList(const std::string& list)
{
    const std::string_view whole = list;
    const bool listed = nextSeparator(whole.begin(), whole, listSeparators) != whole.end();
    std::vector<std::string> folders;
    for (const std::string& piece : cutAt(list, listed ? listSeparators : whitespace)) {
        std::string folder = trimChar(piece, whitespace);
        if (!folder.empty()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

std::optional<std::string> cdataContent(const std::string& markup)
{
    if (markup.size() < cdataOpening.size() + cdataClosing.size() || !markup.starts_with(cdataOpening) ||
        !markup.ends_with(cdataClosing)) {
        return std::nullopt;
    }
    return markup.substr(cdataOpening.size(), markup.size() - cdataOpening.size() - cdataClosing.size());
}
