#include "record/run_record_file.h"

#include "base/bounded_read.h"
#include "base/content_digest.h"
#include "base/errors.h"
#include "base/open_file.h"
#include "base/output_file.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "platform/file_changes.h"
#include "platform/platform.h"

#include <memory>

namespace {

constexpr std::string_view recordExtension = ".projbridge-record";
constexpr std::string_view unfinishedSuffix = ".new";

} // namespace

std::string runRecordPath(const std::string& destinationFolder, const std::string& projectName)
{
    return joinPath(destinationFolder, projectName + std::string(recordExtension));
}

RecordReading readRunRecord(const std::string& path, const RecordRoots& roots)
{
    const std::optional<std::string> text = plainFileText({path}, maxRunRecordBytes);
    std::optional<RunRecord> record = text ? parseRunRecord(*text, roots) : std::nullopt;
    const bool damaged = !record && platform::pathExists(path);
    return {std::move(record), damaged};
}

std::optional<std::string> plainFileText(const OutputName& name, std::uint64_t limit)
{
    const OpenFile file(platform::openPlainFile(hostPathOf(name)));
    if (!file) {
        return std::nullopt;
    }
    BoundedText read = readWholeAtMost(file.get(), limit);
    if (read.outcome != BoundedReading::whole) {
        return std::nullopt;
    }
    return std::move(read.text);
}

std::string unfinishedRecordPath(const std::string& path)
{
    return path + std::string(unfinishedSuffix);
}

void writeRunRecord(const std::string& path, const RunRecord& record, const RecordRoots& roots)
{
    const std::string unfinished = unfinishedRecordPath(path);
    OutputFile out(unfinished);
    out.writeLines(runRecordText(record, roots));
    out.close();
    if (!platform::replaceFile(unfinished, path)) {
        platform::removeFile(platform::hostPath(unfinished));
        throw IOERROR(IOERROR::cannotWriteFile, path);
    }
}

std::string hostPathOf(const OutputName& name)
{
    return name.standInName.empty() ? platform::hostPath(name.path) : platform::hostPathIn(name.path, name.standInName);
}

std::optional<Fingerprint> fingerprintOnDisk(const OutputName& name, std::uint64_t limit)
{
    const OpenFile file(platform::openPlainFile(hostPathOf(name)));
    if (!file) {
        return std::nullopt;
    }
    // Another length than the one looked for tells an edit without a byte read.
    if (const std::optional<std::uint64_t> size = platform::openedFileSize(file.get()); size && *size > limit) {
        return Fingerprint{*size, 0};
    }
    ContentDigest digest;
    Fingerprint fingerprint;
    if (!readChunksAtMost(file.get(), limit, [&](std::string_view bytes) {
            digest.add(bytes);
            fingerprint.size += bytes.size();
        })) {
        return std::nullopt;
    }
    fingerprint.digest = digest.value();
    return fingerprint;
}

std::vector<std::string> neighbourRecordPaths(const std::string& destinationFolder, const std::string& projectName)
{
    const std::string ownName = pathKey(projectName + std::string(recordExtension));
    const std::string extensionKey = pathKey(recordExtension);
    std::vector<std::string> paths;
    for (const std::string& name : platform::plainFilesIn(destinationFolder)) {
        const std::string key = pathKey(name);
        if (key != ownName && key.size() > extensionKey.size() && key.ends_with(extensionKey)) {
            paths.push_back(joinPath(destinationFolder, name));
        }
    }
    return paths;
}

std::vector<ProjectRecord> neighbourRecords(const std::string& destinationFolder, const std::string& projectName)
{
    std::vector<ProjectRecord> neighbours;
    for (const std::string& path : neighbourRecordPaths(destinationFolder, projectName)) {
        RecordReading reading = readRunRecord(path, {destinationFolder});
        if (reading.record) {
            const std::string_view name = fileName(path);
            neighbours.push_back({std::string(name.substr(0, name.size() - recordExtension.size())),
                                  std::move(*reading.record)});
        }
    }
    return neighbours;
}
