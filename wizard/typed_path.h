#pragma once

#include <QString>

// A path as the user meant it: without blanks around it, without one pair of surrounding double or single quotes
// (as a file manager's "copy as path" or a terminal gives it) and, outside Windows, with a leading "~" standing
// for the home folder.
QString typedPath(const QString& text);

// The same path where this machine finds it: a drive path ("Z:\work\app.dpj", as the converter prints paths)
// through the converter's own drive mapping, which outside Windows is Wine's.
QString localPath(const QString& text);
