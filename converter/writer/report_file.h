#pragma once

#include "writer/output_file.h"

#include <string>

class ConversionReport;
class Group;

// The file that -report names: one line per finding, its fields separated by
// tabs, below a line that names the columns.
class ReportFile {
public:
    // Throws IOERROR code 2 when the file cannot be opened for writing.
    explicit ReportFile(std::string windowsPath) : file(std::move(windowsPath)) {}

    // Writes every finding and closes the file; the root is where the group
    // paths of taken file entries start.
    void write(const ConversionReport& report, const Group& root);

private:
    OutputFile file;
};
