#pragma once

#include <string>
#include <string_view>

// The one key by which a run compares the paths it makes: two spellings that
// the file system takes for one name give one key. Letter case is folded where
// the file system ignores it (Windows) and kept where it does not, so that on
// Linux "-pn APP" is not "-pn app" and a configuration renamed from Debug to
// DEBUG leaves the old tree behind as any other leftover.
std::string pathKey(std::string_view windowsPath);
