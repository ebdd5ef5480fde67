#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the VisualDSP compilers know of a target processor: its family, the
// family's compiler, and the macros they predefine for it.

enum class ProcessorFamily { blackfin, sharc, tigerSharc, adsp219x };

// The family a processor name ("ADSP-BF533") belongs to, by its prefix.
std::optional<ProcessorFamily> processorFamily(std::string_view processor);

// The compiler program of the family ("ccblkfn").
std::string_view familyCompiler(ProcessorFamily family);

// The assembler program of the family ("easmblkfn").
std::string_view familyAssembler(ProcessorFamily family);

// The family's include folder below the installation folder ("Blackfin\include").
std::string_view familyIncludeFolder(ProcessorFamily family);

// Whether the table knows the processor's macros beyond its processor macro.
bool knowsProcessor(std::string_view processor);

// Every macro the compiler predefines for the processor, name and value: its
// processor macro, its group and family macros and __ANALOG_EXTENSIONS__. A
// processor missing from the table gets its processor macro alone.
std::vector<std::pair<std::string, std::string>> builtInMacros(std::string_view processor);

// Every macro the assembler predefines for the processor: the compiler's but
// __ANALOG_EXTENSIONS__, and _LANGUAGE_ASM.
std::vector<std::pair<std::string, std::string>> assemblerMacros(std::string_view processor);
