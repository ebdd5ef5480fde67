#include "compdb/compiler_dialect.h"
#include "compdb/json_text.h"
#include "compdb/processor_macros.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace std::string_literals;

TEST(JsonString, EscapesAndTakesBytesThatAreNotUtf8AsLatin1)
{
    EXPECT_EQ(jsonString(R"(C:\a "b")"), R"("C:\\a \"b\"")");
    EXPECT_EQ(jsonString("tab\tnul"s + '\0' + "\x1f\x7f"), R"("tab\u0009nul\u0000\u001f)"s + "\x7f\"");
    // A valid sequence stays; a lone é, a cut sequence, an overlong form and
    // a surrogate are each read byte by byte.
    EXPECT_EQ(jsonString("\xc3\xa9 \xf0\x9f\x8e\xb5"), "\"\xc3\xa9 \xf0\x9f\x8e\xb5\"");
    EXPECT_EQ(jsonString("caf\xe9"), "\"caf\xc3\xa9\"");
    EXPECT_EQ(jsonString("\xe2\x82"), "\"\xc3\xa2\xc2\x82\"");
    EXPECT_EQ(jsonString("\xc0\xaf"), "\"\xc3\x80\xc2\xaf\"");
    EXPECT_EQ(jsonString("\xed\xa0\x80"), "\"\xc3\xad\xc2\xa0\xc2\x80\"");
    EXPECT_EQ(jsonString("\xf4\x90\x80\x80"), "\"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80\"");
}

using Macros = std::vector<std::pair<std::string, std::string>>;

TEST(ProcessorMacros, FamilyCompilerAndBuiltInMacrosOfEachFamily)
{
    EXPECT_EQ(processorFamily("ADSP-BF533"), ProcessorFamily::blackfin);
    EXPECT_EQ(processorFamily("ADSP-21489"), ProcessorFamily::sharc);
    EXPECT_EQ(processorFamily("ADSP-2191"), ProcessorFamily::adsp219x);
    EXPECT_EQ(processorFamily("ADSP-TS101"), ProcessorFamily::tigerSharc);
    EXPECT_EQ(processorFamily("ADSP-2181"), std::nullopt);
    EXPECT_EQ(familyCompiler(ProcessorFamily::sharc), "cc21k");
    EXPECT_EQ(familyIncludeFolder(ProcessorFamily::blackfin), "Blackfin\\include");

    EXPECT_EQ(builtInMacros("ADSP-BF561"), (Macros{{"__ADSPBF561__", "1"},
                                                   {"__ADSPBF56x__", "1"},
                                                   {"__ADSPLPBLACKFIN__", "1"},
                                                   {"__ADSPBLACKFIN__", "1"},
                                                   {"__ANALOG_EXTENSIONS__", "1"}}));
    EXPECT_EQ(builtInMacros("ADSP-21489"), (Macros{{"__ADSP21489__", "1"},
                                                   {"__214xx__", "1"},
                                                   {"__ADSP2148x__", "1"},
                                                   {"__ADSP21000__", "1"},
                                                   {"__ANALOG_EXTENSIONS__", "1"}}));
    EXPECT_EQ(builtInMacros("ADSP-TS101"),
              (Macros{{"__ADSPTS101__", "1"}, {"__ADSPTS__", "1"}, {"__ANALOG_EXTENSIONS__", "1"}}));
    EXPECT_EQ(builtInMacros("ADSP-2191"),
              (Macros{{"__ADSP2191__", "1"}, {"__ADSP219X__", "1"}, {"__ANALOG_EXTENSIONS__", "1"}}));
    // Unknown to the table, whatever its family: the processor macro alone.
    EXPECT_EQ(builtInMacros("ADSP-BF609"), (Macros{{"__ADSPBF609__", "1"}}));
    EXPECT_FALSE(knowsProcessor("ADSP-BF609"));
    EXPECT_TRUE(knowsProcessor("ADSP-2191"));
}

using Words = std::vector<std::string>;

TEST(CompilerDialect, OptionsAreSetBySwitchOrAmongTheTypedOptions)
{
    EXPECT_EQ(optionMacroDefinitions("|-O>1|AdditionalOptions>-Os -threads"), Words{"-D_ADI_THREADS=1"});
    EXPECT_EQ(optionMacroDefinitions("|-threads>1|-double-size-32>1"),
              (Words{"-D_ADI_THREADS=1", "-D__DOUBLES_ARE_FLOATS__=1"}));
    // Off, a longer name, or a typed option's value: not set.
    EXPECT_EQ(optionMacroDefinitions("|-threads>0|AdditionalOptions>-threadsafe -D-threads"), Words{});
    EXPECT_EQ(languageOptionsNotCarried("|-enum-is-int>1|-const-strings>0|AdditionalOptions>-no-extra-keywords"),
              (Words{"-enum-is-int", "-no-extra-keywords"}));
}

TEST(CompilerDialect, KeywordsAreMappedForTheirFamiliesOnly)
{
    const Words sharc = dialectDefinitions(ProcessorFamily::sharc);
    const Words blackfin = dialectDefinitions(ProcessorFamily::blackfin);
    EXPECT_EQ(std::count(sharc.begin(), sharc.end(), "-Dpm="), 1);
    EXPECT_EQ(std::count(blackfin.begin(), blackfin.end(), "-Dpm="), 0);
    EXPECT_EQ(std::count(blackfin.begin(), blackfin.end(), "-D_Fract=int"), 1);
    EXPECT_EQ(dialectDefinitions(ProcessorFamily::tigerSharc), Words{"-Dsection(name)="});
    EXPECT_EQ(familyAssembler(ProcessorFamily::adsp219x), "easm219x");
    EXPECT_EQ(assemblerMacros("ADSP-TS101"),
              (Macros{{"__ADSPTS101__", "1"}, {"__ADSPTS__", "1"}, {"_LANGUAGE_ASM", "1"}}));
}
