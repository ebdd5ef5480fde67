#include "reader/group.h"

Group::Group(std::string name) : name(std::move(name))
{
}

void Group::addChild(std::unique_ptr<Group> child)
{
    children_.push_back(std::move(child));
}

void Group::addFile(std::string_view path)
{
    files_.push_back(path);
}

void Group::addIncludePath(const std::string& folder)
{
    // The set keeps this linear on projects with thousands of header folders.
    if (includePathSet_.insert(folder).second) {
        includePaths_.push_back(folder);
    }
}

void Group::appendIncludePath(const std::string& folder)
{
    includePathSet_.insert(folder);
    includePaths_.push_back(folder);
}

void Group::setDefinition(const std::string& name, const std::string& value)
{
    definitions_[name] = value;
}
