// TEMPORARY: keeps the test program non-empty until the first real tests land.
#include <gtest/gtest.h>
TEST(Placeholder, Builds) { SUCCEED(); }
