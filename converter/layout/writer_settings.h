#pragma once

#include <string>

// What the writer takes from the run: values, so that it needs nothing above it.
struct WriterSettings {
    std::string destinationFolder;
    std::string projectName;
    // The personalities named on the command line, or "". Without a message or
    // compiler personality the writer makes a project-wide placeholder; the
    // analyser one is a template that ends each analyser personality it makes.
    std::string messagePersonality;
    std::string analyserTemplate;
    std::string compilerPersonality;
    // The root group's children are the projects of a project group.
    bool sourceIsGroup = false;
};
