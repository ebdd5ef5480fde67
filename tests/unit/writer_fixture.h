#pragma once

#include "support/temp_folder.h"

#include "driver/converter.h"
#include "reader/group.h"
#include "report/conversion_report.h"
#include "layout/destination_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// What a piece of writing printed, and how it failed: "" when it did not, else
// the IOERROR as "code path".
struct WriteResult {
    std::string output;
    std::string failure;
};

// A conversion of C:\work\radio\radio.dpj into a fresh destination folder, whose
// group trees the tests build by hand.
class WriterFixture : public ::testing::Test {
protected:
    static constexpr const char* sourceFolder = "C:\\work\\radio";

    WriterFixture();

    std::unique_ptr<Group> makeGroup(const std::string& name);
    Group& addChild(Group& parent, const std::string& name);

    // Writes the tree the way the project's root group is written.
    WriteResult writeTree(const Group& root);
    // The same, uncaptured: an IOERROR leaves it.
    void writeTreeUncaptured(const Group& root);
    // Runs the whole writer on the conversion's own (empty) root group.
    WriteResult writeProject();

    // The destination, or a path below it, as the converter names it.
    std::string destinationPath(const std::string& below = {}) const;
    // The host path of a path below the destination ("/" separated).
    std::filesystem::path hostPath(const std::filesystem::path& below) const;
    std::string projectFileBytes() const;

    TempFolder temp;
    const std::string destination;
    Converter converter;
    // What the tree writing made, and what it reported.
    DestinationFolders folders;
    ConversionReport report;
};

// How the work failed: "" when it did not, else the IOERROR as "code path".
std::string failureOf(const std::function<void()>& work);
