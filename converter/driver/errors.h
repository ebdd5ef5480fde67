#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The two failures that end a conversion. `run` catches them by reference and
// turns each into one message and exit status 1.

class XMLReaderError : public std::exception {
public:
    static constexpr std::int32_t unexpectedEnd = 1;
    static constexpr std::int32_t cannotOpen = 2;

    explicit XMLReaderError(std::int32_t code) : code(code) {}
    const char* what() const noexcept override { return "XMLReaderError"; }

    std::int32_t code;
};

class IOERROR : public std::exception {
public:
    static constexpr std::int32_t cannotCreateDirectory = 1;
    static constexpr std::int32_t cannotWriteFile = 2;

    IOERROR(std::int32_t code, std::string path) : code(code), path(std::move(path)) {}
    const char* what() const noexcept override { return "IOERROR"; }

    std::int32_t code;
    std::string path;
};
