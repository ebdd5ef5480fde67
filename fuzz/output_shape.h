#pragma once

#include <optional>
#include <string>
#include <string_view>

// What is wrong with the shape of a converter's output, or nothing. A line
// break inside a name or path would add lines of its own to these files.

// A project file of a successful run: the version line and at most one block
// with its nested sub-projects, every line ending in CR LF.
std::optional<std::string> projectFileProblem(std::string_view bytes);

// An analyser personality: "-i" and "-d" lines, then the template's lines.
std::optional<std::string> analyserPersonalityProblem(std::string_view bytes, std::string_view templateLines);
