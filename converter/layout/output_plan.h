#pragma once

#include "layout/same_files.h"
#include "layout/writer_settings.h"

#include <string>
#include <vector>

class Group;

// Where one group of the tree is written, as the plan's walk found it.
struct PlannedGroup {
    const Group* group = nullptr;
    // The folder the group's name is made in, and the name its folder takes
    // there: siblings are told apart so that no two share a folder.
    std::string baseFolder;
    std::string folderName;
    // baseFolder\folderName.
    std::string folder;
    // The "AnalPers=" value: the group's own analyser personality, else the one
    // it inherits (its nearest ancestor's own, or the project's default).
    std::string analyser;
    bool ownAnalyser = false;
    std::vector<PlannedGroup> children;
};

// What writing a group tree will make, found in one walk before anything is
// written: the same-file check, the run record and the writer all use it, so
// that what is checked is what is written. Throws RefusedBeforeWriting for a
// group name that leads out of its folder.
class OutputPlan {
public:
    OutputPlan(WriterSettings settings, const Group& root);

    const WriterSettings& settings() const { return settings_; }
    const PlannedGroup& root() const { return root_; }
    // Every file the writing creates or rewrites, each once, in the order
    // written: the project file, then the personality files.
    const std::vector<RunFile>& files() const { return files_; }

private:
    PlannedGroup planGroup(const Group& group, const std::string& parentPath, std::string folderName,
                           const std::string& inheritedAnalyser);

    WriterSettings settings_;
    std::vector<RunFile> files_;
    PlannedGroup root_;
};
