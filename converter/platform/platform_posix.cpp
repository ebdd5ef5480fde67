// TEMPORARY placeholder until the platform layer lands; replaced by its owner.
#include "platform/platform.h"

namespace platform {
std::string currentDirectory() { return {}; }
std::string driveCurrentDirectory(char) { return {}; }
std::string ideAppPath() { return {}; }
bool pathExists(const std::string&) { return false; }
DirectoryCreation createDirectory(const std::string&) { return DirectoryCreation::failed; }
std::string hostPath(const std::string& p) { return p; }
std::string commandLinePath(const std::string& p) { return p; }
}
