#pragma once

#include "base/text_list.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

// One unit of the future analyser project: the project itself, a configuration
// or a folder of source files, with what belongs to it. The reader fills it;
// the writer and the databases only read it.
class Group {
public:
    Group() = default;
    explicit Group(std::string name);
    Group(const Group&) = delete;
    Group& operator=(const Group&) = delete;

    void addChild(std::unique_ptr<Group> child);
    void addFile(std::string_view path);
    // Adds the folder unless it is already listed.
    void addIncludePath(const std::string& folder);
    // Adds the folder even when it is already listed.
    void appendIncludePath(const std::string& folder);
    void setDefinition(const std::string& name, const std::string& value);

    const TextList& files() const { return files_; }
    const std::vector<std::string>& includePaths() const { return includePaths_; }
    const std::map<std::string, std::string>& definitions() const { return definitions_; }
    const std::vector<std::unique_ptr<Group>>& children() const { return children_; }
    // Without files and children: the group writes nothing but its folders.
    bool isEmpty() const { return files_.empty() && children_.empty(); }

    std::string sourceDir;
    std::string name;
    // The group of a configuration, or of a configuration's own entries inside
    // a folder group: it belongs to the configuration of its name only.
    bool isConfiguration = false;
    // Of a target: the configuration the IDE builds ("active" of the project's
    // configurations), "" when the project names none.
    std::string activeConfiguration;
    // Of a project: its project file's name without the extension, which also
    // names the makefile the IDE exports beside it.
    std::string projectFileStem;
    // Of a project: its name in the IDE (the project element's "name"), with
    // which the goals of that makefile begin; "" when the file gives none.
    std::string ideProjectName;
    // A configuration's tool options as the project writes them, by tool type
    // ("Compiler", "Assembler"): the compilation databases read more of them.
    std::map<std::string, std::string> toolOptions;

private:
    TextList files_;
    std::vector<std::string> includePaths_;
    std::unordered_set<std::string> includePathSet_;
    std::map<std::string, std::string> definitions_;
    // Last, so that children are destroyed before this group's own containers.
    std::vector<std::unique_ptr<Group>> children_;
};
