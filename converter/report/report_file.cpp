#include "report/report_file.h"

#include "base/byte_words.h"
#include "driver/errors.h"

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
// stands in for each. Names hold none but by mistake: the field is looked at
// byte by byte only from its first byte below CR + 1 on, if any.
void ReportFile::appendField(std::string_view text)
{
    const std::size_t start = line.size();
    line += text;
    for (char& c : std::span(line).subspan(start + byte_words::firstByteBelow(text, '\r' + 1))) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
}
