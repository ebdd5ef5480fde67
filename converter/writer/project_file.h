#pragma once

#include "writer/output_file.h"

#include <string>
#include <string_view>

// The open analyser project file. Each line reaches the disk as soon as it is
// written, so a run that stops on a failure leaves every line written before it.
class ProjectFile {
public:
    // Throws IOERROR code 2 when the file cannot be opened for writing.
    explicit ProjectFile(std::string windowsPath) : file(std::move(windowsPath)) {}

    void writeLine(std::string_view line)
    {
        file.writeLine(line);
        file.flush();
    }
    void close() { file.close(); }

private:
    OutputFile file;
};
