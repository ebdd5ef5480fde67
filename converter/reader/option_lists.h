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

// Include folders as written, cut at ";" and "," when the list holds either,
// else at whitespace, line breaks included; whitespace around a folder is
// trimmed and empty pieces dropped.
std::vector<std::string> cutIncludeList(const std::string& list);

// The content of a CDATA section's markup text ("[CDATA[...]]"), or nothing
// for markup of any other kind.
std::optional<std::string> cdataContent(const std::string& markup);
