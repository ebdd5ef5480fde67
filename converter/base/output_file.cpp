#include "base/output_file.h"

#include "base/byte_words.h"
#include "base/errors.h"
#include "base/windows_path.h"
#include "platform/platform.h"

#include <algorithm>

namespace {

constexpr std::string_view lineEnd = "\r\n";

// One search per break character: string_view::find_first_of looks every byte
// of the line up in the set with a call of its own, which cost a tenth of a
// whole conversion.
// Every line written is tested: only its bytes below CR + 1 are looked at one
// by one, which costs less than a search for each of the two.
bool holdsLineBreak(std::string_view line)
{
    for (std::size_t at = byte_words::firstByteBelow(line, '\r' + 1); at < line.size();
         at = byte_words::firstByteBelow(line, '\r' + 1, at + 1)) {
        if (line[at] == '\r' || line[at] == '\n') {
            return true;
        }
    }
    return false;
}

} // namespace

OutputFile::OutputFile(std::string windowsPath) : OutputFile(std::move(windowsPath), nullptr) {}

OutputFile::OutputFile(std::string windowsPath, FilePreview* filePreview)
    : path(std::move(windowsPath)), preview(filePreview)
{
    if (preview != nullptr) {
        // What would make the real run fail to open it fails the preview.
        const std::string_view folder = parentFolder(path).value_or(std::string_view());
        const platform::EntryKind folderKind = platform::entryKind(std::string(folder));
        const platform::EntryKind kind = platform::entryKind(path);
        if (!(preview->makesFolder(folder) || folderKind == platform::EntryKind::folder ||
              folderKind == platform::EntryKind::link) ||
            (kind != platform::EntryKind::none && kind != platform::EntryKind::other)) {
            fail();
        }
        previewed = &preview->start(platform::hostPath(path));
        return;
    }
    file = platform::createFile(path);
    if (file == nullptr) {
        fail();
    }
    // The buffer is our own, so that stdio's would only copy each byte twice.
    std::setvbuf(file, nullptr, _IONBF, 0);
}

OutputFile::~OutputFile()
{
    if (file != nullptr) {
        writeBuffer();
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

void OutputFile::close()
{
    if (previewed != nullptr) {
        return;
    }
    const bool written = writeBuffer();
    std::FILE* closing = file;
    file = nullptr;
    if (std::fclose(closing) != 0 || !written) {
        fail();
    }
}

void OutputFile::writeBytes(std::string_view bytes)
{
    if (previewed != nullptr) {
        preview->add(*previewed, bytes);
        return;
    }
    if (buffer.size() + bytes.size() > bufferSize) {
        if (!writeBuffer()) {
            fail();
        }
        // Only a piece larger than the whole buffer goes out unbuffered.
        if (bytes.size() > bufferSize) {
            if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
                fail();
            }
            return;
        }
    }
    // Grown by hand, so that a small file's buffer stays small and a large
    // one's stops at the bound instead of doubling past it.
    if (buffer.size() + bytes.size() > buffer.capacity()) {
        buffer.reserve(std::min(bufferSize, std::max(2 * buffer.capacity(), buffer.size() + bytes.size())));
    }
    buffer.append(bytes);
}

bool OutputFile::writeBuffer()
{
    const bool written = std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
    // What failed to go out is not tried again by the destructor.
    buffer.clear();
    return written;
}

void OutputFile::fail() const
{
    throw IOERROR(IOERROR::cannotWriteFile, path);
}
