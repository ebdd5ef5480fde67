#include "converter_program.h"
#include "projbridge.h"
#include "wizard_test_support.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString initialising = QStringLiteral("Initialising Project Conversion ...");
const QString succeeded = QStringLiteral("Project Converted Successfully!");
const QString notFound = QStringLiteral("Project Conversion could not be executed: Please ensure ProjbridgeCli is "
                                        "beside the wizard, where it is looked for first, or on the path.");
const QString stoppedAbnormally = QStringLiteral(
    "Project Conversion stopped abnormally: ProjbridgeCli crashed or was killed.");
const QByteArray defaultBoxSettings = "Write Conversion Report:\nyes\n\nWrite Compilation Database:\nno\n\n";
constexpr int runMilliseconds = 20000;

QStringList nonEmptyLines(const Projbridge& wizard)
{
    return wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

QProcess* latestConverter(Projbridge& wizard)
{
    const QList<QProcess*> processes = wizard.findChildren<QProcess*>();
    return processes.isEmpty() ? nullptr : processes.last();
}

// Gone means reaped as well: not even a zombie is left.
bool processGone(const QString& pid)
{
    return !QFile::exists("/proc/" + pid);
}

} // namespace

// Finish runs ProjbridgeCli with the fields' command line, shows its output and judges its exit.
class RunnerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void successfulRun();
    void silentSuccessfulRun();
    void outputInOddChunksShowsAsPrinted();
    void argumentsArriveWhole();
    void failingRun();
    void crashedConverterIsAFailure();
    void reportAndFolderOpen();
    void converterNotFound();
    void converterThatCannotStart();
    void cancelDuringRunAsksBeforeStoppingTheConverter();
    void closingTheWindowDuringARunStopsItAndCloses();
    void anExistingProjectIsUpdatedOnlyWhenTheUserSaysSo();
    void closeAfterSuccessWritesNothingMore();
    void runAgainAfterGoingBack();
    void converterBesideTheWizardWins();

private:
    void goToLastPage(Projbridge& wizard);
    QProcess* finish(Projbridge& wizard);

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<SearchPath> searchPath;
};

void RunnerTest::init()
{
    // The previous folder goes first, so that it gives back the working directory it took over.
    searchPath.reset();
    folder.reset();
    folder = std::make_unique<WorkingFolder>();
    // Stand-in converters go into their own folder, the only one searched, so that an installed converter is not
    // found instead.
    searchPath = std::make_unique<SearchPath>(QStringList{folder->makeFolder("bin")});
}

void RunnerTest::goToLastPage(Projbridge& wizard)
{
    showWizard(wizard);
    fillFirstPage(wizard, *folder);
    for (int page = 0; page < 3; ++page) {
        QVERIFY(press(wizard, QWizard::NextButton));
    }
    QCOMPARE(wizard.currentPage(), wizard.Page3);
}

QProcess* RunnerTest::finish(Projbridge& wizard)
{
    if (!press(wizard, QWizard::FinishButton)) {
        return nullptr;
    }
    return latestConverter(wizard);
}

void RunnerTest::successfulRun()
{
    // Bytes in the local 8-bit encoding, as the converter prints the paths it is given.
    writeStandInConverter(
        folder->path("bin"),
        QString::fromUtf8("printf 'Creating Tavric/Tavric++ Project ...\\n  Creating Group - Entwürfe\\n'"));
    Projbridge wizard;
    goToLastPage(wizard);

    QProcess* converter = finish(wizard);
    QVERIFY(converter);
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(wizard.BusyIndicator->isVisible());
    QVERIFY(!wizard.ReportCheck->isEnabled() && !wizard.CompdbCheck->isEnabled());
    QSignalSpy finished(converter, &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));
    QVERIFY(!wizard.BusyIndicator->isVisible());
    QVERIFY(wizard.ReportCheck->isEnabled() && wizard.CompdbCheck->isEnabled());

    QCOMPARE(nonEmptyLines(wizard), (QStringList{initialising, "Creating Tavric/Tavric++ Project ...",
                                                 QString::fromUtf8("  Creating Group - Entwürfe"), succeeded}));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Close");
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QCOMPARE(folder->readFile("settings.txt"),
             "VDSP Installation Path:\n" + folder->path("VisualDSP").toUtf8() + "\n\n" + defaultBoxSettings);
    QVERIFY(wizard.OpenFolderBtn->isVisible());
    QVERIFY(!wizard.OpenReportBtn->isVisible());
}

