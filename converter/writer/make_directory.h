#pragma once

#include <string>

// Creates one folder level when nothing exists under the path yet; a trailing
// backslash names the same folder. Throws IOERROR code 1 with the path as given
// when the folder cannot be created.
void makeDirectory(const std::string& path);
