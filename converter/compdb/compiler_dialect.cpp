#include "compdb/compiler_dialect.h"

#include <algorithm>
#include <array>

namespace {

constexpr char optionSeparator = '|';
constexpr char valueMark = '>';
constexpr std::string_view switchOn = "1";
// Its value holds options as typed on a command line, blank separated.
constexpr std::string_view typedOptions = "AdditionalOptions";
constexpr std::string_view blanks = " \t";

// These names are keywords of the dialect (unless -no-extra-keywords), so no
// user code names anything else with them and a macro of that name changes
// nothing else. extern "asm" is no name and no macro can map it.
struct DialectKeyword {
    std::string_view definition;
    std::array<bool, 4> inFamily; // blackfin, sharc, tigerSharc, adsp219x
};

constexpr auto dialectKeywords = std::to_array<DialectKeyword>({
    // Memory qualifiers: which of the two data buses an object lives on.
    {"-Dpm=", {false, true, false, true}},
    {"-Ddm=", {false, true, false, true}},
    // Placement in a linker section.
    {"-Dsection(name)=", {true, true, true, true}},
    // Fixed-point types and saturation: stored as an integer of their size,
    // which keeps "long", "short" and "unsigned" before them valid.
    {"-D_Fract=int", {true, true, false, false}},
    {"-D_Accum=int", {true, true, false, false}},
    {"-D_Sat=", {true, true, false, false}},
});

// Options whose effect on predefined macros the compiler manuals state.
struct MacroOption {
    std::string_view option;
    std::string_view definition;
};

constexpr auto macroOptions = std::to_array<MacroOption>({
    {"-threads", "-D_ADI_THREADS=1"},
    {"-double-size-32", "-D__DOUBLES_ARE_FLOATS__=1"},
});

constexpr auto languageOptions = std::to_array<std::string_view>({
    "-enum-is-int",
    "-const-read-write",
    "-const-strings",
    "-no-extra-keywords",
    "-double-size-any",
});

std::size_t familyIndex(ProcessorFamily family)
{
    return static_cast<std::size_t>(family);
}

// A switch is set by "|name>1", or by its name among the typed options.
bool optionSet(std::string_view text, std::string_view option)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t stop = std::min(text.find(optionSeparator, start), text.size());
        const std::string_view piece = text.substr(start, stop - start);
        start = stop + 1;
        const std::size_t mark = piece.find(valueMark);
        const std::string_view name = piece.substr(0, mark);
        const std::string_view value = mark == std::string_view::npos ? std::string_view() : piece.substr(mark + 1);
        if (name == option && value == switchOn) {
            return true;
        }
        if (name != typedOptions) {
            continue;
        }
        for (std::size_t word = value.find_first_not_of(blanks); word != std::string_view::npos;) {
            const std::size_t end = std::min(value.find_first_of(blanks, word), value.size());
            if (value.substr(word, end - word) == option) {
                return true;
            }
            word = value.find_first_not_of(blanks, end);
        }
    }
    return false;
}

} // namespace

std::vector<std::string> dialectDefinitions(ProcessorFamily family)
{
    std::vector<std::string> definitions;
    for (const DialectKeyword& keyword : dialectKeywords) {
        if (keyword.inFamily[familyIndex(family)]) {
            definitions.emplace_back(keyword.definition);
        }
    }
    return definitions;
}

std::vector<std::string> optionMacroDefinitions(std::string_view compilerOption)
{
    std::vector<std::string> definitions;
    for (const MacroOption& carried : macroOptions) {
        if (optionSet(compilerOption, carried.option)) {
            definitions.emplace_back(carried.definition);
        }
    }
    return definitions;
}

std::vector<std::string> languageOptionsNotCarried(std::string_view compilerOption)
{
    std::vector<std::string> options;
    for (std::string_view option : languageOptions) {
        if (optionSet(compilerOption, option)) {
            options.emplace_back(option);
        }
    }
    return options;
}
