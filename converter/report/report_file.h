#pragma once

#include "writer/output_file.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The file that -report names: a line naming the columns, then one line per
// finding with its fields separated by tabs. A project group's report has a
// fifth column, the project of the group that the line concerns. Lines are
// kept in memory until the file is opened, which waits until the run knows
// that the report overwrites none of its other files. A failed write does not
// stop the conversion; it is reported when the file is closed.
class ReportFile {
public:
    explicit ReportFile(bool projectColumn);

    // Creates the file and writes the lines kept so far. Throws IOERROR code 2
    // when it cannot be opened for writing.
    void open(const std::string& windowsPath);
    // `kind` is one of the report's own words, written as it stands;
    // `project` is written only into the fifth column.
    void writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                   std::string_view detail, std::string_view project = {});
    // Throws IOERROR code 2 when a line could not be written or the file
    // cannot be closed.
    void close();

private:
    static void appendField(std::string& out, std::string_view text);
    // The piece that takes the next kept line of about `lineBytes`.
    std::string& keptPieceFor(std::size_t lineBytes);

    std::string path;
    std::unique_ptr<OutputFile> file;
    // The lines before the file is opened, each ending in CR LF, in
    // pieces of about `keptPieceBytes`: one string for a large report would be
    // copied each time it grew, and held twice while it did.
    std::vector<std::string> kept;
    // Reused for every line written, so that a line costs no allocation.
    std::string line;
    bool projectColumn;
    bool writeFailed = false;
};
