#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What is wrong with the shape of a converter's output, or nothing. A line
// break inside a name or path would add lines of its own to these files.

// An analyser personality: "-i" and "-d" lines, then the template's lines.
std::optional<std::string> analyserPersonalityProblem(std::string_view bytes, std::string_view templateLines);

// A conversion report: the line naming the columns, then lines of four
// tab-separated fields, every line ending in CR LF.
std::optional<std::string> reportProblem(std::string_view bytes);

// A folder (the "OutputPath" key's value) or file (the personalities' keys)
// that a project file names, as written there.
struct NamedOutput {
    std::string_view key;
    std::string_view path;

    bool isFolder() const { return key == "OutputPath"; }
};

// True when every line ends in CR LF and holds no other line break.
bool hasCrlfLinesOnly(std::string_view bytes);

// A project file of a successful run is the version line and at most one
// block with its nested sub-projects, every line ending in CR LF. Unless a
// problem says how it is not, `outputs` holds what it names, in file order.
struct ProjectFileShape {
    std::optional<std::string> problem;
    std::vector<NamedOutput> outputs;
};

ProjectFileShape projectFileShape(std::string_view bytes);
