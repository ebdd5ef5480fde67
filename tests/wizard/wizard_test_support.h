#pragma once

#include "message_dialog.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWizard>

class Projbridge;

// A fresh temporary folder that is the working directory while it lives, so settings.txt lands there.
class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    // With the platform's separators, as the wizard shows paths.
    QString path(const QString& name = {}) const;
    // Creates a file (and its folders) holding the given bytes; returns its path.
    QString writeFile(const QString& name, const QByteArray& content = {}) const;
    QString makeFolder(const QString& name) const;
    QByteArray readFile(const QString& name) const;

private:
    QTemporaryDir folder;
    QString previousWorkingDirectory;
};

// Replaces the program search path while it lives.
class SearchPath {
public:
    explicit SearchPath(const QStringList& folders);
    ~SearchPath();
    SearchPath(const SearchPath&) = delete;
    SearchPath& operator=(const SearchPath&) = delete;

private:
    QByteArray previous;
};

// Writes an executable shell script named ProjbridgeCli into the folder; returns its path.
QString writeStandInConverter(const QString& folder, const QString& scriptBody);

// Stands in for the wizard's message boxes while it lives: keeps each one asked for and answers it.
class AnsweredMessages {
public:
    explicit AnsweredMessages(Projbridge& wizard, QMessageBox::StandardButton answer = QMessageBox::Ok);

    QList<MessageRequest> shown;
    QMessageBox::StandardButton answer;
};

// Fills the first page with paths that exist inside the folder, so that Next is enabled.
void fillFirstPage(Projbridge& wizard, const WorkingFolder& folder);

// Clicks a wizard button the way a user does; false when the button is hidden or disabled.
[[nodiscard]] bool press(Projbridge& wizard, QWizard::WizardButton which);

// Shows the wizard and waits until it can take input.
void showWizard(Projbridge& wizard);
