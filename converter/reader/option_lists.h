#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Cutting of the define and include lists out of a compiler option text.

// The text after the first `flag` in the option, up to the next "|" or the
// end; nothing when the option does not hold the flag.
std::optional<std::string> optionList(const std::string& option, const std::string& flag);

struct MacroDefinition {
    std::string name;
    std::string value;
    // "A=" defines A as nothing, where "A" defines it as 1.
    bool valueGiven = false;
};

// Macro definitions, written "-D>A,B=1 -DC" and the like, parted by commas and
// whitespace, line breaks included; pieces without a name are dropped.
std::vector<MacroDefinition> cutDefineList(const std::string& list);

// The macros a compiler option text defines: its define list (the "-D>"
// entry; in a text without one, what follows the first "-D"), after the
// processor speed that the IDE's property "-D__PROCESSOR_SPEED__=>600" gives
// in MHz and the compiler gets in Hz, as the IDE's own build passes it.
std::vector<MacroDefinition> optionMacros(const std::string& option);

// Include folders as written, cut at ";" and "," when the list holds either,
// else at whitespace, line breaks included; whitespace around a folder is
// trimmed and empty pieces dropped.
std::vector<std::string> cutIncludeList(const std::string& list);

// The content of a CDATA section's markup text ("[CDATA[...]]"), or nothing
// for markup of any other kind.
std::optional<std::string> cdataContent(const std::string& markup);
