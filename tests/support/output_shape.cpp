#include "support/output_shape.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr std::string_view lineEnd = "\r\n";
constexpr std::string_view versionLine = "VersionTag45";
constexpr std::string_view startProject = "StartProjectMarker";
constexpr std::string_view endFiles = "EndContainedFilesMarker";
constexpr std::string_view startSubProjects = "StartSubProjectMarker";
constexpr std::string_view endSubProjects = "EndSubProjectMarker";
constexpr std::array<std::string_view, 6> blockKeys{
    "FolderName=", "SourcePath=", "OutputPath=", "SubsPers=", "AnalPers=", "CompPers="};
constexpr std::array<std::string_view, 4> markers{startProject, endFiles, startSubProjects, endSubProjects};
constexpr std::array<std::string_view, 2> optionStarts{"-i \"", "-d \""};
constexpr std::string_view reportColumns = "kind\tconfiguration\titem\tdetail";
constexpr std::size_t reportFieldSeparators = 3;
constexpr std::array<std::string_view, 4> outputKeys{"OutputPath=", "SubsPers=", "AnalPers=", "CompPers="};

// The lines of a text whose every line ends in CR LF; nothing when a line
// end is missing or a line holds a line break of its own.
std::optional<std::vector<std::string_view>> crlfLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find(lineEnd);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view line = text.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            return std::nullopt;
        }
        lines.push_back(line);
        text.remove_prefix(end + lineEnd.size());
    }
    return lines;
}

class ProjectFileReader {
public:
    explicit ProjectFileReader(const std::vector<std::string_view>& lines) : lines_(lines) {}

    std::vector<NamedOutput> outputs;

    std::optional<std::string> problem()
    {
        if (!take(versionLine)) {
            return at("the version line");
        }
        if (position_ == lines_.size()) {
            return std::nullopt;
        }
        // Sub-project lists nest as deep as the group tree: counted, not recursed.
        std::size_t openLists = 0;
        do {
            if (std::optional<std::string> blockProblem = blockHead()) {
                return blockProblem;
            }
            if (take(startSubProjects)) {
                ++openLists;
            }
            while (openLists > 0 && !next(startProject)) {
                if (!take(endSubProjects)) {
                    return at("the end of a sub-project list");
                }
                --openLists;
            }
        } while (openLists > 0);
        if (position_ != lines_.size()) {
            return at("the end of the file");
        }
        return std::nullopt;
    }

private:
    // A block up to and including the end of its files.
    std::optional<std::string> blockHead()
    {
        if (!take(startProject)) {
            return at("the start of a block");
        }
        for (std::string_view key : blockKeys) {
            if (position_ == lines_.size() || !lines_[position_].starts_with(key)) {
                return at(std::string(key));
            }
            const std::string_view value = lines_[position_++].substr(key.size());
            if (std::find(outputKeys.begin(), outputKeys.end(), key) != outputKeys.end()) {
                outputs.push_back({key.substr(0, key.size() - 1), value});
            }
        }
        while (!take(endFiles)) {
            if (position_ == lines_.size() || lines_[position_].empty() ||
                std::find(markers.begin(), markers.end(), lines_[position_]) != markers.end()) {
                return at("a file line or the end of the files");
            }
            ++position_;
        }
        return std::nullopt;
    }

    bool next(std::string_view line) const { return position_ < lines_.size() && lines_[position_] == line; }

    bool take(std::string_view line)
    {
        if (!next(line)) {
            return false;
        }
        ++position_;
        return true;
    }

    std::string at(const std::string& expected) const
    {
        return "line " + std::to_string(position_ + 1) + " of the project file is not " + expected;
    }

    const std::vector<std::string_view>& lines_;
    std::size_t position_ = 0;
};

bool isOptionLine(std::string_view line)
{
    for (std::string_view start : optionStarts) {
        if (line.size() > start.size() && line.starts_with(start) && line.ends_with('"')) {
            return true;
        }
    }
    return false;
}

} // namespace

bool hasCrlfLinesOnly(std::string_view bytes)
{
    return crlfLines(bytes).has_value();
}

ProjectFileShape projectFileShape(std::string_view bytes)
{
    const std::optional<std::vector<std::string_view>> lines = crlfLines(bytes);
    if (!lines) {
        return {"the project file has a line break inside a line or a line without its end", {}};
    }
    ProjectFileReader reader(*lines);
    if (std::optional<std::string> problem = reader.problem()) {
        return {std::move(problem), {}};
    }
    return {std::nullopt, std::move(reader.outputs)};
}

std::optional<std::string> analyserPersonalityProblem(std::string_view bytes, std::string_view templateLines)
{
    if (!bytes.ends_with(templateLines)) {
        return "an analyser personality does not end with the template";
    }
    bytes.remove_suffix(templateLines.size());
    const std::optional<std::vector<std::string_view>> lines = crlfLines(bytes);
    if (!lines) {
        return "an analyser personality has a line break inside a line";
    }
    for (std::string_view line : *lines) {
        if (!isOptionLine(line)) {
            return "an analyser personality holds a line that is no -i or -d option: " + std::string(line);
        }
    }
    return std::nullopt;
}

std::optional<std::string> reportProblem(std::string_view bytes)
{
    const std::optional<std::vector<std::string_view>> lines = crlfLines(bytes);
    if (!lines || lines->empty()) {
        return "a report has no lines, or a line break inside a line";
    }
    if (lines->front() != reportColumns) {
        return "a report's first line does not name its columns: " + std::string(lines->front());
    }
    for (std::string_view line : *lines) {
        if (static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) != reportFieldSeparators) {
            return "a report line has not four fields: " + std::string(line);
        }
    }
    return std::nullopt;
}
