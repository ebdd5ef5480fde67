// Guards against work that grows faster than the project. Each case builds one
// kind of project at two sizes, four times apart, and reads both; the larger
// may cost at most four times the heap allocations and the allocated bytes of
// the smaller. Unlike times on a shared machine, these counts are exact and
// repeat from run to run. They catch copying or rebuilding that grows with
// what was read so far; a loop that only compares allocates nothing and is
// left to the benchmark's instruction counts.
//
// This is a program of its own because it replaces the global allocation
// functions, which would change every other test's program too.

#include "driver/converter.h"
#include "support/project_text.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> allocationCount{0};
std::atomic<std::size_t> allocatedBytes{0};

void* allocate(std::size_t size) noexcept
{
    if (counting.load(std::memory_order_relaxed)) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
        allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* memory = allocate(size)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

namespace {

using namespace projectText;

constexpr int smallSize = 1000;
constexpr int growth = 4;
// Vectors and hash tables grow in steps, so a linear reader need not land on
// exactly four times; a cost that grows with the square would give sixteen.
constexpr double allowedExcess = 1.1;
// Files per folder in the cases that spread files over folders.
constexpr int filesPerFolder = 10;

struct Cost {
    std::size_t allocations = 0;
    std::size_t bytes = 0;
};

// The compiler options each configuration of a real project has.
std::string boardConfiguration(const std::string& name, int index)
{
    const std::string board = std::to_string(index);
    return configuration(name, "|-O>1|-D>NDEBUG -D>BOARD=" + board + "|-I>.\\include;.\\boards\\b" + board + "|-w>0");
}

const std::string debugAndRelease = boardConfiguration("Debug", 0) + boardConfiguration("Release", 1);

std::string boardProject(const std::string& configurationList, const std::string& folderList)
{
    return project(configurations(configurationList) + folders(folderList));
}

std::string sourceFile(const std::string& path, const std::vector<std::string>& configurationNames)
{
    std::string enabled;
    for (const std::string& name : configurationNames) {
        enabled += fileConfiguration(name, excludedFlag("no"));
    }
    return file(path, fileConfigurations(enabled));
}

std::string moduleName(int module)
{
    return "module" + std::to_string(module);
}

// Source files with a block for each configuration, ten to a folder, all in
// the target's configurations.
std::string sourceFilesProject(int size)
{
    std::string modules;
    for (int module = 0; module < size / filesPerFolder; ++module) {
        std::string sources;
        for (int unit = 0; unit < filesPerFolder; ++unit) {
            sources += sourceFile(".\\src\\" + moduleName(module) + "\\unit" + std::to_string(unit) + ".c",
                                  {"Debug", "Release"});
        }
        modules += folder(moduleName(module), files(sources));
    }
    return boardProject(debugAndRelease, folder("Source Files", files(sourceFile(".\\main.c", {"Debug", "Release"})) +
                                                                    folders(modules)));
}

// Header files each in a folder of its own: as many include folders.
std::string headerFoldersProject(int size)
{
    std::string headers;
    for (int module = 0; module < size; ++module) {
        headers += file(".\\include\\" + moduleName(module) + "\\api.h");
    }
    return boardProject(debugAndRelease, folder("Header Files", files(headers)));
}

// Source folders that become groups of their own, each with a file whose
// configurations have to be found or made inside that group.
std::string folderGroupsProject(int size)
{
    std::string groups;
    for (int module = 0; module < size; ++module) {
        const std::string unit = sourceFile(".\\src\\" + moduleName(module) + "\\unit.c", {"Debug", "Release"});
        groups += folder(moduleName(module), folders(folder("code", files(unit))));
    }
    return boardProject(debugAndRelease, folder("Source Files", folders(groups)));
}

// Configurations with their compiler options, and two files listed in each.
std::string configurationsProject(int size)
{
    std::string boards;
    std::vector<std::string> names;
    for (int index = 0; index < size; ++index) {
        names.push_back("Board" + std::to_string(index));
        boards += boardConfiguration(names.back(), index);
    }
    const std::string sources = sourceFile(".\\src\\main.c", names) + sourceFile(".\\src\\board.c", names);
    return boardProject(boards, folder("Source Files", files(sources)));
}

Cost readingCost(const std::string& projectText)
{
    TempFolder folder;
    writeBytes(folder.path() / "big.dpj", projectText);
    Converter converter(folder.windowsPath("big.dpj"), folder.windowsPath("out"), "C:\\VisualDSP");
    const std::size_t allocationsBefore = allocationCount.load();
    const std::size_t bytesBefore = allocatedBytes.load();
    counting = true;
    const bool accepted = converter.read().extent == ReadExtent::wholeProject;
    counting = false;
    EXPECT_TRUE(accepted) << "the generated project was not read to its end";
    return {allocationCount.load() - allocationsBefore, allocatedBytes.load() - bytesBefore};
}

void expectLinear(const std::function<std::string(int)>& makeProject)
{
    const Cost small = readingCost(makeProject(smallSize));
    const Cost large = readingCost(makeProject(smallSize * growth));
    // The counter must see the reading at all, or the limits below prove
    // nothing: what is kept of each item takes at least a byte.
    ASSERT_GT(small.bytes, static_cast<std::size_t>(smallSize));
    EXPECT_LE(static_cast<double>(large.allocations), growth * allowedExcess * static_cast<double>(small.allocations))
        << "allocations: " << small.allocations << " for " << smallSize << ", " << large.allocations << " for "
        << smallSize * growth;
    EXPECT_LE(static_cast<double>(large.bytes), growth * allowedExcess * static_cast<double>(small.bytes))
        << "bytes: " << small.bytes << " for " << smallSize << ", " << large.bytes << " for " << smallSize * growth;
}

TEST(ReadingScales, linearlyWithSourceFiles)
{
    expectLinear(sourceFilesProject);
}
TEST(ReadingScales, linearlyWithHeaderFolders)
{
    expectLinear(headerFoldersProject);
}
TEST(ReadingScales, linearlyWithFolderGroups)
{
    expectLinear(folderGroupsProject);
}
TEST(ReadingScales, linearlyWithConfigurations)
{
    expectLinear(configurationsProject);
}

} // namespace
