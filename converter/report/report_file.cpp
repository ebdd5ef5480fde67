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
    // A line kept goes straight into its piece; one written, into `line`.
    std::string& out = file ? line
                            : keptPieceFor(kind.size() + configuration.size() + item.size() + detail.size() +
                                           project.size() + 6);
    if (file) {
        line.clear();
    }
    // The kind is one of the report's own words, which hold no tab.
    out += kind;
    out += fieldSeparator;
    appendField(out, configuration);
    out += fieldSeparator;
    appendField(out, item);
    out += fieldSeparator;
    appendField(out, detail);
    if (projectColumn) {
        out += fieldSeparator;
        appendField(out, project);
    }
    if (!file) {
        out += "\r\n";
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
std::string& ReportFile::keptPieceFor(std::size_t lineBytes)
{
    if (kept.empty()) {
        kept.emplace_back();
    } else if (kept.back().size() + lineBytes >= keptPieceBytes) {
        kept.emplace_back().reserve(keptPieceBytes);
    }
    return kept.back();
}

// A tab or a line break in a name would shift or split the columns; a blank
// stands in for each. Names hold none but by mistake: the field is looked at
// byte by byte only from its first byte below CR + 1 on, if any.
void ReportFile::appendField(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    out += text;
    for (char& c : std::span(out).subspan(start + byte_words::firstByteBelow(text, '\r' + 1))) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
}
