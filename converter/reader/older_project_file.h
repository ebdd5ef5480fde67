#pragma once

#include <string>

// Older IDE versions kept the project in a binary file, which the IDE
// converts when it opens and saves it. True when the file begins as one does.
bool isOlderBinaryProjectFile(const std::string& windowsPath);
