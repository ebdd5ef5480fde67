#pragma once

#include "writer/same_files.h"

#include <vector>

class Converter;

// Every file that writing the read project will create or rewrite, each once,
// in the order written: the project file, then the personality files.
std::vector<RunFile> plannedProjectFiles(const Converter& converter);
