#include "driver/converter.h"
#include "reader/project_paths.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char* written;
    const char* resolved;
};

class ProjectPathRules : public testing::Test {
protected:
    const ProjectPaths paths = ProjectPaths::of("C:\\VisualDSP", "C:\\work\\app\\app.dpj");

    std::string includeFolder(std::string folder) const
    {
        paths.resolveProjectPath(folder);
        return folder;
    }
};

TEST_F(ProjectPathRules, IncludeFoldersAreAnchoredAtTheProjectFolder)
{
    const PathCase cases[] = {
        {".\\inc", "C:\\work\\app\\inc"},
        {"..\\common", "C:\\work\\app\\..\\common"},
        {"$(VDSP)\\include;", "C:\\VisualDSP\\include"},
        {"D:\\lib\\h", "D:\\lib\\h"},
        {".", "C:\\work\\app\\."},
        {"", "C:\\work\\app\\"},
        {"a;;", "C:\\work\\app\\a;"},
        {"inc/sub", "C:\\work\\app\\inc/sub"},
        {"$(VDSP)\\a\\$(VDSP)", "C:\\VisualDSP\\a\\$(VDSP)"},
        {"$(ADI_DSP)\\Blackfin\\include", "C:\\VisualDSP\\Blackfin\\include"},
        {"$(ADI_DSP)\\x\\$(VDSP)\\y\\$(VDSP)", "C:\\VisualDSP\\x\\C:\\VisualDSP\\y\\$(VDSP)"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(includeFolder(c.written), c.resolved) << "written: " << c.written;
    }
}

TEST_F(ProjectPathRules, SourceFilesAreAnchoredAtTheProjectFolder)
{
    const PathCase cases[] = {
        {".\\src\\main.c", "C:\\work\\app\\src\\main.c"},
        {"..\\lib\\util.c", "C:\\work\\app\\..\\lib\\util.c"},
        {"main.c", "C:\\work\\app\\main.c"},
        {"D:\\shared\\crc.c", "D:\\shared\\crc.c"},
        {"\\rooted\\x.c", "C:\\work\\app\\rooted\\x.c"},
        {".hidden.c", "C:\\work\\app\\hidden.c"},
        {"x.c;", "C:\\work\\app\\x.c;"},
        {"$(VDSP)\\lib\\x.c", "C:\\VisualDSP\\lib\\x.c"},
        {"$(ADI_DSP)\\Blackfin\\lib\\src\\a.c", "C:\\VisualDSP\\Blackfin\\lib\\src\\a.c"},
        {"$(VDSP)\\a\\$(VDSP).c", "C:\\VisualDSP\\a\\$(VDSP).c"},
    };
    // One string for all, as the reader keeps one: nothing of a path before stays.
    std::string resolved = "left over";
    for (const PathCase& c : cases) {
        paths.resolveSourceFilePath(c.written, resolved);
        EXPECT_EQ(resolved, c.resolved) << "written: " << c.written;
    }
}

TEST_F(ProjectPathRules, ProjectsOfAGroupAreAnchoredAtTheGroupFolder)
{
    const PathCase cases[] = {
        {".\\Core A\\CoreA.dpj", "C:\\work\\app\\Core A\\CoreA.dpj"},
        {"boot\\boot.dpj", "C:\\work\\app\\boot\\boot.dpj"},
        {"..\\lib\\lib.dpj", "C:\\work\\app\\..\\lib\\lib.dpj"},
        {"D:\\other\\o.dpj", "D:\\other\\o.dpj"},
        {"\\\\server\\share\\s.dpj", "\\\\server\\share\\s.dpj"},
        {"..\\lib/lib.dpj", "C:\\work\\app\\..\\lib\\lib.dpj"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(resolveGroupMemberPath("C:\\work\\app\\app.dpg", c.written), c.resolved) << "written: " << c.written;
    }
}

TEST(ProjectPathsInstallFolder, AFolderThatHoldsAVariableNameIsNotExpandedAgain)
{
    const ProjectPaths paths = ProjectPaths::of("E:\\$(ADI_DSP)", "C:\\p\\app.dpj");
    std::string folder = "$(VDSP)\\inc";
    paths.resolveProjectPath(folder);
    EXPECT_EQ(folder, "E:\\$(ADI_DSP)\\inc");
    std::string resolved;
    paths.resolveSourceFilePath("$(VDSP)\\a.c", resolved);
    EXPECT_EQ(resolved, "E:\\$(ADI_DSP)\\a.c");
}

TEST(ProjectPathsInstallFolder, ProjectFileWithoutFolderGivesNoPrefix)
{
    Converter converter{"app.dpj", "C:\\out", "C:\\VisualDSP"};
    std::string folder = "inc";
    converter.resolveProjectPath(folder);
    EXPECT_EQ(folder, "inc");
    std::string resolved;
    ProjectPaths::of("C:\\VisualDSP", "app.dpj").resolveSourceFilePath("main.c", resolved);
    EXPECT_EQ(resolved, "\\main.c");
    EXPECT_EQ(converter.sourceFolder(), "");
}

} // namespace
