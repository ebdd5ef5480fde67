#pragma once

#include <QString>

// A path as the user meant it: without blanks around it, without one pair of surrounding double quotes (as a
// file manager's "copy as path" gives it) and, outside Windows, with a leading "~" standing for the home folder.
QString typedPath(const QString& text);
