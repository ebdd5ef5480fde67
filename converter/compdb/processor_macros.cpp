// Names and values as the VisualDSP compiler manuals list them; every macro is
// defined as 1.
#include "compdb/processor_macros.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

constexpr std::string_view definedValue = "1";
constexpr std::string_view analogExtensions = "__ANALOG_EXTENSIONS__";
// The assembler's own: sources shared with C test it to leave C out.
constexpr std::string_view assemblyLanguage = "_LANGUAGE_ASM";

struct FamilyDescription {
    ProcessorFamily family;
    // Predefined for every processor of the family.
    std::string_view macro;
    std::string_view compiler;
    std::string_view assembler;
    std::string_view includeFolder;
};

constexpr std::array<FamilyDescription, 4> families{{
    {ProcessorFamily::blackfin, "__ADSPBLACKFIN__", "ccblkfn", "easmblkfn", "Blackfin\\include"},
    {ProcessorFamily::sharc, "__ADSP21000__", "cc21k", "easm21k", "21k\\include"},
    {ProcessorFamily::tigerSharc, "__ADSPTS__", "ccts", "easmts", "TS\\include"},
    {ProcessorFamily::adsp219x, "__ADSP219X__", "cc219x", "easm219x", "219x\\include"},
}};

// How processor names of each family begin. ADSP-218x and other older parts
// share the "ADSP-21" start with SHARC but belong to no family here.
struct FamilyPrefix {
    std::string_view prefix;
    ProcessorFamily family;
};

constexpr std::array<FamilyPrefix, 8> familyPrefixes{{
    {"ADSP-BF", ProcessorFamily::blackfin},
    {"ADSP-TS", ProcessorFamily::tigerSharc},
    {"ADSP-219", ProcessorFamily::adsp219x},
    {"ADSP-210", ProcessorFamily::sharc},
    {"ADSP-211", ProcessorFamily::sharc},
    {"ADSP-212", ProcessorFamily::sharc},
    {"ADSP-213", ProcessorFamily::sharc},
    {"ADSP-214", ProcessorFamily::sharc},
}};

constexpr std::size_t maxGroupMacros = 2;

// A processor the table knows, with the macros of the groups it belongs to
// beyond those of its whole family.
struct KnownProcessor {
    std::string_view name;
    std::array<std::string_view, maxGroupMacros> groupMacros;
};

constexpr std::string_view bf51x = "__ADSPBF51x__";
constexpr std::string_view bf52x = "__ADSPBF52x__";
constexpr std::string_view bf53x = "__ADSPBF53x__";
constexpr std::string_view bf54x = "__ADSPBF54x__";
constexpr std::string_view bf56x = "__ADSPBF56x__";
constexpr std::string_view lowPowerBlackfin = "__ADSPLPBLACKFIN__";
constexpr std::string_view sharc2106x = "__2106x__";
constexpr std::string_view sharc2116x = "__2116x__";
constexpr std::string_view sharc2126x = "__2126x__";
constexpr std::string_view sharc2136x = "__2136x__";
constexpr std::string_view sharc2137x = "__2137x__";
constexpr std::string_view sharc214xx = "__214xx__";
constexpr std::string_view sharc2146x = "__ADSP2146x__";
constexpr std::string_view sharc2147x = "__ADSP2147x__";
constexpr std::string_view sharc2148x = "__ADSP2148x__";
constexpr std::string_view ts20x = "__ADSPTS20x__";

