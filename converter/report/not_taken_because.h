#pragma once

// Why a file entry of the project goes into no group.
enum class NotTakenBecause {
    linkerFile,
    neitherHeaderNorSource,
    leftOutByExtensions,
    excludedInConfiguration,
    outsideAnyFolder,
    headerInProjectFolder,
};
