#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in
// it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder (or a path below it) as the converter names it: a Windows path.
    std::string windowsPath(const std::filesystem::path& relative = {}) const;

private:
    std::filesystem::path path_;
};

// Makes a folder the process's current directory and goes back to the one
// before when the object goes.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::filesystem::path& folder);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

void writeBytes(const std::filesystem::path& file, const std::string& bytes);
std::string readBytes(const std::filesystem::path& file);
