#include "support/captured_stdout.h"

#include <gtest/gtest.h>

std::string printedBy(const std::function<void()>& work)
{
    testing::internal::CaptureStdout();
    try {
        work();
    } catch (...) {
        testing::internal::GetCapturedStdout();
        throw;
    }
    return testing::internal::GetCapturedStdout();
}

PrintedRun runPrinting(const std::function<int()>& run)
{
    PrintedRun result{};
    result.output = printedBy([&] { result.status = run(); });
    return result;
}
