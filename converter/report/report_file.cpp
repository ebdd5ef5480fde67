#include "report/report_file.h"

#include "base/byte_words.h"
#include "driver/errors.h"

#include <cstdint>
#include <span>

namespace {

constexpr char fieldSeparator = '\t';
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
    try {
        for (std::string& piece : kept) {
            file->writeLines(piece);
            std::string().swap(piece);
        }
    } catch (const IOERROR&) {
        writeFailed = true;
    }
    std::vector<std::string>().swap(kept);
}

void ReportFile::writeLine(std::string_view kind, std::string_view configuration, std::string_view item,
                           std::string_view detail, std::string_view project)
{
    if (writeFailed) {
        return;
    }
    line.clear();
    appendField(kind);
    line += fieldSeparator;
    appendField(configuration);
    line += fieldSeparator;
    appendField(item);
    line += fieldSeparator;
    appendField(detail);
    if (projectColumn) {
        line += fieldSeparator;
        appendField(project);
    }
    if (!file) {
        keepLine();
        return;
    }
    try {
        file->writeLine(line);
    } catch (const IOERROR&) {
        writeFailed = true;
    }
}

void ReportFile::close()
{
    if (writeFailed) {
        throw IOERROR(IOERROR::cannotWriteFile, path);
    }
    file->close();
}

// A small report stays in one piece that grows as needed.
void ReportFile::keepLine()
{
    if (kept.empty()) {
        kept.emplace_back();
    } else if (kept.back().size() + line.size() >= keptPieceBytes) {
        kept.emplace_back().reserve(keptPieceBytes);
    }
    kept.back() += line;
    kept.back() += "\r\n";
}

// A tab or a line break in a name would shift or split the columns; a blank
// stands in for each. Names hold none but by mistake: eight bytes at a time
// are tested for any below CR, and only from the first such on is each byte.
void ReportFile::appendField(std::string_view text)
{
    const std::size_t start = line.size();
    line += text;
    std::size_t position = start;
    if constexpr (byte_words::wordScans) {
        if (text.empty()) {
            return;
        }
        if (line.size() < 8) {
            return replaceBreaks(position);
        }
        for (; line.size() - position > 8; position += 8) {
            if (const std::uint64_t found = byte_words::below(byte_words::load(line.data() + position), '\r' + 1)) {
                return replaceBreaks(position + byte_words::firstFlagged(found));
            }
        }
        // The last word ends with the line and may begin before the field:
        // bytes tested before, or of the fields before, are left out of it.
        const std::size_t lastWord = line.size() - 8;
        std::uint64_t found = byte_words::below(byte_words::load(line.data() + lastWord), '\r' + 1);
        if (position > lastWord) {
            found &= ~std::uint64_t{0} << (8 * (position - lastWord));
        }
        if (found != 0) {
            replaceBreaks(lastWord + byte_words::firstFlagged(found));
        }
        return;
    }
    replaceBreaks(position);
}

void ReportFile::replaceBreaks(std::size_t from)
{
    for (char& c : std::span(line).subspan(from)) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
}
