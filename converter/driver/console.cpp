#include "driver/console.h"

#include <iostream>

void printLine(std::string_view line)
{
    std::cout << line << '\n' << std::flush;
}
