#pragma once

#include <string_view>

// Every line the converter prints goes through here: standard output, one line
// at a time, flushed at once so that the wizard sees it as it happens. Control
// characters (below 0x20, and 0x7F) are shown as \xNN.
void printLine(std::string_view line);

// While one lives, printLine prints nothing: a dry run's writers would tell of
// files they do not make.
class QuietConsole {
public:
    QuietConsole();
    ~QuietConsole();
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

private:
    bool wasQuiet_;
};
