#include "converter_arguments.h"
#include "converter_program.h"
#include "projbridge.h"
#include "typed_path.h"
#include "update_preview.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The converter's first words when it wrote a project but left part of the source out.
const QString incompleteLine = QStringLiteral("\nConversion incomplete");
// The question waits for the dry run, which reads the project once: long enough for the largest, short
// enough that a hung converter does not hold the wizard.
constexpr int dryRunMilliseconds = 20000;
// A question box taller than this would leave the screen.
constexpr qsizetype shownPreviewLines = 20;

} // namespace

void Projbridge::accept()
{
    const QStringList commandLine = converterCommandLine(fields());
    const QString program = findConverter(commandLine.first(), QCoreApplication::applicationDirPath());
    if (!updateAgreed(program, commandLine.mid(1))) {
        return;
    }
    if (process) {
        // Only a finished run can be followed by another: Back and Finish are off while one is running.
        process->deleteLater();
    }
    process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process, &QProcess::readyReadStandardOutput, this, &Projbridge::readFromStdout);
    connect(process, &QProcess::finished, this, &Projbridge::processExit);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            reportStartFailure();
        }
    });

    outputDecoder.resetState();
    runReportFile = ReportCheck->isChecked() ? reportFilePath(fields()) : QString();
    runStopped = false;
    // File times may be a second or two coarser than the clock.
    runStartedAt = QDateTime::currentDateTime().addSecs(-2);
    DetailsText->setPlainText(tr("Initialising Project Conversion ...\n"));
    if (program.isEmpty()) {
        reportStartFailure();
        return;
    }
    setRunState(RunState::Running);
    process->start(program, commandLine.mid(1));
}

