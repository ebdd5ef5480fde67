#pragma once

#include "base/host_file_names.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ConversionReport;
class FilePreview;

// Far beyond any real source or header; one that never ends is not read.
constexpr std::size_t maxScannedFileBytes = std::size_t{16} << 20;

// Includes that the VisualDSP compiler finds but clang on this machine does
// not: "..\system.h" names a file literally called so outside Windows, and
// "Main.h" no file "main.h". For each, a stand-in header named as the include
// writes it includes the file the compiler would read. A folder of stand-ins,
// searched last, works alike in every tool that reads a database. One object
// serves the sources of one configuration, which share their search folders.
class IncludeStandIns {
public:
    // Files not read and includes left without a stand-in are reported for
    // the configuration.
    IncludeStandIns(HostFileNames& hostFiles, ConversionReport& report, std::string configuration)
        : hostFiles_(hostFiles), report_(report), configuration_(std::move(configuration))
    {
    }

    // Reads a source and every header it reaches in the folders (host paths,
    // in search order), and notes each include that needs a stand-in. Each
    // file is read once, however it is spelt or reached; only regular files of
    // up to maxScannedFileBytes are read.
    void scan(const std::string& hostSource, const std::vector<std::string>& searchFolders);
    // By the name as included, one part that may hold backslashes: the line
    // the stand-in holds.
    const std::map<std::string, std::string>& standIns() const { return standIns_; }

private:
    struct Include {
        std::string name;
        bool quoted = false;
    };
    // An included file, and the name its stand-in needs when clang would not
    // find it under the name as written.
    struct Found {
        std::string file;
        std::optional<std::string> standInName;
    };
    static std::optional<Include> includeOn(std::string_view line);
    // The file's bytes, or nothing (and a report line) when it is not read;
    // `regular` tells a regular file that could be opened.
    std::optional<std::string> contentOf(const std::string& file, bool& regular);
    std::optional<Found> find(const Include& include, const std::string& includingFolder,
                              const std::vector<std::string>& searchFolders);
    void noteStandIn(const std::string& name, const std::string& file);

    HostFileNames& hostFiles_;
    ConversionReport& report_;
    std::string configuration_;
    // By identity, whether it is a regular file: spellings and cycles of
    // includes lead to files met before.
    std::unordered_map<std::string, bool> scanned_;
    std::map<std::string, std::string> standIns_;
    // Each include looked up, by the folder it was met in.
    std::unordered_set<std::string> looked_;
    // Names reported as getting no stand-in.
    std::unordered_set<std::string> leftOut_;
};

// Writes the stand-ins, as IncludeStandIns gives them, into the host folder,
// which exists, or into the preview of a dry run. Throws IOERROR code 2 when
// one cannot be written.
void writeStandIns(const std::map<std::string, std::string>& standIns, const std::string& hostFolder,
                   FilePreview* preview);
