#include "report/report_file.h"

#include "base/byte_words.h"
#include "base/errors.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace {

constexpr char fieldSeparator = '\t';
constexpr std::size_t firstPieceBytes = std::size_t{4} << 10;
constexpr std::size_t keptPieceBytes = std::size_t{1} << 20;

} // namespace

ReportFile::ReportFile(bool projectColumn) : projectColumn(projectColumn)
{
    writeLine("kind", "configuration", "item", "detail", "project");
}

void ReportFile::open(const std::string& windowsPath)
{
    path = windowsPath;
    file = std::make_unique<OutputFile>(windowsPath);
    writing = std::move(kept);
    kept.clear();
    try {
        writer = std::jthread([this] { writePieces(writing); });
    } catch (const std::system_error&) {
        // No thread to be had: the run waits for the lines instead.
        writePieces(writing);
    }
}

void ReportFile::writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                           std::span<const std::string_view> detail, std::string_view project)
{
    // Three separators and CR LF.
    std::size_t lineBytes = kind.size() + configuration.size() + item.size() + 5;
    for (const std::string_view part : detail) {
        lineBytes += part.size();
    }
    if (projectColumn) {
        lineBytes += project.size() + 1;
    }
    char* at = roomFor(lineBytes);
    // The kind is one of the report's own words, which hold no tab.
    at = std::copy(kind.begin(), kind.end(), at);
    *at++ = fieldSeparator;
    at = copyField(at, configuration);
    *at++ = fieldSeparator;
    at = copyField(at, item);
    *at++ = fieldSeparator;
    for (const std::string_view part : detail) {
        at = copyField(at, part);
    }
    if (projectColumn) {
        *at++ = fieldSeparator;
        at = copyField(at, project);
    }
    *at++ = '\r';
    *at = '\n';
}

void ReportFile::takeBack(const Mark& to)
{
    kept.resize(to.pieces);
    kept.back().size = to.lastPieceSize;
}

void ReportFile::close()
{
    if (writer.joinable()) {
        writer.join();
    }
    writePieces(kept);
    if (writeFailed) {
        throw IOERROR(IOERROR::cannotWriteFile, path);
    }
    file->close();
}

// Each piece is let go once written; after a failed write nothing more is tried.
void ReportFile::writePieces(std::vector<Piece>& pieces)
{
    try {
        for (Piece& piece : pieces) {
            if (writeFailed) {
                return;
            }
            file->writeLines(piece.filled());
            piece = {};
        }
    } catch (const IOERROR&) {
        writeFailed = true;
    }
}

// A small report stays in one piece that doubles as needed, up to the size of
// a piece; a line longer than a piece gets one of its own.
char* ReportFile::roomFor(std::size_t lineBytes)
{
    if (kept.empty() || kept.back().capacity - kept.back().size < lineBytes) {
        const bool growing = !kept.empty() && kept.back().capacity < keptPieceBytes;
        const std::size_t filled = growing ? kept.back().size : 0;
        const std::size_t capacity = std::max(
            growing ? std::min(2 * kept.back().capacity, keptPieceBytes) : firstPieceBytes, filled + lineBytes);
        Piece piece{std::make_unique_for_overwrite<char[]>(capacity), filled, capacity};
        if (growing) {
            std::memcpy(piece.bytes.get(), kept.back().bytes.get(), filled);
            kept.back() = std::move(piece);
        } else {
            kept.push_back(std::move(piece));
        }
    }
    Piece& piece = kept.back();
    char* const at = piece.bytes.get() + piece.size;
    piece.size += lineBytes;
    return at;
}

// A tab or a line break in a name would shift or split the columns; a blank
// stands in for each. Names hold none but by mistake: the field is looked at
// byte by byte only from its first byte below CR + 1 on, if any.
char* ReportFile::copyField(char* at, std::string_view text)
{
    std::copy(text.begin(), text.end(), at);
    for (std::size_t i = byte_words::firstByteBelow(text, '\r' + 1); i < text.size(); ++i) {
        if (at[i] == '\t' || at[i] == '\r' || at[i] == '\n') {
            at[i] = ' ';
        }
    }
    return at + text.size();
}
