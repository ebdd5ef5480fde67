#pragma once

#include "base/file_preview.h"
#include "base/io_sizes.h"

#include <cstdio>
#include <string>
#include <string_view>

// A text file the converter writes: created or truncated when opened, lines end
// in CR LF on every platform, and every failure to open, write or close it is an
// IOERROR code 2 with its path, so that no lost output is reported as success.
//
// Lines gather in a buffer of at most `bufferSize` bytes, handed to the
// operating system when the next line would not fit and when the file is
// closed or destroyed. A failure that leaves the writing unwinds through the
// destructor before any handler prints its message, so a run that stops still
// leaves every line written before it, as it would with a flush per line.
class OutputFile {
public:
    static constexpr std::size_t bufferSize = writeBufferSize;

    // Throws IOERROR code 2 when the file cannot be opened for writing.
    explicit OutputFile(std::string windowsPath);
    // With a preview, the file is written into it, not onto the disk.
    OutputFile(std::string windowsPath, FilePreview* preview);
    // Writes out what is buffered and closes a file that was not closed because
    // a failure came first; that failure is the one reported.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes the line and its CR LF. A line holding a CR or LF of its own
    // would read as several lines: it is a file that cannot be written.
    void writeLine(std::string_view line);
    // Writes text whose line ends are single LFs, each as CR LF.
    void writeText(std::string_view text);
    // Writes whole lines that end in CR LF already, as they stand.
    void writeLines(std::string_view lines) { writeBytes(lines); }
    void close();

private:
    void writeBytes(std::string_view bytes);
    // Hands the buffer to the operating system; false when that failed.
    bool writeBuffer();
    [[noreturn]] void fail() const;

    std::string path;
    std::FILE* file = nullptr;
    std::string buffer;
    FilePreview* preview = nullptr;
    FilePreview::File* previewed = nullptr;
};
