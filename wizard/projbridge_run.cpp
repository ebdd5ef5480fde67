#include "converter_program.h"
#include "projbridge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// How the converter's report summary line begins.
const QString reportSummaryStart = QStringLiteral("Report: ");

} // namespace

QString Projbridge::reportFilePath() const
{
    return toBackslashes(QDir(TavricProjectEdit->text()).filePath(TavricNameEdit->text() + ".report.tsv"));
}

QString Projbridge::compilationDatabaseFolder() const
{
    return toBackslashes(QDir(TavricProjectEdit->text()).filePath(TavricNameEdit->text() + "/compdb"));
}

QStringList Projbridge::converterCommandLine() const
{
    QStringList commandLine{converterProgramName,       VDSPProjectEdit->text(), TavricProjectEdit->text(),
                            VDSPInstallDirEdit->text(), QStringLiteral("-pn"),   TavricNameEdit->text()};
    const std::pair<QString, QString> options[] = {
        {QStringLiteral("-mp"), MsgPersonEdit->text()},
        {QStringLiteral("-ap"), AnalPersonEdit->text()},
        {QStringLiteral("-cp"), CmpPersonEdit->text()},
        {QStringLiteral("-ext"), extensionList},
        {QStringLiteral("-report"), ReportCheck->isChecked() ? reportFilePath() : QString()},
        {QStringLiteral("-compdb"), CompdbCheck->isChecked() ? compilationDatabaseFolder() : QString()},
    };
    for (const auto& [option, value] : options) {
        if (!value.isEmpty()) {
            commandLine << option << value;
        }
    }
    return commandLine;
}

void Projbridge::accept()
{
    const QStringList commandLine = converterCommandLine();
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
    runReportFile = ReportCheck->isChecked() ? reportFilePath() : QString();
    DetailsText->setPlainText(tr("Initialising Project Conversion ...\n"));
    const QString program = findConverter(commandLine.first(), QCoreApplication::applicationDirPath());
    if (program.isEmpty()) {
        reportStartFailure();
        return;
    }
    setRunState(RunState::Running);
    process->start(program, commandLine.mid(1));
}

void Projbridge::readFromStdout()
{
    appendDetails(outputDecoder.decode(process->readAllStandardOutput()));
}

void Projbridge::processExit()
{
    const bool normalExit = process->exitStatus() == QProcess::NormalExit;
    if (normalExit && process->exitCode() == 0) {
        appendDetails(tr("Project Converted Successfully!"));
        moveReportSummaryToEnd();
        setRunState(RunState::Succeeded);
    } else {
        if (!normalExit) {
            appendDetails(tr("Project Conversion stopped abnormally: ProjbridgeCli crashed or was killed."));
        }
        setRunState(RunState::Failed);
        QMessageBox::about(nullptr, tr("Projbridge"),
                           tr("Project Conversion Failed!\nPlease check the details log and try again."));
    }
    saveSettings();
}

void Projbridge::reject()
{
    if (process) {
        // The end of the killed converter is not reported and saves nothing; it is reaped before the wizard goes.
        process->disconnect(this);
        process->kill();
        process->waitForFinished();
    }
    ProjbridgeBase::reject();
}

void Projbridge::reportStartFailure()
{
    appendDetails(tr("Project Conversion could not be executed: Please ensure %1 is beside the wizard, where it is "
                     "looked for first, or on the path.\n")
                      .arg(converterFileName()));
    setRunState(RunState::StartFailed);
}

// A new paragraph of plain text: the converter's lines may hold "<" and "&", which must not turn into markup.
void Projbridge::appendDetails(const QString& text)
{
    DetailsText->moveCursor(QTextCursor::End);
    QTextCursor cursor = DetailsText->textCursor();
    cursor.insertBlock();
    cursor.insertText(text);
    DetailsText->setTextCursor(cursor);
}

// The converter prints its report summary last; below the verdict it stays in view, and it is not shown twice.
void Projbridge::moveReportSummaryToEnd()
{
    if (runReportFile.isEmpty()) {
        return;
    }
    for (QTextBlock block = DetailsText->document()->lastBlock(); block.isValid(); block = block.previous()) {
        if (block.text().startsWith(reportSummaryStart)) {
            const QString summary = block.text();
            QTextCursor cursor(block);
            cursor.select(QTextCursor::BlockUnderCursor);
            cursor.removeSelectedText();
            appendDetails(summary);
            return;
        }
    }
}

void Projbridge::setRunState(RunState state)
{
    Page3->setComplete(state == RunState::Ready);
    setOption(QWizard::DisabledBackButtonOnLastPage, state == RunState::Running);
    setButtonText(QWizard::CancelButton, state == RunState::Succeeded ? tr("Close") : standardCancelText);
    // A failed run may still have written its report, and it names the folder it was asked to fill.
    const bool ended = state == RunState::Succeeded || state == RunState::Failed;
    // A button left out of the layout is hidden; the options alone do not hide a button of a custom layout.
    QList<WizardButton> layout;
    if (ended && QFileInfo::exists(runReportFile)) {
        layout << CustomButton1;
    }
    if (ended && QFileInfo(TavricProjectEdit->text()).isDir()) {
        layout << CustomButton2;
    }
    // The wizard never offers Help, and a listed Help button would show.
    setButtonLayout(layout << Stretch << BackButton << NextButton << CommitButton << FinishButton << CancelButton);
}

void Projbridge::openLocalPath(const QString& path)
{
    urlOpener(QUrl::fromLocalFile(QDir::fromNativeSeparators(path)));
}
