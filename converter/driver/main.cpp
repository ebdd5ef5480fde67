#include "driver/command_line.h"
#include "platform/platform.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Failures that the conversion does not report itself end the process
    // quietly with status 1.
    try {
        // Nobody could be told: the standard streams are what is missing.
        if (!platform::openClosedStandardStreams()) {
            return 1;
        }
        std::vector<std::string> arguments;
        for (int i = 1; i < argc; ++i) {
            arguments.emplace_back(argv[i]);
        }
        return runCommandLine(arguments);
    } catch (...) {
        return 1;
    }
}