constexpr auto knownProcessors = std::to_array<KnownProcessor>({
    {"ADSP-BF512", {bf51x, lowPowerBlackfin}},
    {"ADSP-BF514", {bf51x, lowPowerBlackfin}},
    {"ADSP-BF516", {bf51x, lowPowerBlackfin}},
    {"ADSP-BF518", {bf51x, lowPowerBlackfin}},
    {"ADSP-BF522", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF523", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF524", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF525", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF526", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF527", {bf52x, lowPowerBlackfin}},
    {"ADSP-BF531", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF532", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF533", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF534", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF536", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF537", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF538", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF539", {bf53x, lowPowerBlackfin}},
    {"ADSP-BF542", {bf54x, lowPowerBlackfin}},
    {"ADSP-BF544", {bf54x, lowPowerBlackfin}},
    {"ADSP-BF547", {bf54x, lowPowerBlackfin}},
    {"ADSP-BF548", {bf54x, lowPowerBlackfin}},
    {"ADSP-BF549", {bf54x, lowPowerBlackfin}},
    {"ADSP-BF561", {bf56x, lowPowerBlackfin}},
    {"ADSP-21060", {sharc2106x}},
    {"ADSP-21061", {sharc2106x}},
    {"ADSP-21062", {sharc2106x}},
    {"ADSP-21065L", {sharc2106x}},
    {"ADSP-21160", {sharc2116x}},
    {"ADSP-21161", {sharc2116x}},
    {"ADSP-21261", {sharc2126x}},
    {"ADSP-21262", {sharc2126x}},
    {"ADSP-21266", {sharc2126x}},
    {"ADSP-21267", {sharc2126x}},
    {"ADSP-21362", {sharc2136x}},
    {"ADSP-21363", {sharc2136x}},
    {"ADSP-21364", {sharc2136x}},
    {"ADSP-21365", {sharc2136x}},
    {"ADSP-21366", {sharc2136x}},
    {"ADSP-21367", {sharc2136x}},
    {"ADSP-21368", {sharc2136x}},
    {"ADSP-21369", {sharc2136x}},
    {"ADSP-21371", {sharc2137x}},
    {"ADSP-21375", {sharc2137x}},
    {"ADSP-21462", {sharc214xx, sharc2146x}},
    {"ADSP-21465", {sharc214xx, sharc2146x}},
    {"ADSP-21467", {sharc214xx, sharc2146x}},
    {"ADSP-21469", {sharc214xx, sharc2146x}},
    {"ADSP-21477", {sharc214xx, sharc2147x}},
    {"ADSP-21478", {sharc214xx, sharc2147x}},
    {"ADSP-21479", {sharc214xx, sharc2147x}},
    {"ADSP-21483", {sharc214xx, sharc2148x}},
    {"ADSP-21486", {sharc214xx, sharc2148x}},
    {"ADSP-21487", {sharc214xx, sharc2148x}},
    {"ADSP-21488", {sharc214xx, sharc2148x}},
    {"ADSP-21489", {sharc214xx, sharc2148x}},
    {"ADSP-TS101", {}},
    {"ADSP-TS201", {ts20x}},
    {"ADSP-TS202", {ts20x}},
    {"ADSP-TS203", {ts20x}},
    {"ADSP-2191", {}},
    {"ADSP-2195", {}},
    {"ADSP-2196", {}},
});

const FamilyDescription& describe(ProcessorFamily family)
{
    return *std::find_if(families.begin(), families.end(),
                         [&](const FamilyDescription& description) { return description.family == family; });
}

// The name without its dashes: ADSP-BF533 gives __ADSPBF533__.
std::string processorMacro(std::string_view processor)
{
    std::string macro = "__";
    std::copy_if(processor.begin(), processor.end(), std::back_inserter(macro), [](char c) { return c != '-'; });
    return macro + "__";
}

} // namespace

std::optional<ProcessorFamily> processorFamily(std::string_view processor)
{
    const auto found = std::find_if(familyPrefixes.begin(), familyPrefixes.end(),
                                    [&](const FamilyPrefix& start) { return processor.starts_with(start.prefix); });
    return found == familyPrefixes.end() ? std::nullopt : std::optional<ProcessorFamily>(found->family);
}

std::string_view familyCompiler(ProcessorFamily family)
{
    return describe(family).compiler;
}

std::string_view familyAssembler(ProcessorFamily family)
{
    return describe(family).assembler;
}

std::string_view familyIncludeFolder(ProcessorFamily family)
{
    return describe(family).includeFolder;
}

const KnownProcessor* findProcessor(std::string_view processor)
{
    const auto known = std::find_if(knownProcessors.begin(), knownProcessors.end(),
                                    [&](const KnownProcessor& entry) { return entry.name == processor; });
    return known == knownProcessors.end() ? nullptr : &*known;
}

bool knowsProcessor(std::string_view processor)
{
    return findProcessor(processor) != nullptr;
}

std::vector<std::pair<std::string, std::string>> builtInMacros(std::string_view processor)
{
    std::vector<std::pair<std::string, std::string>> macros{{processorMacro(processor), std::string(definedValue)}};
    const KnownProcessor* known = findProcessor(processor);
    if (known == nullptr) {
        return macros;
    }
    for (std::string_view group : known->groupMacros) {
        if (!group.empty()) {
            macros.emplace_back(group, definedValue);
        }
    }
    macros.emplace_back(describe(*processorFamily(processor)).macro, definedValue);
    macros.emplace_back(analogExtensions, definedValue);
    return macros;
}

std::vector<std::pair<std::string, std::string>> assemblerMacros(std::string_view processor)
{
    std::vector<std::pair<std::string, std::string>> macros = builtInMacros(processor);
    std::erase_if(macros, [](const auto& macro) { return macro.first == analogExtensions; });
    macros.emplace_back(assemblyLanguage, definedValue);
    return macros;
}
