#include "driver/command_line.h"
#include "support/captured_stdout.h"
#include "support/output_shape.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

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
            // A text-mode stream on Windows would turn a written CR LF into CR CR LF.
            EXPECT_TRUE(hasCrlfLinesOnly(readBytes(output.path()))) << output.path();
        }
    }
    EXPECT_GT(projectsConverted, 0u);
}

} // namespace
