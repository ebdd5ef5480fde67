#include "base/content_digest.h"
#include "base/file_preview.h"
#include "base/io_sizes.h"
#include "base/output_file.h"
#include "base/path_key.h"
#include "base/windows_path.h"
#include "platform/platform.h"
#include "record/line_merge.h"
#include "record/reconversion.h"
#include "record/run_record.h"
#include "record/run_record_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Paths = std::vector<std::string>;
using Names = OutputNames;

// The same bytes in any pieces give one digest; a flipped high bit, two such
// flips a word apart, or a trailing zero byte give another.
TEST(ContentDigest, DependsOnEveryBitAndNotOnThePieces)
{
    const std::string text = "-i \"C:\\work\\radio\\inc\"\r\n-d \"NDEBUG\"\r\n";
    const auto digestOf = [](const std::vector<std::string>& pieces) {
        ContentDigest digest;
        for (const std::string& piece : pieces) {
            digest.add(piece);
        }
        return digest.value();
    };
    const std::uint64_t whole = digestOf({text});
    EXPECT_EQ(digestOf({text.substr(0, 3), "", text.substr(3, 9), text.substr(12)}), whole);
    std::string twoFlips = text;
    twoFlips[7] = static_cast<char>(twoFlips[7] ^ 0x80);
    twoFlips[15] = static_cast<char>(twoFlips[15] ^ 0x80);
    EXPECT_NE(digestOf({twoFlips}), whole);
    EXPECT_NE(digestOf({text + '\0'}), whole);
    std::uint64_t parsed = 0;
    EXPECT_TRUE(parseDigestText(digestText(whole), parsed));
    EXPECT_EQ(parsed, whole);
    for (const char* notADigest :
         {"", "2ebba5129ebb669", "2ebba5129ebb669a0", "2EBBA5129EBB669A", "2ebba5129ebb669g"}) {
        EXPECT_FALSE(parseDigestText(notADigest, parsed)) << notADigest;
    }
}

// Records outlive the version and the platform that wrote them: a digest that
// changed would take every file of every destination for one the user edited.
TEST(ContentDigest, StaysWhatEarlierRunsRecorded)
{
    for (const auto& [bytes, recorded] :
         {std::pair{"", "e9e5a98d6ab09dd8"}, {"VersionTag45\r\n", "2ebba5129ebb669a"}}) {
        ContentDigest digest;
        digest.add(bytes);
        EXPECT_EQ(digestText(digest.value()), recorded) << bytes;
    }
}

const RecordRoots roots{"P:\\out", "P:\\db", "P:\\r.tsv"};

// A dry run weighs what it would write as a run weighs what it wrote: the same
// lines give the fingerprint the disk gives, nothing reaches the disk, and only
// the files an edit may be merged into keep their text, within the bound.
TEST(FilePreview, WeighsTheLinesAsTheDiskHoldsThem)
{
    const TempFolder folder;
    const std::string real = folder.windowsPath("real.p_a");
    const std::string merged = folder.windowsPath("merged.p_a");
    const std::string large = folder.windowsPath("large.p_a");
    const std::string database = folder.windowsPath("compile_commands.json");
    const std::string lines = "-i \"C:\\inc\"\r\n-d \"A\"\r\n-d \"B\"\r\n";
    FilePreview preview(lines.size());
    for (const std::string& path : {merged, large}) {
        preview.keepTextOf(platform::hostPath(path));
    }
    const auto write = [](OutputFile out, std::string_view extra = {}) {
        out.writeLine("-i \"C:\\inc\"");
        out.writeText("-d \"A\"\n-d \"B\"\n");
        out.writeLines(extra);
        out.close();
    };
    write(OutputFile(real));
    write(OutputFile(merged, &preview));
    write(OutputFile(large, &preview), "-w1\r\n");
    write(OutputFile(database, &preview));

    const FilePreview::File* file = preview.find(platform::hostPath(merged));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ((Fingerprint{file->size, file->digest.value()}), fingerprintOnDisk({real}, lines.size()));
    EXPECT_EQ(file->text, lines);
    EXPECT_EQ(preview.find(platform::hostPath(large))->text, "");
    EXPECT_EQ(preview.find(platform::hostPath(database))->text, "");
    for (const std::string& path : {merged, large, database}) {
        EXPECT_FALSE(platform::pathExists(path)) << path;
    }
}

