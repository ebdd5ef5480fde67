#pragma once

#include "base/host_file_names.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Includes that the VisualDSP compiler finds but clang on this machine does
// not: "..\system.h" names a file literally called so outside Windows, and
// "Main.h" no file "main.h". For each, a stand-in header named as the include
// writes it includes the file the compiler would read. A folder of stand-ins,
// searched last, works alike in every tool that reads a database.
class IncludeStandIns {
public:
    explicit IncludeStandIns(HostFileNames& hostFiles) : hostFiles_(hostFiles) {}

    // Reads a source and every header it reaches in the folders (host paths,
    // in search order), and notes each include that needs a stand-in.
    void scan(const std::string& hostSource, const std::vector<std::string>& searchFolders);
    bool empty() const { return standIns_.empty(); }
    // Writes the stand-ins into the host folder, which exists. Throws IOERROR
    // code 2 when one cannot be written.
    void write(const std::string& hostFolder) const;

private:
    struct Include {
        std::string name;
        bool quoted = false;
    };
    static std::optional<Include> includeOn(std::string_view line);
    // The host path of the included file; a stand-in is noted when clang
    // would not find it under the name as written.
    std::optional<std::string> find(const Include& include, const std::string& includingFolder,
                                    const std::vector<std::string>& searchFolders);

    HostFileNames& hostFiles_;
    std::unordered_set<std::string> scanned_;
    // By the name as included: the first file it was found as.
    std::map<std::string, std::string> standIns_;
};
