#include "support/wine_prefix_posix.h"

#include <cstdlib>

namespace fs = std::filesystem;

namespace {
constexpr const char* prefixVariable = "WINEPREFIX";
}

TempWinePrefix::TempWinePrefix()
{
    if (const char* previous = std::getenv(prefixVariable)) {
        previousPrefix_ = previous;
    }
    fs::create_directory(path() / "dosdevices");
    ::setenv(prefixVariable, path().c_str(), 1);
}

TempWinePrefix::~TempWinePrefix()
{
    if (previousPrefix_) {
        ::setenv(prefixVariable, previousPrefix_->c_str(), 1);
    } else {
        ::unsetenv(prefixVariable);
    }
}

void TempWinePrefix::linkDrive(char letter, const fs::path& target)
{
    fs::create_symlink(target, path() / "dosdevices" / std::string{letter, ':'});
}

fs::path TempWinePrefix::addDriveFolder(char letter)
{
    const std::string name = std::string("drive_") + letter;
    fs::create_directory(path() / name);
    linkDrive(letter, fs::path("..") / name);
    return path() / name;
}

void TempWinePrefix::writeSystemReg(const std::string& text) const
{
    writeBytes(path() / "system.reg", text);
}
