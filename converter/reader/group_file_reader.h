#pragma once

#include "reader/xml_lexer.h"

#include <string>
#include <string_view>
#include <vector>

class ConversionReport;

// One project of a project group, as the group file lists it.
struct GroupMember {
    // The project's name in the IDE, unique in the group.
    std::string name;
    // The project file as written: relative to the group file's folder, or absolute.
    std::string file;

    bool operator==(const GroupMember&) const = default;
};

// Reads a project group file (the IDE's list of the projects of one
// application) from the lexer. The dependencies between members only order
// the IDE's builds, so they are read over with every element not known here.
class GroupFileReader {
public:
    static constexpr std::string_view groupElement = "visualdsp-project-group";

    GroupFileReader(XmlLexer& lexer, ConversionReport& report) : lexer(lexer), report(report) {}
    GroupFileReader(const GroupFileReader&) = delete;
    GroupFileReader& operator=(const GroupFileReader&) = delete;

    // Whether the file's first element is a group's, whatever the file is called.
    static bool isGroupFile(XmlLexer& lexer);
    // Appends the members in the file's order; returns whether the file was
    // read up to its end tag. A false leaves the refused token pending, and
    // the members read before it stay.
    bool readGroup(std::vector<GroupMember>& members);

private:
    bool readMember(std::vector<GroupMember>& members);
    void skipElement(bool reportIt);

    XmlLexer& lexer;
    ConversionReport& report;
};
