#pragma once

#include <cstddef>

// How much of a file is read, and how much output is gathered, per system
// call: enough that the calls cost little next to the bytes moved.
inline constexpr std::size_t readChunkSize = 64 * 1024;
inline constexpr std::size_t writeBufferSize = 64 * 1024;