// An update is asked for with the files it would merge, set aside and remove, as a dry run of it tells them.
bool Projbridge::updateAgreed(const QString& program, const QStringList& arguments)
{
    const QString projectFile = projectFilePath(fields());
    if (!QFileInfo::exists(localPath(projectFile))) {
        return true;
    }
    QString question = tr("%1 already exists. Update it? Your edits stay in effect, merged with the update where "
                          "they can be, else kept beside the new files.")
                           .arg(projectFile);
    if (const std::optional<QStringList> touched =
            program.isEmpty() ? std::nullopt : updatePreview(program, arguments, dryRunMilliseconds)) {
        question += QStringLiteral("\n\n") + updatePreviewText(*touched, shownPreviewLines);
    }
    return messageDialog(this, {QMessageBox::Question, tr("Projbridge"), question,
                                QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

void Projbridge::readFromStdout()
{
    appendOutput(outputDecoder.decode(process->readAllStandardOutput()));
}

void Projbridge::processExit()
{
    // The converter's last lines may still wait in the pipe; the verdict comes after them.
    readFromStdout();
    const bool normalExit = process->exitStatus() == QProcess::NormalExit;
    if (normalExit && process->exitCode() == 0) {
        appendDetailsLine(tr("Project Converted Successfully!"));
        const QString projectFile = projectFilePath(fields());
        if (QFileInfo::exists(localPath(projectFile))) {
            appendDetailsLine(tr("Tavric/Tavric++ project written: %1").arg(projectFile));
        }
        setRunState(RunState::Succeeded);
    } else {
        if (!normalExit) {
            appendDetailsLine(tr("Project Conversion stopped abnormally: ProjbridgeCli crashed or was killed."));
        } else if (DetailsText->toPlainText().contains(incompleteLine)) {
            appendDetailsLine(tr("Tavric/Tavric++ project written, but incomplete: %1").arg(projectFilePath(fields())));
        }
        setRunState(RunState::Failed);
        // Not bound to the wizard, as the converter's failure is not the wizard's.
        messageDialog(nullptr, {QMessageBox::Warning, tr("Projbridge"),
                                tr("Project Conversion Failed!\nPlease check the details log and try again.")});
    }
    saveSettings();
}

void Projbridge::closeEvent(QCloseEvent* event)
{
    if (runState == RunState::Running && !stopRunOnRequest()) {
        event->ignore();
        return;
    }
    ProjbridgeBase::closeEvent(event);
}

void Projbridge::reject()
{
    if (runState == RunState::Running) {
        stopRunOnRequest();
        return;
    }
    if (process) {
        // The end of the killed converter is not reported and saves nothing; it is reaped before the wizard goes.
        process->disconnect(this);
        process->kill();
        process->waitForFinished();
    }
    ProjbridgeBase::reject();
}

// A run is stopped only when the user says so, and the wizard stays open to show what became of it. True when the
// user said Yes, also when the run ended while the question was up.
bool Projbridge::stopRunOnRequest()
{
    if (messageDialog(this, {QMessageBox::Question, tr("Projbridge"),
                             tr("A conversion is running. Stop it? The files it has written so far stay incomplete."),
                             QMessageBox::Yes | QMessageBox::No}) != QMessageBox::Yes) {
        return false;
    }
    if (runState != RunState::Running) {
        return true;
    }
    process->disconnect(this);
    process->kill();
    process->waitForFinished();
    readFromStdout();
    appendDetailsLine(tr("Project Conversion stopped: the files written so far are incomplete."));
    runStopped = true;
    setRunState(RunState::Failed);
    return true;
}

void Projbridge::reportStartFailure()
{
    appendDetailsLine(tr("Project Conversion could not be executed: Please ensure %1 is beside the wizard, where it "
                         "is looked for first, or on the path.")
                          .arg(converterFileName()));
    setRunState(RunState::StartFailed);
}

// Plain text, appended where the last text ended: the converter's lines show as printed however its output is cut
// into reads, and a "<" or "&" in them does not turn into markup.
void Projbridge::appendOutput(const QString& text)
{
    DetailsText->moveCursor(QTextCursor::End);
    // Windows ends the converter's lines with CR LF; a read may end between the two.
    DetailsText->insertPlainText(QString(text).remove(u'\r'));
}

// The wizard's own lines each stand on a line of their own, also after output that ended mid-line.
void Projbridge::appendDetailsLine(const QString& line)
{
    const bool atLineStart = DetailsText->document()->lastBlock().text().isEmpty();
    appendOutput((atLineStart ? QString() : QStringLiteral("\n")) + line + u'\n');
}

void Projbridge::setRunState(RunState state)
{
    runState = state;
    Page3->setComplete(state == RunState::Ready);
    BusyIndicator->setVisible(state == RunState::Running);
    for (QCheckBox* box : {ReportCheck, CompdbCheck}) {
        box->setEnabled(state != RunState::Running);
    }
    setOption(QWizard::DisabledBackButtonOnLastPage, state == RunState::Running);
    setButtonText(QWizard::CancelButton, state == RunState::Succeeded ? tr("Close") : standardCancelText);
    // A failed run may still have written its report, and it names the folder it was asked to fill.
    const bool ended = state == RunState::Succeeded || state == RunState::Failed;
    // A button left out of the layout is hidden; the options alone do not hide a button of a custom layout.
    QList<WizardButton> layout;
    // Only this run's whole report: not one an earlier run left, nor the start of a stopped one.
    const QFileInfo report(localPath(runReportFile));
    if (ended && !runStopped && report.exists() && report.lastModified() >= runStartedAt) {
        layout << CustomButton1;
    }
    if (ended && QFileInfo(localPath(TavricProjectEdit->text())).isDir()) {
        layout << CustomButton2;
    }
    // The wizard never offers Help, and a listed Help button would show.
    setButtonLayout(layout << Stretch << BackButton << NextButton << CommitButton << FinishButton << CancelButton);
}

// Where the desktop has no viewer for it, the user is told where to find it instead.
void Projbridge::openLocalPath(const QString& path)
{
    if (!urlOpener(QUrl::fromLocalFile(QDir::fromNativeSeparators(localPath(path))))) {
        messageDialog(this, {QMessageBox::Warning, tr("Projbridge"),
                             tr("No program on this desktop could open it. It is here:\n%1").arg(path)});
    }
}
