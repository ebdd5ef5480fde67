#include "writer/output_file.h"

#include "base/io_sizes.h"
#include "driver/errors.h"
#include "platform/platform.h"

namespace {

constexpr std::string_view lineEnd = "\r\n";

// One search per break character: string_view::find_first_of looks every byte
// of the line up in the set with a call of its own, which cost a tenth of a
// whole conversion.
bool holdsLineBreak(std::string_view line)
{
    return line.find('\r') != std::string_view::npos || line.find('\n') != std::string_view::npos;
}

} // namespace

OutputFile::OutputFile(std::string windowsPath) : path(std::move(windowsPath))
{
    file = platform::createFile(path);
    if (file == nullptr) {
        fail();
    }
    // The default buffer of a few KiB costs a system call for every few lines
    // of a report of many megabytes.
    std::setvbuf(file, nullptr, _IOFBF, writeBufferSize);
}

OutputFile::~OutputFile()
{
    if (file != nullptr) {
        std::fclose(file);
    }
}

void OutputFile::writeLine(std::string_view line)
{
    // Names and paths come from the project file; one holding a line break
    // would add lines that read as markers or options of their own.
    if (holdsLineBreak(line)) {
        fail();
    }
    writeBytes(line);
    writeBytes(lineEnd);
}

void OutputFile::writeText(std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lineFeed = text.find('\n', start);
        if (lineFeed == std::string_view::npos) {
            writeBytes(text.substr(start));
            return;
        }
        writeBytes(text.substr(start, lineFeed - start));
        writeBytes(lineEnd);
        start = lineFeed + 1;
    }
}

void OutputFile::flush()
{
    if (std::fflush(file) != 0) {
        fail();
    }
}

void OutputFile::close()
{
    std::FILE* closing = file;
    file = nullptr;
    if (std::fclose(closing) != 0) {
        fail();
    }
}

void OutputFile::writeBytes(std::string_view bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        fail();
    }
}

void OutputFile::fail() const
{
    throw IOERROR(IOERROR::cannotWriteFile, path);
}