// A file is read whole up to its bound, over many chunks, and not at all beyond it or when it is no file.
TEST(PlainFileText, ReadsUpToItsBoundAndNoFurther)
{
    const TempFolder folder;
    const std::string path = folder.windowsPath("base.p_a");
    std::string lines;
    for (std::size_t line = 0; lines.size() < 3 * readChunkSize; ++line) {
        lines += "-d \"M" + std::to_string(line) + "\"\r\n";
    }
    OutputFile out(path);
    out.writeLines(lines);
    out.close();
    EXPECT_EQ(plainFileText({path}, lines.size()), lines);
    EXPECT_EQ(plainFileText({path}, lines.size() - 1), std::nullopt);
    EXPECT_EQ(plainFileText({folder.windowsPath()}, lines.size()), std::nullopt);
}

TEST(RunRecord, ReadsWhatItWroteAndNothingDamaged)
{
    const RunRecord record{{{{"P:\\out\\radio.prj"}, {120, 0xABCDEF0123456789}},
                            {{"P:\\out\\a b\\x%.p_a"}, {0, 7}},
                            {{"P:\\db\\Debug\\compile_commands.json"}, {5, 5}},
                            {{"P:\\r.tsv"}, {6, 6}},
                            {{"P:\\out\\radio\\a b", "Board rev%.h"}, {9, 3}}},
                           {"P:\\out\\radio", "P:\\out\\radio\\a b"}};
    const std::string text = runRecordText(record, roots);
    const std::optional<RunRecord> read = parseRunRecord(text, roots);
    ASSERT_TRUE(read);
    EXPECT_EQ(runRecordText(*read, roots), text);
    EXPECT_EQ(read->files[1].name.path, "P:\\out\\a b\\x%.p_a");
    // A line break or a tab in a name stays on its line, and reads back as it
    // was where the file system takes such a name.
    const RunRecord odd{{{{"P:\\out\\x\n\t.p_a"}, {0, 7}}}, {}};
    const std::string oddText = runRecordText(odd, roots);
    EXPECT_EQ(oddText, "Projbridge run record 2\r\nfile 0 0000000000000007 destination x%0A%09.p_a\r\n");
    if (platform::isHostFileName("x\n\t.p_a")) {
        EXPECT_EQ(parseRunRecord(oddText, roots)->files.at(0).name.path, "P:\\out\\x\n\t.p_a");
    }
    // The base of a merge reads back as it was; one that does not match its
    // digest is passed over.
    ContentDigest baseDigest;
    baseDigest.add("-d \"X\"\r\n");
    const RunRecord withBase{{}, {}, {}, {{{8, baseDigest.value()}, "-d \"X\"\r\n"}}};
    const std::string baseText = runRecordText(withBase, roots);
    EXPECT_EQ(parseRunRecord(baseText, roots)->bases.at(0).content, "-d \"X\"\r\n");
    // Bytes to escape anywhere in a long base, beside bytes above ASCII that stay as they are.
    for (std::size_t offset = 0; offset < 20; ++offset) {
        for (const char special : {'%', '\x7F', '\x01', '\r'}) {
            const std::string content = std::string(offset, 'a') + special + "\xC3\xA9" + std::string(9, 'b');
            ContentDigest digest;
            digest.add(content);
            const RunRecord base{{}, {}, {}, {{{content.size(), digest.value()}, content}}};
            const std::string written = runRecordText(base, roots);
            const std::string hex =
                special == '%' ? "%25" : special == '\x7F' ? "%7F" : special == '\x01' ? "%01" : "%0D";
            EXPECT_NE(written.find(std::string(offset, 'a') + hex + "\xC3\xA9" + std::string(9, 'b') + "\r\n"),
                      std::string::npos) << offset;
            EXPECT_EQ(parseRunRecord(written, roots)->bases.at(0).content, content) << offset;
        }
    }
    std::string tampered = baseText;
    tampered[tampered.rfind('X')] = 'Y';
    EXPECT_TRUE(parseRunRecord(tampered, roots)->bases.empty());
    // The same record read for a destination typed, copied or moved otherwise.
    const std::optional<RunRecord> moved = parseRunRecord(text, {"Q:\\copy", "Q:\\db2", "Q:\\r2.tsv"});
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->files[0].name.path, "Q:\\copy\\radio.prj");
    EXPECT_EQ(moved->files[2].name.path, "Q:\\db2\\Debug\\compile_commands.json");
    for (const std::string& damaged :
         {std::string(), text.substr(0, text.size() - 3), std::string("Projbridge run record 3\r\n"),
          text + "file 12 0123456789abcdeg destination x\r\n", text + "file -1 0123456789abcdef destination x\r\n",
          text + "file 12 0123456789abcdef destination\r\n", text + "file 12 0123456789abcdef elsewhere x\r\n",
          text + "folder destination\r\n", text + "moved destination x\r\n",
          text + "file 1 0123456789abcdef destination x%4\r\n",
          text + "stand-in 1 0123456789abcdef destination radio\r\n",
          text + "stand-in 1 0123456789abcdef destination \tx.h\r\n",
          text + "stand-in 1 0123456789abcdef destination radio\t\r\n"}) {
        EXPECT_FALSE(parseRunRecord(damaged, roots)) << damaged;
    }
    // A line that leads out of its root, or a stand-in outside the folders the
    // converter made, is passed over: the run never weighs, sets aside or
    // removes the file it names, and the rest of the record still counts.
    for (const char* elsewhere :
         {"file 1 0123456789abcdef destination ..\\..\\home\\x", "file 1 0123456789abcdef destination C:\\x",
          "file 1 0123456789abcdef destination \\\\server\\share\\x", "file 1 0123456789abcdef destination \\x",
          "file 1 0123456789abcdef destination a\\.\\x", "file 1 0123456789abcdef report x",
          "folder destination ..", "stand-in 1 0123456789abcdef destination out\tx.h",
          "stand-in 1 0123456789abcdef destination radio\t../../x.h",
          "stand-in 1 0123456789abcdef destination radio\t.."}) {
        const std::optional<RunRecord> passedOver = parseRunRecord(text + elsewhere + "\r\n", roots);
        ASSERT_TRUE(passedOver) << elsewhere;
        EXPECT_EQ(runRecordText(*passedOver, roots), text) << elsewhere;
    }
    // Databases kept in the destination itself leave its files the
    // destination's, known to a later run without -compdb.
    EXPECT_EQ(runRecordText({{{{"P:\\out\\radio.prj"}, {1, 1}}}, {}}, {"P:\\out", "P:\\out"}),
              "Projbridge run record 2\r\nfile 1 0000000000000001 destination radio.prj\r\n");
    // The databases and the report of a run that writes none are carried as
    // they stand, never acted on.
    const std::optional<RunRecord> withoutDatabases = parseRunRecord(text, {"P:\\out"});
    ASSERT_TRUE(withoutDatabases);
    EXPECT_EQ(withoutDatabases->files.size(), 3U);
    EXPECT_EQ(withoutDatabases->carried.size(), 2U);
    EXPECT_EQ(parseRunRecord(runRecordText(*withoutDatabases, {"P:\\out"}), roots)->files.size(), 5U);
}

