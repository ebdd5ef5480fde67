#pragma once

#include <string_view>

// The IDE's words for its tools and their options, as project files write
// them: the reader takes them in, the compilation databases and the report
// read them back.
inline constexpr std::string_view compilerToolType = "Compiler";
inline constexpr std::string_view assemblerToolType = "Assembler";
// The compiler option that carries include folders; the macros are
// optionMacros' (reader/option_lists.h).
inline constexpr std::string_view includeFlag = "-I>";
