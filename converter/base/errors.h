#pragma once

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

// The failures that end a conversion. `run` catches them by reference and
// turns each into one message and exit status 1.

class XMLReaderError : public std::exception {
public:
    static constexpr std::int32_t unexpectedEnd = 1;
    static constexpr std::int32_t cannotOpen = 2;
    // Text up to the end and no tag: some other file, not a project cut short.
    static constexpr std::int32_t noElement = 3;

    explicit XMLReaderError(std::int32_t code) : code(code) {}
    const char* what() const noexcept override { return "XMLReaderError"; }

    std::int32_t code;
};

// An input beyond a limit of the converter; the message names it.
class InputTooLong : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the plan of a run refuses before anything on disk changes: the run
// then writes, sets aside and removes nothing, its report included.
class RefusedBeforeWriting : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Two files of a run that are one file on the disk; the message names both.
class SameFile : public RefusedBeforeWriting {
public:
    using RefusedBeforeWriting::RefusedBeforeWriting;
};

inline constexpr std::string_view cannotCreateDirectoryMessage = "Could not create directory: ";

// "64 MiB", for the messages of the limits.
inline std::string mebibytes(std::size_t bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

class IOERROR : public std::exception {
public:
    static constexpr std::int32_t cannotCreateDirectory = 1;
    static constexpr std::int32_t cannotWriteFile = 2;

    IOERROR(std::int32_t code, std::string path) : code(code), path(std::move(path)) {}
    const char* what() const noexcept override { return "IOERROR"; }

    std::int32_t code;
    std::string path;
};