// Records of the version that named absolute paths count for what lies in
// this run's destination as it is named now.
TEST(RunRecord, ReadsAnEarlierRecordForTheFilesInItsRoots)
{
    const std::optional<RunRecord> read = parseRunRecord("Projbridge run record 1\r\n"
                                                         "file 1 0123456789abcdef P:\\out\\a.prj\r\n"
                                                         "file 1 0123456789abcdef P:\\home\\x\r\n"
                                                         "file 1 0123456789abcdef P:\\out\\..\\x\r\n"
                                                         "folder P:\\out\\a\r\n",
                                                         roots);
    ASSERT_TRUE(read);
    EXPECT_EQ(runRecordText(*read, roots), "Projbridge run record 2\r\nfile 1 0123456789abcdef destination a.prj\r\n"
                                           "folder destination a\r\n");
}

// The last run wrote a.prj, b.p_a (since edited), c.p_a, d.p_a (since gone),
// e.p_s (since edited) and the stand-ins "..\s.h" (since edited) and "T.h"
// in i; this run writes a, b, f and the stand-ins "..\s.h" and "t.h", and
// makes one of the two folders the last run made.
class Reconversion : public ::testing::Test {
protected:
    const OutputName editedStandIn{"D:\\o\\i", "..\\s.h"};
    const OutputName oldStandIn{"D:\\o\\i", "T.h"};
    const RunRecord last{{{{"D:\\o\\a.prj"}, {1, 1}},
                          {{"D:\\o\\b.p_a"}, {2, 2}},
                          {{"D:\\o\\c.p_a"}, {3, 3}},
                          {{"D:\\o\\d.p_a"}, {4, 4}},
                          {{"D:\\o\\e.p_s"}, {5, 5}},
                          {editedStandIn, {7, 7}},
                          {oldStandIn, {8, 8}}},
                         {"D:\\o\\g", "D:\\o\\g\\h", "D:\\o\\k"}};
    const FilesOnDisk onDisk{{outputKey({"D:\\o\\a.prj"}), {1, 1}},  {outputKey({"D:\\o\\b.p_a"}), {2, 9}},
                             {outputKey({"D:\\o\\c.p_a"}), {3, 3}},  {outputKey({"D:\\o\\e.p_s"}), {6, 5}},
                             {outputKey(editedStandIn), {7, 6}}, {outputKey(oldStandIn), {8, 8}}};
    const Names planned{
        {"D:\\o\\a.prj"}, {"D:\\o\\b.p_a"}, {"D:\\o\\f.p_a"}, {"D:\\o\\i", "..\\s.h"}, {"D:\\o\\i", "t.h"}};
    const RecordRoots fixtureRoots{"D:\\o"};
    const Paths plannedFolders{"D:\\o\\k"};
};

