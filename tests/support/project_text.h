#pragma once

#include <string>

// Pieces of project files, written the way VisualDSP writes them, to be
// nested: project(configurations(configuration("Debug")) + folders(...)).
namespace projectText {

// The whole file around the content, with a target of the processor; an
// empty processor makes a project without a target.
std::string project(const std::string& content, const std::string& processor = "ADSP-21262");

std::string configurations(const std::string& content);
// The compiler takes the option text; the assembler's define must reach no group.
std::string configuration(const std::string& name, const std::string& compilerOption = "");

std::string folders(const std::string& content);
std::string folder(const std::string& name, const std::string& content);
std::string files(const std::string& content);
std::string file(const std::string& path, const std::string& fileConfigurations = "");

std::string fileConfigurations(const std::string& content);
std::string fileConfiguration(const std::string& name, const std::string& excludedFlag);
std::string excludedFlag(const std::string& value);

} // namespace projectText
