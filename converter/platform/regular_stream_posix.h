#pragma once

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// A stream over an open descriptor when it names a regular file, else none;
// the descriptor is closed either way a stream does not take it.
inline std::FILE* regularFileStream(int descriptor, const char* mode)
{
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    std::FILE* file = nullptr;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        file = ::fdopen(descriptor, mode);
    }
    if (file == nullptr) {
        ::close(descriptor);
    }
    return file;
}

} // namespace platform
