// Arbitrary bytes as a project file, through a whole conversion: the lexer and
// the reader take them, and the writer writes what was read into a fresh
// destination folder, in some runs with a link planted in it. Besides the
// sanitizers' findings, a run fails when the conversion ends other than with
// status 0 or 1, lets an exception escape, changes anything beside its
// destination folder, leaves no report where it was asked for one and wrote
// anything, or succeeds with a project file or analyser personality out of
// shape.
#include "driver/converter.h"
#include "platform/platform.h"
#include "support/output_shape.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* templateText = "-wrn template line\n";
constexpr const char* templateAsWritten = "-wrn template line\r\n";
constexpr const char* analyserExtension = ".p_a";
constexpr const char* installFolder = "C:\\VisualDSP";
constexpr const char* projectName = "project";

// The command line's options, chosen by the input's length so that a finding
// replays with the same ones: the bytes themselves stay a project file.
struct Options {
    const char* extensions;
    bool withTemplate;
    // Named personalities are only referred to; these do not exist.
    const char* messagePersonality;
    const char* compilerPersonality;
    // The destination's person folder is a link to the folder around the
    // destination, which nothing may reach through it.
    bool linkedPersonFolder;
    // Written into the destination folder, whether the run succeeds or not.
    bool withReport;
};

constexpr std::array<Options, 4> optionChoices{{
    {"", true, "", "", false, true},
    {"c,h", false, "", "", false, false},
    {"C,,asm", true, "C:\\named\\messages.p_s", "C:\\named\\compiler.p_c", false, true},
    {"", true, "", "", true, false},
}};
constexpr const char* reportName = "report.tsv";

// The run's folders, removed with everything in them when the fuzzer exits.
// `work` holds the project file, the template and `outer`, whose only entry
// is the destination folder.
struct Sandbox {
    TempFolder folder;
    fs::path root = folder.path();
    fs::path prefix = root / "prefix";
    fs::path work = root / "work";
    fs::path outer = work / "outer";
    fs::path projectFile = work / "project.dpj";
    fs::path templateFile = work / "template.lnt";
    fs::path destination = outer / "destination";
};

Sandbox sandbox;

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "convert_fuzzer: %s\n", why.c_str());
    std::abort();
}

void expectEntries(const fs::path& folder, const std::set<std::string>& expected)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    if (names != expected) {
        fail("something was written beside the destination, in " + folder.string());
    }
}

// The host path of a Windows path in the destination, mapped here rather than
// by the converter's own mapping, which is under test.
std::optional<fs::path> hostPathInDestination(std::string_view windowsPath)
{
    const std::string destination = platform::commandLinePath(sandbox.destination.string());
    if (!windowsPath.starts_with(destination) || windowsPath.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string rest(windowsPath.substr(destination.size()));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return fs::path(sandbox.destination.string() + rest);
}

void expectNamedOutputsToExist(const std::vector<NamedOutput>& outputs, const Options& options)
{
    for (const NamedOutput& output : outputs) {
        if (output.path == options.messagePersonality || output.path == options.compilerPersonality) {
            continue;
        }
        const std::optional<fs::path> host = hostPathInDestination(output.path);
        if (!host || (output.isFolder() ? !fs::is_directory(*host) : !fs::is_regular_file(*host))) {
            fail("the project file names an output that is not there: " + std::string(output.path));
        }
    }
}

void expectWellFormedOutput(const Options& options)
{
    const fs::path projectFilePath = sandbox.destination / (std::string(projectName) + ".prj");
    const std::string projectFile = readBytes(projectFilePath);
    const ProjectFileShape shape = projectFileShape(projectFile);
    if (shape.problem) {
        fail(*shape.problem);
    }
    expectNamedOutputsToExist(shape.outputs, options);
    const std::string_view templateLines = options.withTemplate ? templateAsWritten : "";
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(sandbox.destination)) {
        if (!entry.is_regular_file() || entry.path().extension() != analyserExtension) {
            continue;
        }
        const std::optional<std::string> problem = analyserPersonalityProblem(readBytes(entry.path()), templateLines);
        if (problem) {
            fail(*problem + " (" + entry.path().string() + ")");
        }
    }
}

void expectWellFormedReport()
{
    const fs::path report = sandbox.destination / reportName;
    // A run its plan refused wrote nothing at all, its report included.
    const auto refusedBeforeWriting = [] {
        for (const fs::directory_entry& entry : fs::directory_iterator(sandbox.destination)) {
            if (!entry.is_symlink()) {
                return false;
            }
        }
        return true;
    };
    if (!fs::is_regular_file(report) && !refusedBeforeWriting()) {
        fail("a run with a report that it could write left none");
    }
    if (!fs::is_regular_file(report)) {
        return;
    }
    if (const std::optional<std::string> problem = reportProblem(readBytes(report))) {
        fail(*problem);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fs::create_directories(sandbox.prefix);
    fs::create_directories(sandbox.outer);
    writeBytes(sandbox.templateFile, templateText);
    // An empty Wine prefix maps no drive but Z:, the host's root, and records
    // no installation.
    setenv("WINEPREFIX", sandbox.prefix.c_str(), 1);
    // The converter's progress lines would drown the fuzzer's own report.
    const int nothing = open("/dev/null", O_WRONLY);
    if (nothing < 0 || dup2(nothing, STDOUT_FILENO) < 0) {
        fail("cannot silence standard output");
    }
    close(nothing);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    writeBytes(sandbox.projectFile, input);
    fs::create_directory(sandbox.destination);

    const Options& options = optionChoices[size % optionChoices.size()];
    if (options.linkedPersonFolder) {
        fs::create_directory_symlink("..", sandbox.destination / "person");
    }
    int status = 0;
    {
        Converter converter(platform::commandLinePath(sandbox.projectFile.string()),
                            platform::commandLinePath(sandbox.destination.string()), installFolder);
        converter.projectName = projectName;
        if (options.withTemplate) {
            converter.analyserPersonality = platform::commandLinePath(sandbox.templateFile.string());
        }
        converter.messagePersonality = options.messagePersonality;
        converter.compilerPersonality = options.compilerPersonality;
        if (*options.extensions != '\0') {
            converter.addExtensions(options.extensions);
        }
        if (options.withReport) {
            converter.reportPath = platform::commandLinePath((sandbox.destination / reportName).string());
        }
        status = converter.run();
    }
    if (status != 0 && status != 1) {
        fail("exit status " + std::to_string(status));
    }
    if (status == 0) {
        expectWellFormedOutput(options);
    }
    if (options.withReport) {
        expectWellFormedReport();
    }

    expectEntries(sandbox.root, {"prefix", "work"});
    expectEntries(sandbox.prefix, {});
    expectEntries(sandbox.work, {"outer", "project.dpj", "template.lnt"});
    expectEntries(sandbox.outer, {"destination"});
    if (readBytes(sandbox.templateFile) != templateText) {
        fail("the template was changed");
    }
    if (readBytes(sandbox.projectFile) != input) {
        fail("the project file was changed");
    }
    fs::remove_all(sandbox.destination);
    return 0;
}
