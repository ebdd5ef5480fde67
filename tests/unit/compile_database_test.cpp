#include "compdb/json_text.h"
#include "compdb/processor_macros.h"

#include <gtest/gtest.h>

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
