#include "base/console.h"

#include <iostream>
#include <string>

namespace {

constexpr unsigned char firstPrintable = 0x20;
constexpr unsigned char deleteCharacter = 0x7F;
constexpr std::string_view hexDigits = "0123456789abcdef";

bool isControl(unsigned char byte)
{
    return byte < firstPrintable || byte == deleteCharacter;
}

// Names from the project file reach the terminal in these lines: a control
// character among them could clear the screen or rewrite what it shows.
std::string shownOnTerminal(std::string_view line)
{
    std::string shown;
    shown.reserve(line.size());
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isControl(byte)) {
            shown += c;
            continue;
        }
        shown += "\\x";
        shown += hexDigits[byte >> 4];
        shown += hexDigits[byte & 0xF];
    }
    return shown;
}

bool quiet = false;

} // namespace

QuietConsole::QuietConsole() : wasQuiet_(quiet)
{
    quiet = true;
}

QuietConsole::~QuietConsole()
{
    quiet = wasQuiet_;
}

void printLine(std::string_view line)
{
    if (quiet) {
        return;
    }
    std::cout << shownOnTerminal(line) << '\n' << std::flush;
}