TEST_F(Reconversion, KeepsEditedFilesAndRemovesOnlyUnchangedLeftovers)
{
    EXPECT_EQ(editedFiles(last, planned, onDisk), (Names{{"D:\\o\\b.p_a"}, editedStandIn}));
    const Leftovers leftovers = findLeftovers(last, planned, plannedFolders, onDisk, {});
    EXPECT_EQ(leftovers.removed, (Names{{"D:\\o\\c.p_a"}, oldStandIn}));
    EXPECT_EQ(leftovers.kept, Names{{"D:\\o\\e.p_s"}});
    EXPECT_EQ(leftovers.folders, (Paths{"D:\\o\\g\\h", "D:\\o\\g"}));
    EXPECT_EQ(keptBesideName({"D:\\o\\b.p_a"}, 1), OutputName{"D:\\o\\b.p_a.edited"});
    EXPECT_EQ(keptBesideName({"D:\\o\\b.p_a"}, 3), OutputName{"D:\\o\\b.p_a.edited-3"});
    EXPECT_EQ(keptBesideName(editedStandIn, 2), (OutputName{"D:\\o\\i", "..\\s.h.edited-2"}));

    // Without a record nothing is set aside or removed.
    EXPECT_TRUE(editedFiles({}, planned, onDisk).empty());
    EXPECT_TRUE(findLeftovers({}, planned, plannedFolders, onDisk, {}).removed.empty());
}

TEST_F(Reconversion, NeverTouchesWhatAnotherProjectWrote)
{
    const std::vector<ProjectRecord> neighbours{{"other", {{{{"D:\\o\\c.p_a"}, {3, 3}}}, {"D:\\o\\g"}}}};
    const std::optional<NeighbourClash> clash = findNeighbourClash({{"D:\\o\\x"}, {"D:\\o\\c.p_a"}}, neighbours);
    ASSERT_TRUE(clash);
    EXPECT_EQ(clash->file, OutputName{"D:\\o\\c.p_a"});
    EXPECT_EQ(clash->projectName, "other");
    EXPECT_FALSE(findNeighbourClash(planned, neighbours));
    const Leftovers leftovers = findLeftovers(last, planned, plannedFolders, onDisk, neighbours);
    EXPECT_EQ(leftovers.removed, Names{oldStandIn});
    EXPECT_EQ(leftovers.folders, Paths{"D:\\o\\g\\h"});
}

TEST_F(Reconversion, RecordClaimsOnlyWhatTheConverterWrote)
{
    // b was set aside and rewritten, f made; e.p_s is still planned but kept
    // as the user has it, so its entry stays as the converter wrote it.
    const Names stillPlanned{{"D:\\o\\a.prj"}, {"D:\\o\\b.p_a"}, {"D:\\o\\e.p_s"}, {"D:\\o\\f.p_a"}};
    const RunWrites run{{{{"D:\\o\\a.prj"}, {1, 1}}, {{"D:\\o\\b.p_a"}, {2, 8}}, {{"D:\\o\\f.p_a"}, {6, 6}}},
                        {{"D:\\o\\b.p_a"}},
                        {"D:\\o\\n"}};
    EXPECT_EQ(runRecordText(nextRecord(last, stillPlanned, plannedFolders, run, true), fixtureRoots),
              runRecordText({{{{"D:\\o\\a.prj"}, {1, 1}},
                              {{"D:\\o\\b.p_a"}, {2, 8}},
                              {{"D:\\o\\e.p_s"}, {5, 5}},
                              {{"D:\\o\\f.p_a"}, {6, 6}}},
                             {"D:\\o\\k", "D:\\o\\n"}},
                            fixtureRoots));
    // A run that failed after touching b, c and a stand-in wrote only a whole.
    const RunWrites failed{{{{"D:\\o\\a.prj"}, {1, 1}}}, {{"D:\\o\\b.p_a"}, {"D:\\o\\c.p_a"}, oldStandIn}, {}};
    EXPECT_EQ(runRecordText(nextRecord(last, stillPlanned, plannedFolders, failed, false), fixtureRoots),
              runRecordText({{{{"D:\\o\\a.prj"}, {1, 1}},
                              {{"D:\\o\\e.p_s"}, {5, 5}},
                              {{"D:\\o\\d.p_a"}, {4, 4}},
                              {editedStandIn, {7, 7}}},
                             last.folders},
                            fixtureRoots));
}

