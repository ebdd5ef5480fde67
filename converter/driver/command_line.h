#pragma once

#include "driver/converter.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The command line of ProjbridgeCli. `arguments` never include the program name.

// An argument refused before anything is read or written; the message says which and why.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void printUsage();

// The option that stands last and so has no value, if any.
std::optional<std::string> optionWithoutValue(const std::vector<std::string>& arguments);

// The conversion that at least three arguments with every option's value
// describe. Throws CommandLineError for an argument that names no usable path
// or project name.
std::unique_ptr<Converter> makeConverter(const std::vector<std::string>& arguments);

// One whole start of the program; returns the exit status.
int runCommandLine(std::vector<std::string> arguments);
