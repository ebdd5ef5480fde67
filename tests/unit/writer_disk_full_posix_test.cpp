// A disk that fills up part-way, made real: the writing runs in a child process
// whose files may not grow beyond a limit, with SIGXFSZ ignored so that the
// write that crosses it fails with EFBIG instead of killing the child.
#include "writer_fixture.h"

#include "report/report_file.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int childCouldNotReport = 3;
constexpr std::size_t reportChunkSize = 256;

// Runs the work in a child under the file size limit; returns how it failed
// ("code path", or "" when it succeeded).
std::string failureUnderFileSizeLimit(rlim_t limit, const std::function<void()>& work)
{
    int channel[2];
    if (pipe(channel) != 0) {
        return "no pipe";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
            _exit(childCouldNotReport);
        }
        const std::string failure = failureOf(work);
        const bool reported = write(channel[1], failure.data(), failure.size()) == ssize_t(failure.size());
        _exit(reported ? 0 : childCouldNotReport);
    }
    close(channel[1]);
    std::string failure;
    char chunk[reportChunkSize];
    for (ssize_t got = 0; (got = read(channel[0], chunk, sizeof chunk)) > 0;) {
        failure.append(chunk, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? failure : "child did not report";
}

} // namespace

using WriterOnAFullDisk = WriterFixture;

TEST_F(WriterOnAFullDisk, ProjectFileKeepsWhatFitAndTheRunFails)
{
    constexpr rlim_t limit = 4096;
    constexpr int fileCount = 400;
    std::unique_ptr<Group> root = makeGroup("radio");
    for (int i = 0; i < fileCount; ++i) {
        root->addFile("C:\\work\\radio\\src\\module" + std::to_string(i) + ".c");
    }
    writeTree(*root);
    const std::string whole = projectFileBytes();
    ASSERT_GT(whole.size(), limit);

    EXPECT_EQ(failureUnderFileSizeLimit(limit, [&] { writeTreeUncaptured(*root); }),
              "2 " + destinationPath("radio.prj"));
    EXPECT_EQ(projectFileBytes(), whole.substr(0, limit));
}

// Few include folders stay in the stream's buffer until the file is closed;
// many fail while they are written.
class OwnPersonalityOnAFullDisk : public WriterFixture, public ::testing::WithParamInterface<int> {};

TEST_P(OwnPersonalityOnAFullDisk, IsAFileThatCannotBeWritten)
{
    constexpr rlim_t limit = 1024;
    std::unique_ptr<Group> root = makeGroup("radio");
    root->addFile("C:\\work\\radio\\main.c");
    for (int i = 0; i < GetParam(); ++i) {
        root->appendIncludePath("C:\\work\\radio\\include" + std::to_string(i));
    }

    EXPECT_EQ(failureUnderFileSizeLimit(limit, [&] { writeTreeUncaptured(*root); }),
              "2 " + destinationPath("radio\\person\\radio.p_a"));
    EXPECT_EQ(readBytes(hostPath("radio/person/radio.p_a")).size(), limit);
}

INSTANTIATE_TEST_SUITE_P(IncludeFolderCounts, OwnPersonalityOnAFullDisk, ::testing::Values(40, 4000));

TEST_F(WriterOnAFullDisk, TemplateCopyThatDoesNotFitFails)
{
    constexpr rlim_t limit = 8192;
    constexpr int templateLines = 2000;
    std::string templateText;
    for (int i = 0; i < templateLines; ++i) {
        templateText += "-wrn " + std::to_string(i) + "\n";
    }
    writeBytes(temp.path() / "template.txt", templateText);
    converter.analyserPersonality = temp.windowsPath("template.txt");
    std::unique_ptr<Group> root = makeGroup("radio");
    root->addFile("C:\\work\\radio\\main.c");

    EXPECT_EQ(failureUnderFileSizeLimit(limit, [&] { writeTreeUncaptured(*root); }),
              "2 " + destinationPath("person\\radio.p_a"));
}

// The lines kept before the report was opened are written while the run goes
// on: a write that fails there must still fail the report when it is closed.
TEST_F(WriterOnAFullDisk, ReportKeepsWhatFitAndFailsWhenClosed)
{
    constexpr rlim_t limit = 8192;
    constexpr int keptLines = 2000;
    const auto writeReport = [&] {
        ReportFile report(false);
        for (int i = 0; i < keptLines; ++i) {
            report.writeLine("taken", "Debug", "C:\\work\\radio\\src\\module" + std::to_string(i) + ".c", "radio");
        }
        report.open(destinationPath("report.tsv"));
        report.close();
    };

    EXPECT_EQ(failureUnderFileSizeLimit(limit, writeReport), "2 " + destinationPath("report.tsv"));
    EXPECT_EQ(readBytes(hostPath("report.tsv")).size(), limit);
}
