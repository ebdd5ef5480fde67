#pragma once

#include "base/output_file.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// The file that -report names: a line naming the columns, then one line per
// finding with its fields separated by tabs. A project group's report has a
// fifth column, the project of the group that the line concerns. Lines are
// kept in memory until the file is opened, which waits until the run knows
// that the report overwrites none of its other files; from then on a thread of
// its own writes them while the run goes on, and the lines found meanwhile
// follow when the file is closed. A failed write does not stop the
// conversion; it is reported when the file is closed.
class ReportFile {
public:
    explicit ReportFile(bool projectColumn);

    // Creates the file and starts writing the lines kept so far. Throws
    // IOERROR code 2 when it cannot be opened for writing.
    void open(const std::string& windowsPath);
    // `kind` is one of the report's own words, written as it stands;
    // `project` is written only into the fifth column.
    void writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                   std::string_view detail, std::string_view project = {})
    {
        writeLine(kind, configuration, item, std::span(&detail, 1), project);
    }
    // The detail written as the parts given, one after another.
    void writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                   std::span<const std::string_view> detail, std::string_view project);
    // Where the lines kept so far end, and the lines kept after it taken
    // back; only before the file is opened.
    struct Mark {
        std::size_t pieces = 0;
        std::size_t lastPieceSize = 0;
    };
    Mark mark() const { return {kept.size(), kept.back().size}; }
    void takeBack(const Mark& to);
    // Waits for the lines being written, writes the rest and closes the file.
    // Throws IOERROR code 2 when a line could not be written or the file
    // cannot be closed.
    void close();

private:
    // Bytes filled from the front; not cleared when made, as every byte
    // handed out is written before it is read.
    struct Piece {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t capacity = 0;
        std::string_view filled() const { return {bytes.get(), size}; }
    };

    static char* copyField(char* at, std::string_view text);
    void writePieces(std::vector<Piece>& pieces);
    // Where the next kept line of `lineBytes` goes, its room taken.
    char* roomFor(std::size_t lineBytes);

    std::string path;
    std::unique_ptr<OutputFile> file;
    // The lines not yet handed to the file, each ending in CR LF, in pieces
    // of about `keptPieceBytes`: one string for a large report would be
    // copied each time it grew, and held twice while it did.
    std::vector<Piece> kept;
    bool projectColumn;
    // The lines kept before the file was opened, which `writer` writes; it
    // alone uses them, the file and `writeFailed` until it has ended.
    std::vector<Piece> writing;
    bool writeFailed = false;
    // Declared last, so that it ends before what it uses goes.
    std::jthread writer;
};