void RunnerTest::silentSuccessfulRun()
{
    writeStandInConverter(folder->path("bin"), "exit 0");
    Projbridge wizard;
    goToLastPage(wizard);

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    QCOMPARE(wizard.DetailsText->toPlainText(), initialising + "\n" + succeeded + "\n");
}

void RunnerTest::outputInOddChunksShowsAsPrinted()
{
    // Cut mid-line, between CR and LF and inside a character; the last piece comes just before the exit.
    writeStandInConverter(folder->path("bin"),
                          "printf 'Creating Tav'; sleep 0.1; printf 'ric/Tavric++ Project ...\\r'\n"
                          "sleep 0.1; printf '\\n  Creating Group - Entw\\303'; sleep 0.1\n"
                          "printf '\\274rfe\\r\\n\\r\\nReport: 1'; sleep 0.1; printf ' taken'");
    Projbridge wizard;
    goToLastPage(wizard);

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    QCOMPARE(wizard.DetailsText->toPlainText(), initialising + "\nCreating Tavric/Tavric++ Project ...\n" +
                                                    QString::fromUtf8("  Creating Group - Entwürfe") +
                                                    "\n\nReport: 1 taken\n" + succeeded + "\n");
}

void RunnerTest::argumentsArriveWhole()
{
    writeStandInConverter(folder->path("bin"), "printf '[%s]\\n' \"$@\"");
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, *folder);
    wizard.TavricNameEdit->setText("my app");
    QVERIFY(press(wizard, QWizard::NextButton));
    wizard.CmpPersonEdit->setText(folder->writeFile("personalities/my compiler.p_c"));
    QVERIFY(press(wizard, QWizard::NextButton));
    QTest::keyClicks(wizard.CustExtEdit, "c,h");
    QVERIFY(press(wizard, QWizard::NextButton));

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    const QStringList expectedArguments{folder->path("source/app.dpj"),
                                        folder->path("destination"),
                                        folder->path("VisualDSP"),
                                        "-pn",
                                        "my app",
                                        "-cp",
                                        folder->path("personalities/my compiler.p_c"),
                                        "-ext",
                                        "c,h",
                                        "-report",
                                        folder->path("destination/my app.report.tsv")};
    QStringList expectedLines{initialising};
    for (const QString& argument : expectedArguments) {
        expectedLines << "[" + argument + "]";
    }
    QCOMPARE(nonEmptyLines(wizard), expectedLines << succeeded);
}

void RunnerTest::failingRun()
{
    writeStandInConverter(folder->path("bin"),
                          "printf 'Could not open <source> & go on\\nConversion incomplete: 1 of 2 "
                          "projects\\n'; exit 1");
    Projbridge wizard;
    goToLastPage(wizard);
    AnsweredMessages closer(wizard);

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    QCOMPARE(closer.shown.size(), 1);
    QCOMPARE(closer.shown.last().caption, "Projbridge");
    QCOMPARE(closer.shown.last().icon, QMessageBox::Warning);
    QCOMPARE(closer.shown.last().text, "Project Conversion Failed!\nPlease check the details log and try again.");
    QCOMPARE(nonEmptyLines(wizard),
             (QStringList{initialising, "Could not open <source> & go on", "Conversion incomplete: 1 of 2 projects",
                          "Tavric/Tavric++ project written, but incomplete: " + folder->path("destination/app.prj")}));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Cancel");
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(folder->readFile("settings.txt").startsWith("VDSP Installation Path:\n"));
}

void RunnerTest::crashedConverterIsAFailure()
{
    writeStandInConverter(folder->path("bin"), "printf 'half a line'; kill -KILL $$");
    Projbridge wizard;
    goToLastPage(wizard);
    AnsweredMessages closer(wizard);

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    QCOMPARE(finished.first().at(1).value<QProcess::ExitStatus>(), QProcess::CrashExit);
    QCOMPARE(nonEmptyLines(wizard), (QStringList{initialising, "half a line", stoppedAbnormally}));
    QCOMPARE(closer.shown.size(), 1);
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Cancel");
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(folder->readFile("settings.txt").startsWith("VDSP Installation Path:\n"));
}

