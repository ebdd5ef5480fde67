#include "support/temp_folder.h"

#include "platform/platform.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("projbridge-test-" + std::to_string(entropy()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate)) {
            path_ = fs::canonical(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string TempFolder::windowsPath(const fs::path& relative) const
{
    fs::path full = relative.empty() ? path_ : path_ / relative;
    return platform::commandLinePath(full.string());
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const fs::path& folder) : previous_(fs::current_path())
{
    fs::current_path(folder);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory()
{
    std::error_code ignored;
    fs::current_path(previous_, ignored);
}

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
