#pragma once

#include <QString>

#include <functional>

class QWidget;

// What one Browse button asks the user for.
struct BrowseRequest {
    bool directoriesOnly = false;
    QString caption;
    QString filter;
    QString dialogName;
    QString startPath;
};

// Asks the user for a path; an empty result means the user cancelled. Tests answer in place of the dialog.
using BrowseDialog = std::function<QString(QWidget* parent, const BrowseRequest& request)>;

// The modal file dialog that the wizard shows by default.
QString showBrowseDialog(QWidget* parent, const BrowseRequest& request);
