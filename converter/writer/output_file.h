#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// A text file the converter writes: created or truncated when opened, lines end
// in CR LF on every platform, and every failure to open, write or close it is an
// IOERROR code 2 with its path, so that no lost output is reported as success.
class OutputFile {
public:
    // Throws IOERROR code 2 when the file cannot be opened for writing.
    explicit OutputFile(std::string windowsPath);
    // Closes a file that was not closed because a failure came first; that
    // failure is the one reported.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes the line and its CR LF. A line holding a CR or LF of its own
    // would read as several lines: it is a file that cannot be written.
    void writeLine(std::string_view line);
    // Writes text whose line ends are single LFs, each as CR LF.
    void writeText(std::string_view text);
    // Hands what is buffered to the operating system.
    void flush();
    void close();

private:
    void writeBytes(std::string_view bytes);
    [[noreturn]] void fail() const;

    std::string path;
    std::FILE* file = nullptr;
};
