#include "base/content_digest.h"
#include "record/reconversion.h"
#include "record/run_record.h"

#include <gtest/gtest.h>

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

TEST(RunRecord, ReadsWhatItWroteAndNothingDamaged)
{
    const RunRecord record{{{{"P:\\out\\radio.prj"}, {120, 0xABCDEF0123456789}},
                            {{"P:\\out\\a b\\x.p_a"}, {0, 7}},
                            {{"P:\\out\\radio\\a b", "Board rev.h"}, {9, 3}}},
                           {"P:\\out\\radio", "P:\\out\\radio\\a b"}};
    const std::string text = runRecordText(record);
    const std::optional<RunRecord> read = parseRunRecord(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(runRecordText(*read), text);
    for (const std::string& damaged :
         {std::string(), text.substr(0, text.size() - 3), std::string("Projbridge run record 2\r\n"),
          text + "file 12 0123456789abcdeg P:\\x\r\n", text + "file -1 0123456789abcdef P:\\x\r\n",
          text + "file 12 0123456789abcdef\r\n", text + "folder \r\n", text + "moved P:\\x\r\n",
          text + "stand-in 1 0123456789abcdef P:\\out\\radio\r\n", text + "stand-in 1 0123456789abcdef \tx.h\r\n",
          text + "stand-in 1 0123456789abcdef P:\\out\\radio\t\r\n"}) {
        EXPECT_FALSE(parseRunRecord(damaged)) << damaged;
    }
    // A stand-in outside the folders the converter made, or named to lead out
    // of its folder, is passed over: the run never weighs, sets aside or
    // removes the file it names.
    for (const char* elsewhere : {"P:\\out\tx.h", "P:\\out\\radio\t../../x.h", "P:\\out\\radio\t.."}) {
        const std::optional<RunRecord> passedOver = parseRunRecord(text + "stand-in 1 0123456789abcdef " + elsewhere +
                                                                   "\r\n");
        ASSERT_TRUE(passedOver) << elsewhere;
        EXPECT_EQ(runRecordText(*passedOver), text) << elsewhere;
    }
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
    const FilesOnDisk onDisk{{"D:\\O\\A.PRJ", {1, 1}},           {"D:\\O\\B.P_A", {2, 9}},
                             {"D:\\O\\C.P_A", {3, 3}},           {"D:\\O\\E.P_S", {6, 5}},
                             {outputKey(editedStandIn), {7, 6}}, {outputKey(oldStandIn), {8, 8}}};
    const Names planned{
        {"D:\\o\\A.prj"}, {"D:\\o\\b.p_a"}, {"D:\\o\\f.p_a"}, {"D:\\O\\I", "..\\s.h"}, {"D:\\o\\i", "t.h"}};
    const Paths plannedFolders{"D:\\o\\k"};
};

TEST_F(Reconversion, KeepsEditedFilesAndRemovesOnlyUnchangedLeftovers)
{
    EXPECT_EQ(editedFiles(last, planned, onDisk), (Names{{"D:\\o\\b.p_a"}, {"D:\\O\\I", "..\\s.h"}}));
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
    const std::vector<ProjectRecord> neighbours{{"other", {{{{"d:\\o\\C.p_a"}, {3, 3}}}, {"D:\\O\\G"}}}};
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
    EXPECT_EQ(runRecordText(nextRecord(last, stillPlanned, plannedFolders, run, true)),
              runRecordText({{{{"D:\\o\\a.prj"}, {1, 1}},
                              {{"D:\\o\\b.p_a"}, {2, 8}},
                              {{"D:\\o\\e.p_s"}, {5, 5}},
                              {{"D:\\o\\f.p_a"}, {6, 6}}},
                             {"D:\\o\\k", "D:\\o\\n"}}));
    // A run that failed after touching b, c and a stand-in wrote only a whole.
    const RunWrites failed{{{{"D:\\o\\a.prj"}, {1, 1}}}, {{"D:\\o\\b.p_a"}, {"D:\\o\\c.p_a"}, oldStandIn}, {}};
    EXPECT_EQ(runRecordText(nextRecord(last, stillPlanned, plannedFolders, failed, false)),
              runRecordText({{{{"D:\\o\\a.prj"}, {1, 1}},
                              {{"D:\\o\\e.p_s"}, {5, 5}},
                              {{"D:\\o\\d.p_a"}, {4, 4}},
                              {editedStandIn, {7, 7}}},
                             last.folders}));
}

} // namespace
