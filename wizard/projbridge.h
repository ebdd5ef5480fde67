#pragma once

#include "browse_dialog.h"
#include "message_dialog.h"
#include "projbridge_base.h"
#include "project_group.h"
#include "settings_file.h"
#include "wizard_fields.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>

#include <functional>

class QProcess;
class QThread;

// Hands a file or folder to the system's viewer; tests look at what would have been opened instead.
using UrlOpener = std::function<bool(const QUrl& url)>;

// The wizard's controller: checks the pages as the user types, fills fields from browse dialogs, keeps
// settings.txt, and runs ProjbridgeCli on Finish.
class Projbridge : public ProjbridgeBase {
    Q_OBJECT

public:
    explicit Projbridge(QWidget* parent = nullptr, const QString& name = {}, bool modal = false,
                        Qt::WindowFlags flags = {});
    // Waits for a project group still being read.
    ~Projbridge() override;

    // The platform's own separators: "\" on Windows, unchanged elsewhere.
    static QString toBackslashes(const QString& path);

    void loadSettings();
    void saveSettings();

    // What the pages hold now.
    WizardFields fields() const;

    void setBrowseDialog(BrowseDialog dialog);
    void setMessageDialog(MessageDialog dialog);
    void setUrlOpener(UrlOpener opener);

public slots:
    void VDSPInstallBrowseBtn_clicked();
    void VDSPProjectBrowseBtn_clicked();
    void TavricProjectBrowseBtn_clicked();
    void Page0LineEdit_textchanged(const QString& text);
    void Page1LineEdit_textchanged(const QString& text);
    void MsgBrowseBtn_clicked();
    void AnalBrowseBtn_clicked();
    void CmpBrowseBtn_clicked();
    void readFromStdout();
    void processExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the window during a run asks as Cancel does; Yes stops the run and closes it.
    void closeEvent(QCloseEvent* event) override;
    // Entering the last page with Next builds the extension list and the summary.
    void initializePage(int id) override;
    // Going back from the last page forgets the run, and with it what there is to open.
    void cleanupPage(int id) override;

protected slots:
    void accept() override;
    void reject() override;

private:
    // Where the latest run stands; the Back, Finish and Cancel buttons on the last page follow from it.
    enum class RunState { Ready, Running, Succeeded, Failed, StartFailed };

    QList<QLineEdit*> page0Fields() const;
    QList<QLineEdit*> page1PathFields() const;
    void recheckFirstPage();
    void recheckPersonalityPage();
    void followProjectName();
    void nameTyped(const QString& name);
    void createDestinationFolder();
    QList<SettingsEntry> settingsEntries() const;
    QString browseStartFolder(const QLineEdit* field) const;
    void browseInto(QLineEdit* field, BrowseRequest request);
    QString buildExtensionListFromPage() const;
    void showSummaryWhileReady();
    void readProjectGroupAside();
    void appendOutput(const QString& text);
    void appendDetailsLine(const QString& line);
    void reportStartFailure();
    bool stopRunOnRequest();
    // Whether the run may go on: yes when there is nothing to update, else the user's answer.
    bool updateAgreed(const QString& program, const QStringList& arguments);
    void setRunState(RunState state);
    void openLocalPath(const QString& path);

    QString extensionList;
    // The members of the source as last read, if it is a project group, and the path read.
    std::optional<ProjectGroup> projectGroup;
    QString projectGroupPath;
    QThread* groupReading = nullptr;
    RunState runState = RunState::Ready;
    // A run the user stopped leaves no report of its own to open.
    bool runStopped = false;
    QDateTime runStartedAt;
    // A name the user typed stays while the project is the one it was typed for (empty: the next one chosen).
    bool nameTypedByUser = false;
    QString nameTypedForProject;
    QProcess* process = nullptr;
    // The last path a browse dialog gave.
    QString lastPath;
    // Qt's own text for Cancel, given back when a run that ended in "Close" makes way for a new one.
    QString standardCancelText;
    BrowseDialog browseDialog = showBrowseDialog;
    MessageDialog messageDialog = showMessageDialog;
    UrlOpener urlOpener = QDesktopServices::openUrl;
    // Stateful, so that a character the converter's output splits between two reads still decodes whole.
    QStringDecoder outputDecoder{QStringDecoder::System};
    // The report the latest run was asked to write; empty when it was asked for none.
    QString runReportFile;
};
