#pragma once

#include <string>

// A Windows path made absolute against the current directory (of its drive,
// for a drive-relative path). Nothing else in it is changed.
std::string makeAbsolutePath(const std::string& path);