void RunnerTest::reportAndFolderOpen()
{
    writeStandInConverter(folder->path("bin"), "while [ $# -gt 0 ]; do [ \"$1\" = -report ] && report=$2; shift; done\n"
                                               "printf 'kind\\titem\\n' > \"$report\"\n"
                                               "printf 'Completed!\\nReport: 2 source files taken, 1 file entries not "
                                               "taken, 0 paths missing: %s\\n' \"$report\"");
    Projbridge wizard;
    QList<QUrl> opened;
    wizard.setUrlOpener([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    goToLastPage(wizard);
    QVERIFY(!wizard.OpenReportBtn->isVisible());

    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));

    const QString report = folder->path("destination/app.report.tsv");
    QCOMPARE(
        nonEmptyLines(wizard),
        (QStringList{initialising, "Completed!",
                     "Report: 2 source files taken, 1 file entries not taken, 0 paths missing: " + report, succeeded}));
    QCOMPARE(wizard.OpenReportBtn->text(), "Open Report");
    QVERIFY(!wizard.button(QWizard::HelpButton)->isVisible());
    QTest::mouseClick(wizard.OpenReportBtn, Qt::LeftButton);
    QTest::mouseClick(wizard.OpenFolderBtn, Qt::LeftButton);
    QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(report), QUrl::fromLocalFile(folder->path("destination"))}));
    wizard.setUrlOpener([](const QUrl&) { return false; });
    AnsweredMessages closer(wizard);
    QTest::mouseClick(wizard.OpenReportBtn, Qt::LeftButton);
    QCOMPARE(closer.shown.size(), 1);
    QCOMPARE(closer.shown.last().text, "No program on this desktop could open it. It is here:\n" + report);

    QVERIFY(press(wizard, QWizard::BackButton));
    QVERIFY(!wizard.OpenReportBtn->isVisible());
}

void RunnerTest::converterNotFound()
{
    Projbridge wizard;
    goToLastPage(wizard);
    AnsweredMessages closer(wizard);
    // The summary tells it before Finish.
    QVERIFY(wizard.DetailsText->toPlainText().endsWith(
        "\n" + converterFileName() + " was not found beside the wizard or on the path: Finish cannot run it.\n"));

    QVERIFY(press(wizard, QWizard::FinishButton));
    QTest::qWait(100);

    QCOMPARE(wizard.DetailsText->toPlainText(), initialising + "\n" + notFound + "\n");
    QCOMPARE(closer.shown.size(), 0);
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!QFile::exists(folder->path("settings.txt")));
}

void RunnerTest::converterThatCannotStart()
{
    const QString converterPath = folder->path("bin/ProjbridgeCli");
    folder->writeFile("bin/ProjbridgeCli", "#!/no/such/interpreter\n");
    QFile::setPermissions(converterPath, QFile::ReadOwner | QFile::ExeOwner);
    Projbridge wizard;
    goToLastPage(wizard);

    QSignalSpy failed(finish(wizard), &QProcess::errorOccurred);

    QTRY_VERIFY(nonEmptyLines(wizard).contains(notFound));
    QCOMPARE(failed.first().first().value<QProcess::ProcessError>(), QProcess::FailedToStart);
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QVERIFY(wizard.button(QWizard::BackButton)->isEnabled());
    QVERIFY(!QFile::exists(folder->path("settings.txt")));
}

void RunnerTest::cancelDuringRunAsksBeforeStoppingTheConverter()
{
    const QString pidFile = folder->path("converter.pid");
    writeStandInConverter(folder->path("bin"), "echo $$ > '" + pidFile + "'; exec sleep 60");
    Projbridge wizard;
    goToLastPage(wizard);
    // An earlier run's report is no report of the stopped one.
    folder->writeFile("destination/app.report.tsv");
    QVERIFY(finish(wizard));
    QTRY_VERIFY(!folder->readFile("converter.pid").isEmpty());
    const QString pid = QString::fromLatin1(folder->readFile("converter.pid").trimmed());
    QVERIFY(!processGone(pid));

    // Asked first: No goes on with the run, Yes stops it and leaves the wizard open to say so.
    AnsweredMessages question(wizard, QMessageBox::No);
    QVERIFY(press(wizard, QWizard::CancelButton));
    QCOMPARE(question.shown.size(), 1);
    QCOMPARE(question.shown.last().text,
             "A conversion is running. Stop it? The files it has written so far stay incomplete.");
    QVERIFY(wizard.isVisible() && !processGone(pid));
    question.answer = QMessageBox::Yes;
    QTest::keyClick(&wizard, Qt::Key_Escape);
    QVERIFY(wizard.isVisible());
    QVERIFY(processGone(pid));
    QCOMPARE(nonEmptyLines(wizard).last(), "Project Conversion stopped: the files written so far are incomplete.");
    QVERIFY(!wizard.OpenReportBtn->isVisible());

    QVERIFY(press(wizard, QWizard::CancelButton));
    QCOMPARE(question.shown.size(), 2);
    QVERIFY(!wizard.isVisible());
    QCOMPARE(wizard.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(folder->path("settings.txt")));
}

