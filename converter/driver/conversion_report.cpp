#include "driver/conversion_report.h"

#include "platform/platform.h"

#include <array>

namespace {

constexpr std::string_view takenKind = "taken";
constexpr std::string_view notTakenKind = "not taken";
constexpr std::string_view notCarriedKind = "not carried";
constexpr std::string_view includeKind = "include";
constexpr std::string_view defineKind = "define";
constexpr std::string_view missingKind = "missing";
constexpr std::string_view unresolvedKind = "unresolved";
constexpr std::string_view unknownKind = "unknown";
constexpr std::string_view refusedKind = "refused";

// Left in a path only when the installation folder is not known.
constexpr std::array<std::string_view, 2> installFolderVariables{"$(VDSP)", "$(ADI_DSP)"};

std::string_view reasonText(NotTakenBecause reason)
{
    switch (reason) {
    case NotTakenBecause::linkerFile:
        return "linker file";
    case NotTakenBecause::neitherHeaderNorSource:
        return "neither header nor source by its folder and extension";
    case NotTakenBecause::leftOutByExtensions:
        return "left out by -ext";
    case NotTakenBecause::excludedInConfiguration:
        return "excluded in this configuration";
    case NotTakenBecause::outsideAnyFolder:
        return "outside any folder";
    case NotTakenBecause::headerInProjectFolder:
        return "header in the project folder, which adds no include folder";
    }
    return {};
}

std::string lineText(std::size_t line)
{
    return "line " + std::to_string(line);
}

bool holdsInstallFolderVariable(const std::string& path)
{
    for (std::string_view variable : installFolderVariables) {
        if (path.find(variable) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

void ConversionReport::fileEntryBegins()
{
    entryTaken_ = false;
}

void ConversionReport::fileEntryEnds()
{
    if (enabled_ && !entryTaken_)
        ++entriesNotTaken_;
}

void ConversionReport::sourceTaken(const std::string& configuration, const std::string& name, const Group& group,
                                   const std::string& path)
{
    if (!enabled_)
        return;
    entryTaken_ = true;
    add(takenKind, configuration, name, path, &group);
    sourcesTaken_.insert(path);
    usesPath(name, path);
}

void ConversionReport::headerTaken(const std::string& configuration, const std::string& name, const Group& group,
                                   const std::string& folder)
{
    if (!enabled_)
        return;
    entryTaken_ = true;
    add(takenKind, configuration, name, "include folder " + folder, &group);
}

void ConversionReport::fileNotTaken(const std::string& configuration, const std::string& name, NotTakenBecause reason)
{
    if (enabled_)
        add(notTakenKind, configuration, name, std::string(reasonText(reason)));
}

void ConversionReport::settingNotCarried(const std::string& configuration, const std::string& name,
                                         std::string_view setting)
{
    if (enabled_)
        add(notCarriedKind, configuration, name, std::string(setting));
}

void ConversionReport::includeFolder(const std::string& configuration, const std::string& asWritten,
                                     const std::string& folder)
{
    if (!enabled_ || !includeFolders_.emplace(configuration, folder).second)
        return;
    add(includeKind, configuration, asWritten, folder);
    usesPath(asWritten, folder);
}

void ConversionReport::definition(const std::string& configuration, const std::string& name, const std::string& value)
{
    if (!enabled_)
        return;
    const auto [found, added] = definitions_.try_emplace({configuration, name}, findings_.size());
    if (added)
        add(defineKind, configuration, name, value);
    else
        findings_[found->second].detail = value;
}

void ConversionReport::unknownElement(std::string_view name, std::size_t line)
{
    if (enabled_)
        add(unknownKind, "", std::string(name), lineText(line));
}

void ConversionReport::refusedToken(const std::string& text, std::size_t line)
{
    if (enabled_)
        add(refusedKind, "", text, lineText(line));
}

void ConversionReport::checkPathsOnDisk()
{
    for (const auto& [asWritten, path] : pathsUsed_) {
        if (holdsInstallFolderVariable(path)) {
            add(unresolvedKind, "", asWritten, path);
        } else if (!platform::pathExists(path)) {
            add(missingKind, "", asWritten, path);
            ++pathsMissing_;
        }
    }
}

std::string ConversionReport::summaryLine(const std::string& reportPath) const
{
    return "Report: " + std::to_string(sourcesTaken_.size()) + " source files taken, " +
           std::to_string(entriesNotTaken_) + " file entries not taken, " + std::to_string(pathsMissing_) +
           " paths missing: " + reportPath;
}

void ConversionReport::add(std::string_view kind, const std::string& configuration, const std::string& item,
                           std::string detail, const Group* group)
{
    findings_.push_back({kind, configuration, item, std::move(detail), group});
}

void ConversionReport::usesPath(const std::string& asWritten, const std::string& path)
{
    if (pathsSeen_.insert(path).second)
        pathsUsed_.emplace_back(asWritten, path);
}
