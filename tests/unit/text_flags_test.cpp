#include "base/text_flags.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Flags set before the table grew, many times over, stay with their texts;
// texts that differ only in length, or are empty, are told apart.
TEST(TextFlags, KeepEachTextsFlagsAsTheTableGrows)
{
    TextFlags flags;
    const auto text = [](int i) { return std::string(static_cast<std::size_t>(i % 7), 'x') + std::to_string(i); };
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(flags.of(text(i)), 0u) << i;
        flags.of(text(i)) = static_cast<TextFlags::Flags>(i);
    }
    EXPECT_EQ(flags.of(""), 0u);
    flags.of("") = 9;
    EXPECT_EQ(flags.of("x"), 0u);
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(flags.of(text(i)), static_cast<TextFlags::Flags>(i)) << i;
    }
    EXPECT_EQ(flags.of(""), 9u);
}

} // namespace
