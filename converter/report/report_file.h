#pragma once

#include "writer/output_file.h"

#include <string>
#include <string_view>

// The file that -report names: a line naming the columns, then one line per
// finding with its fields separated by tabs. A project group's report has a
// fifth column, the project of the group that the line concerns. A failed
// write does not stop the conversion; it is reported when the file is closed.
class ReportFile {
public:
    // Throws IOERROR code 2 when the file cannot be opened for writing.
    ReportFile(std::string windowsPath, bool projectColumn);

    // `project` is written only into the fifth column.
    void writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                   std::string_view detail, std::string_view project = {});
    // Throws IOERROR code 2 when a line could not be written or the file
    // cannot be closed.
    void close();

private:
    void appendField(std::string_view text);

    std::string path;
    OutputFile file;
    // Reused for every line, so that a line costs no allocation.
    std::string line;
    bool projectColumn;
    bool writeFailed = false;
};
