#pragma once

#include <string>

class DestinationFolders;

// Folders named after names from the project file: group names and
// configuration names, which may hold "\" or "/".

// Throws RefusedBeforeWriting, with the message of a folder that cannot be
// created, when a part of the name is "..": folders made for it would lie
// outside the folder they are made in. Every plan asks before writing.
void refuseNameLeavingItsFolder(const std::string& baseFolder, const std::string& name);

// Makes the folders that the separators inside the name lead through, each
// level in turn, below the base folder; the name's own folder is left to the
// caller. Folders this run made already are passed over.
void makeNameFolders(DestinationFolders& folders, const std::string& baseFolder, const std::string& name);
