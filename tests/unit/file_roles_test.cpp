#include "reader/file_roles.h"

#include <gtest/gtest.h>

namespace {

struct RoleCase {
    const char* path;
    FolderKind kind;
    FileRole role;
    NotTakenBecause whyNot;
};

// The rules by folder kind first, then by extension in a folder of no kind.
const RoleCase roleCases[] = {
    {"a.xyz", FolderKind::header, FileRole::header, {}},
    {"a.h", FolderKind::source, FileRole::source, NotTakenBecause::leftOutByExtensions},
    {"a.c", FolderKind::linker, FileRole::notTaken, NotTakenBecause::linkerFile},
    {"a.c", FolderKind::outsideFolders, FileRole::notTaken, NotTakenBecause::outsideAnyFolder},
    {"k\\VDK.HXX", FolderKind::byExtension, FileRole::header, {}},
    {"k\\crt.S", FolderKind::byExtension, FileRole::source, NotTakenBecause::leftOutByExtensions},
    {"k\\a.dsp", FolderKind::byExtension, FileRole::source, NotTakenBecause::leftOutByExtensions},
    {"k\\VDK.vdk", FolderKind::byExtension, FileRole::notTaken, NotTakenBecause::neitherHeaderNorSource},
    // A dot in a folder's name is no extension of the file.
    {"a.c\\Makefile", FolderKind::byExtension, FileRole::notTaken, NotTakenBecause::neitherHeaderNorSource},
};

TEST(FileRolesTest, EachEntryIsTakenByItsFolderKindOrElseByItsExtension)
{
    for (const RoleCase& entry : roleCases) {
        SCOPED_TRACE(entry.path);
        EXPECT_EQ(roleByFolder(entry.path, entry.kind), entry.role);
        if (entry.role != FileRole::header) {
            EXPECT_EQ(whyNotTaken(entry.path, entry.kind), entry.whyNot);
        }
    }
}

TEST(FileRolesTest, TheAssemblerTakesSourcesByTheExtensionOfTheFileName)
{
    EXPECT_TRUE(isAssemblySource("k\\crt.S"));
    EXPECT_TRUE(isAssemblySource("k\\boot.ASM"));
    EXPECT_FALSE(isAssemblySource("k\\main.c"));
    EXPECT_FALSE(isAssemblySource("k.asm\\main"));
    EXPECT_FALSE(isAssemblySource("k\\s"));
}

// Only what the compiler or the assembler builds gets a database entry.
TEST(FileRolesTest, TheToolsBuildSourcesByTheExtensionOfTheFileName)
{
    for (const char* built : {"k\\main.C", "k\\dsp.cxx", "k\\crt.S", "k\\boot.dsp"}) {
        EXPECT_TRUE(isBuiltSource(built)) << built;
    }
    for (const char* other : {"k\\macros.h", "k\\app.cfg", "k\\Makefile", "k.c\\README", "k\\app.ldf"}) {
        EXPECT_FALSE(isBuiltSource(other)) << other;
    }
}

TEST(FileRolesTest, AFolderNameTellsTheFirstKindItHolds)
{
    EXPECT_EQ(kindNamedIn("Source Files and Header Files"), FolderKind::header);
    EXPECT_EQ(kindNamedIn("My Linker Files"), FolderKind::linker);
    EXPECT_EQ(kindNamedIn("Source Files"), FolderKind::source);
    EXPECT_EQ(kindNamedIn("source files"), std::nullopt);
}

} // namespace
