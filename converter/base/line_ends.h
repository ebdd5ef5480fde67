#pragma once

#include <cstddef>

// Folds each carriage return and line feed pair among the bytes into one line
// feed, in place, as Windows text mode reads them; a carriage return elsewhere
// stays. Returns how many bytes are left.
std::size_t foldLineEnds(char* bytes, std::size_t count);