// Letter case counts as the file system counts it: on Windows a.prj and
// A.PRJ are one file; elsewhere a configuration renamed from Debug to DEBUG
// leaves the old file behind as a leftover.
TEST_F(Reconversion, LetterCaseAsTheFileSystemHasIt)
{
    const Names renamed{{"D:\\O\\A.PRJ"}};
    const Leftovers leftovers = findLeftovers(last, renamed, {}, onDisk, {});
    const bool aIsLeftover = std::find(leftovers.removed.begin(), leftovers.removed.end(),
                                       OutputName{"D:\\o\\a.prj"}) != leftovers.removed.end();
    EXPECT_EQ(aIsLeftover, !platform::namesIgnoreLetterCase());
    EXPECT_EQ(pathKey("D:\\o\\a.prj") == pathKey("D:\\O\\A.PRJ"), platform::namesIgnoreLetterCase());
}

// A kept name fits in one entry of any file system, cut on a character.
TEST(KeptBesideName, FitsTheNameLimit)
{
    const std::string longName = std::string(250, 'x') + "\xC3\xA9.p_a";
    const OutputName kept = keptBesideName({"D:\\o\\" + longName}, 12);
    EXPECT_EQ(fileName(kept.path).size(), maxEntryNameBytes);
    EXPECT_TRUE(kept.path.ends_with("x.edited-12")) << kept.path;
    const OutputName standIn = keptBesideName({"D:\\o\\i", std::string(300, 'y')}, 1);
    EXPECT_EQ(standIn.standInName.size(), maxEntryNameBytes);
}

// The user's line and the project's change both land where they lie apart;
// where they meet, nothing is merged.
TEST(MergeLines, TakesBothSidesWhereTheyLieApart)
{
    const std::string base = "-i a\r\n-i b\r\n-i c\r\n-d X\r\n";
    struct Row {
        const char* edited;
        const char* fresh;
        std::optional<std::string> merged;
    };
    for (const Row& row : std::vector<Row>{
             {"-i a\r\n-i mine\r\n-i b\r\n-i c\r\n-d X\r\n", "-i a\r\n-i b\r\n-i c\r\n-d X\r\n-d NEW\r\n",
              "-i a\r\n-i mine\r\n-i b\r\n-i c\r\n-d X\r\n-d NEW\r\n"},
             {"-i b\r\n-i c\r\n-d X\r\n", "-i a\r\n-i b\r\n-i c\r\n-d Y\r\n", "-i b\r\n-i c\r\n-d Y\r\n"},
             {"-i a\r\n-i b\r\n-i c\r\n-d X\r\n", "-i c\r\n", "-i c\r\n"},
             {"-i a\r\n-i B\r\n-i c\r\n-d X\r\n", "-i a\r\n-i b2\r\n-i c\r\n-d X\r\n", std::nullopt},
             {"-i a\r\n-i b\r\n-i c\r\n-i mine\r\n-d X\r\n", "-i a\r\n-i b\r\n-i c\r\n-d Y\r\n", std::nullopt},
             {"-i a\r\n-i b\r\n-i c\r\n-d X\r\n-d N\r\n", "-i a\r\n-i b\r\n-i c\r\n-d X\r\n-d N\r\n",
              "-i a\r\n-i b\r\n-i c\r\n-d X\r\n-d N\r\n"},
             {"-i a\r\n-i b\r\n-i c\r\n-d X", "-i a\r\n", std::nullopt},
             {"", "-i a\r\n-i b\r\n-i c\r\n-d X\r\n-d N\r\n", std::nullopt},
         }) {
        EXPECT_EQ(mergeLines(base, row.edited, row.fresh), row.merged) << row.edited << "|" << row.fresh;
    }
    // Far apart texts are not worth merging, and cost no more than the bound.
    std::string many;
    for (int i = 0; i < 5000; ++i) {
        many += std::to_string(i) + "\n";
    }
    EXPECT_EQ(mergeLines("", many, "x\n"), std::nullopt);
    EXPECT_EQ(mergeLines(many, many + "mine\n", "0\nnew\n" + many.substr(2)), "0\nnew\n" + many.substr(2) + "mine\n");
}

} // namespace
