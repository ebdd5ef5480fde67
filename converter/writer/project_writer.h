#pragma once

#include <string>

class ConversionReport;
class DestinationFolders;
class Group;
class OutputFile;
class OutputPlan;
struct PlannedGroup;
struct WriterSettings;

// Writes the analyser project file that a plan describes, and below the
// destination folder its group folders and personality files, walking the
// planned tree depth first.
class ProjectWriter {
public:
    // The folders record what this run made; the report is told which group
    // folders were renamed.
    ProjectWriter(const OutputPlan& plan, DestinationFolders& folders, ConversionReport& report);

    // The whole project file, with its progress lines.
    void writeProjectFile();
    // One group's block, and those of its children, into the open project file.
    void write(OutputFile& out, const PlannedGroup& planned);

private:
    // The personality files a block names, chosen and made in this order.
    std::string selectMessagePersonality();
    // Prints the progress line of a group's own personality.
    const std::string& chooseAnalyserPersonality(const PlannedGroup& planned);
    void produceAnalyserPersonality(const PlannedGroup& planned);
    void writeAnalyserPersonality(const Group& group, const std::string& path);
    std::string selectCompilerPersonality();
    std::string selectPlaceholder(const std::string& named, std::string_view extension);
    void appendTemplate(OutputFile& personality);

    const OutputPlan& plan;
    const WriterSettings& settings;
    DestinationFolders& folders;
    ConversionReport& report;
};