void RunnerTest::closingTheWindowDuringARunStopsItAndCloses()
{
    const QString pidFile = folder->path("converter.pid");
    writeStandInConverter(folder->path("bin"), "echo $$ > '" + pidFile + "'; exec sleep 60");
    Projbridge wizard;
    goToLastPage(wizard);
    QVERIFY(finish(wizard));
    QTRY_VERIFY(!folder->readFile("converter.pid").isEmpty());
    const QString pid = QString::fromLatin1(folder->readFile("converter.pid").trimmed());
    AnsweredMessages question(wizard, QMessageBox::No);
    QVERIFY(!wizard.close() && wizard.isVisible() && !processGone(pid));
    question.answer = QMessageBox::Yes;
    QVERIFY(wizard.close());
    QCOMPARE(question.shown.size(), 2);
    QVERIFY(!wizard.isVisible() && processGone(pid));
}

void RunnerTest::anExistingProjectIsUpdatedOnlyWhenTheUserSaysSo()
{
    // The question lists what the dry run tells of files the user may have made their own, and the run that
    // follows is the real one.
    writeStandInConverter(folder->path("bin"), "case \" $* \" in *' -dry-run '*)\n"
                                               "  printf 'Would write: A\\nWould merge the edit into: B\\n"
                                               "Would remove, the project no longer has it: C\\n'; exit 0;;\n"
                                               "esac\necho real run");
    Projbridge wizard;
    goToLastPage(wizard);
    const QString project = folder->writeFile("destination/app.prj");
    AnsweredMessages question(wizard, QMessageBox::No);
    QVERIFY(press(wizard, QWizard::BackButton));
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(wizard.DetailsText->toPlainText().contains(
        "Existing Project:\n" + project +
        " exists: this run updates it, and your edits stay in effect, merged with the update where they can be.\n"));

    QVERIFY(press(wizard, QWizard::FinishButton));
    QCOMPARE(question.shown.last().text,
             project + " already exists. Update it? Your edits stay in effect, merged with the update where they "
                       "can be, else kept beside the new files.\n\nA dry run of this update says:\n"
                       "Would merge the edit into: B\nWould remove, the project no longer has it: C");
    QVERIFY(!latestConverter(wizard));
    QCOMPARE(wizard.currentPage(), wizard.Page3);

    question.answer = QMessageBox::Yes;
    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));
    QCOMPARE(question.shown.size(), 2);
    QVERIFY(nonEmptyLines(wizard).contains("real run"));
    QCOMPARE(nonEmptyLines(wizard).last(), "Tavric/Tavric++ project written: " + project);
}

void RunnerTest::closeAfterSuccessWritesNothingMore()
{
    writeStandInConverter(folder->path("bin"), "exit 0");
    Projbridge wizard;
    goToLastPage(wizard);
    QSignalSpy finished(finish(wizard), &QProcess::finished);
    QVERIFY(finished.wait(runMilliseconds));
    QVERIFY(QFile::remove(folder->path("settings.txt")));

    QVERIFY(press(wizard, QWizard::CancelButton));

    QVERIFY(!wizard.isVisible());
    QTest::qWait(100);
    QVERIFY(!QFile::exists(folder->path("settings.txt")));
}

void RunnerTest::runAgainAfterGoingBack()
{
    writeStandInConverter(folder->path("bin"), "printf 'run\\n'");
    Projbridge wizard;
    goToLastPage(wizard);
    QSignalSpy firstRun(finish(wizard), &QProcess::finished);
    QVERIFY(firstRun.wait(runMilliseconds));

    QVERIFY(press(wizard, QWizard::BackButton));
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Cancel");
    QVERIFY(wizard.DetailsText->toPlainText().startsWith("Visual DSP Project:\n"));
    QSignalSpy secondRun(finish(wizard), &QProcess::finished);
    QVERIFY(secondRun.wait(runMilliseconds));

    QCOMPARE(nonEmptyLines(wizard), (QStringList{initialising, "run", succeeded}));
}

void RunnerTest::converterBesideTheWizardWins()
{
    const QString beside = writeStandInConverter(folder->makeFolder("wizard"), "exit 0");
    const QString onPath = writeStandInConverter(folder->path("bin"), "exit 0");
    folder->writeFile("plain/ProjbridgeCli", "not executable");

    QCOMPARE(findConverter(converterProgramName, folder->path("wizard")), beside);
    QCOMPARE(findConverter(converterProgramName, folder->path("plain")), onPath);
    QVERIFY(QFile::remove(onPath));
    QVERIFY(findConverter(converterProgramName, folder->path("plain")).isEmpty());
}

QTEST_MAIN(RunnerTest)
#include "runner_test.moc"
