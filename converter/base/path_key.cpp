#include "base/path_key.h"

#include "base/ascii_case.h"
#include "platform/platform.h"

std::string pathKey(std::string_view windowsPath)
{
    std::string key(windowsPath);
    return platform::namesIgnoreLetterCase() ? asciiUpperCase(std::move(key)) : key;
}
