#include "converter_program.h"
#include "projbridge.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTextCursor>

QStringList Projbridge::converterCommandLine() const
{
    QStringList commandLine{converterProgramName,       VDSPProjectEdit->text(), TavricProjectEdit->text(),
                            VDSPInstallDirEdit->text(), QStringLiteral("-pn"),   TavricNameEdit->text()};
    const std::pair<QString, QString> options[] = {
        {QStringLiteral("-mp"), MsgPersonEdit->text()},
        {QStringLiteral("-ap"), AnalPersonEdit->text()},
        {QStringLiteral("-cp"), CmpPersonEdit->text()},
        {QStringLiteral("-ext"), extensionList},
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
    appendDetails(QString::fromLatin1(process->readAllStandardOutput()));
}

void Projbridge::processExit()
{
    const bool normalExit = process->exitStatus() == QProcess::NormalExit;
    if (normalExit && process->exitCode() == 0) {
        appendDetails(tr("Project Converted Successfully!"));
        setRunState(RunState::Succeeded);
    } else {
        setRunState(RunState::Failed);
        if (normalExit) {
            QMessageBox::about(nullptr, tr("Projbridge"),
                               tr("Project Conversion Failed!\nPlease check the details log and try again."));
        }
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
    appendDetails(
        tr("Project Conversion could not be executed: Please ensure ProjbridgeCli.exe is set on the path.\n"));
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

void Projbridge::setRunState(RunState state)
{
    Page3->setComplete(state == RunState::Ready);
    setOption(QWizard::DisabledBackButtonOnLastPage, state == RunState::Running);
    setButtonText(QWizard::CancelButton, state == RunState::Succeeded ? tr("Close") : standardCancelText);
}
