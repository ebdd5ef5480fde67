#pragma once

#include "compdb/processor_macros.h"

#include <string>
#include <string_view>
#include <vector>

// What the compilation databases make of the VisualDSP C dialect and of the
// compiler options that change what a source means.

// "-D" arguments that map the family's keywords which clang cannot parse to
// nothing or to the nearest standard construct.
std::vector<std::string> dialectDefinitions(ProcessorFamily family);

// "-D" arguments for the macros that the compiler defines when the tool
// option text (as the project writes it) sets an option ("-threads").
std::vector<std::string> optionMacroDefinitions(std::string_view compilerOption);

// The options set in the text that change the language and that the
// databases do not carry, as "-enum-is-int".
std::vector<std::string> languageOptionsNotCarried(std::string_view compilerOption);
