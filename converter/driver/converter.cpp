// TEMPORARY placeholder until the driver lands; replaced by its owner.
#include "driver/converter.h"

Converter::Converter(std::string sourcePath, std::string destinationFolder, std::string installFolder)
    : sourcePath(std::move(sourcePath)), destinationFolder(std::move(destinationFolder)),
      installFolder(std::move(installFolder)), rootGroup(std::make_unique<Group>("", this)) {}
int Converter::run() { return 0; }
bool Converter::read() { return false; }
void Converter::addExtensions(const std::string&) {}
bool Converter::acceptsExtension(const std::string&) const { return true; }
void Converter::resolveProjectPath(std::string&) const {}
std::string Converter::resolveSourceFilePath(const std::string& file) const { return file; }
std::string findInstallFolder() { return {}; }
