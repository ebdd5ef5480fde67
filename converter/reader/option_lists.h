#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Cutting of the define and include lists out of a compiler option text.

// The text after the first `flag` in the option, up to the next "|" or the
// end; nothing when the option does not hold the flag.
std::optional<std::string> optionList(const std::string& option, const std::string& flag);

// Macro definitions, written "-D>A,B=1 -DC" and the like, as name and value;
// pieces without a name are dropped.
std::vector<std::pair<std::string, std::string>> cutDefineList(const std::string& list);

// Include folders as written, cut at ";" and "," when the list holds either,
// else at blanks; blanks around a folder are trimmed and empty pieces dropped.
std::vector<std::string> cutIncludeList(const std::string& list);

// The content of a CDATA section's markup text ("[CDATA[...]]"), or nothing
// for markup of any other kind.
std::optional<std::string> cdataContent(const std::string& markup);
