#include "driver/command_line.h"
#include "support/captured_stdout.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Where a line of the file does not end in exactly one CR LF: a text-mode
// stream on Windows turns a written CR LF into CR CR LF, a lone LF would stay.
std::string lineEndFault(const std::string& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lineFeed = bytes[i] == '\n';
        const bool afterCarriageReturn = i > 0 && bytes[i - 1] == '\r';
        const bool afterTwo = i > 1 && bytes[i - 2] == '\r';
        if (lineFeed && (!afterCarriageReturn || afterTwo)) {
            return "line end at byte " + std::to_string(i);
        }
    }
    if (!bytes.empty() && !bytes.ends_with("\r\n")) {
        return "last line has no line end";
    }
    return {};
}

TEST(OutputLineEnds, EveryFileOfRealConversionsEndsEachLineInOneCarriageReturnAndLineFeed)
{
    TempFolder folder;
    // One template line ends in LF, one in CR LF; both come out as CR LF.
    writeBytes(folder.path() / "template.lnt", "-w3\n-e715\r\n");
    std::size_t projectsConverted = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::canonical(PROJBRIDGE_CORPUS_DIR))) {
        if (entry.path().extension() != ".dpj") {
            continue;
        }
        const std::string destination = entry.path().stem().string();
        fs::create_directory(folder.path() / destination);
        const PrintedRun run = runPrinting([&] {
            return runCommandLine({entry.path().string(), folder.windowsPath(destination), "C:\\VisualDSP", "-ap",
                                   folder.windowsPath("template.lnt")});
        });
        ASSERT_EQ(run.status, 0) << run.output;
        const fs::path projectFile = folder.path() / destination / (entry.path().stem().string() + ".prj");
        ASSERT_TRUE(fs::is_regular_file(projectFile)) << projectFile;
        ++projectsConverted;
        for (const fs::directory_entry& output : fs::recursive_directory_iterator(folder.path() / destination)) {
            if (!output.is_regular_file()) {
                continue;
            }
            EXPECT_EQ(lineEndFault(readBytes(output.path())), "") << output.path();
        }
    }
    EXPECT_GT(projectsConverted, 0u);
}

} // namespace
