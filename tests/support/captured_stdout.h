#pragma once

#include <functional>
#include <string>

// What the work printed on standard output. Capturing ends also when the work
// throws, so that a failing case does not swallow the next one's output.
std::string printedBy(const std::function<void()>& work);

// A run's exit status and what it printed.
struct PrintedRun {
    int status;
    std::string output;
};

PrintedRun runPrinting(const std::function<int()>& run);
