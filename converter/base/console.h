#pragma once

#include <string_view>

// Every line the converter prints goes through here: standard output, one line
// at a time, flushed at once so that the wizard sees it as it happens. Control
// characters (below 0x20, and 0x7F) are shown as \xNN.
void printLine(std::string_view line);
