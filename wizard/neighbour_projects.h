#pragma once

#include <QString>

// The other project converted into the destination whose record lists files in the folder that this source's
// project is written into (named after the source file): Finish would refuse to write over them, as the converter
// refuses. Empty when there is none.
QString neighbourInProjectFolder(const QString& typedDestination, const QString& projectName,
                                 const QString& typedProjectFile);
