#include "base/windows_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace {

struct PathForm {
    std::string_view path;
    bool hasDrive;
    bool isDriveAbsolute;
    bool isRooted;
    bool isDriveRoot;
    bool endsWithSeparator;
    std::optional<std::string_view> parentFolder;
    std::string_view fileName;
    std::string_view extension;
    std::string_view fileExtension;
    std::string_view withoutExtension;
    std::vector<std::string_view> parts;
};

// Each row is one path and everything the helpers tell of it; the parts come
// back as views into the path itself, never as copies.
TEST(WindowsPath, TellsEachPartOfAPath)
{
    const std::vector<PathForm> forms{
        {"C:\\w\\a.c", true, true, false, false, false, "C:\\w", "a.c", "c", "c", "C:\\w\\a", {"C:", "w", "a.c"}},
        {"C:w", true, false, false, false, false, std::nullopt, "C:w", "C:w", "", "C:w", {"C:w"}},
        {"C:", true, false, false, false, false, std::nullopt, "C:", "C:", "", "C:", {"C:"}},
        {"C:\\", true, true, false, true, true, "C:", "", "C:\\", "", "C:\\", {"C:", ""}},
        {"\\w\\", false, false, true, false, true, "\\w", "", "\\w\\", "", "\\w\\", {"", "w", ""}},
        {"w\\a.b.c", false, false, false, false, false, "w", "a.b.c", "c", "c", "w\\a.b", {"w", "a.b.c"}},
        {"a.b\\make", false, false, false, false, false, "a.b", "make", "b\\make", "", "a", {"a.b", "make"}},
        {"make", false, false, false, false, false, std::nullopt, "make", "make", "", "make", {"make"}},
        {"a/b\\..", false, false, false, false, false, "a/b", "..", "", "", "a/b\\.", {"a", "b", ".."}},
        {"", false, false, false, false, false, std::nullopt, "", "", "", "", {""}},
    };
    for (const PathForm& form : forms) {
        SCOPED_TRACE(form.path);
        EXPECT_EQ(hasDrive(form.path), form.hasDrive);
        EXPECT_EQ(isDriveAbsolute(form.path), form.isDriveAbsolute);
        EXPECT_EQ(isRooted(form.path), form.isRooted);
        EXPECT_EQ(isDriveRoot(form.path), form.isDriveRoot);
        EXPECT_EQ(endsWithSeparator(form.path), form.endsWithSeparator);
        EXPECT_EQ(parentFolder(form.path), form.parentFolder);
        EXPECT_EQ(fileName(form.path), form.fileName);
        EXPECT_EQ(extension(form.path), form.extension);
        EXPECT_EQ(fileExtension(form.path), form.fileExtension);
        EXPECT_EQ(withoutExtension(form.path), form.withoutExtension);
        EXPECT_EQ(pathParts(form.path), form.parts);
        EXPECT_EQ(fileName(form.path).data() + fileName(form.path).size(), form.path.data() + form.path.size());
    }
    EXPECT_EQ(fileName("a/b\\c/d", '/'), "d");
    EXPECT_EQ(parentFolder("a/b\\c/d", '/'), "a/b\\c");
    EXPECT_EQ(joinPath("C:\\w", "a.c"), "C:\\w\\a.c");
}

} // namespace
