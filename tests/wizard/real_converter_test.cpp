#include "projbridge.h"
#include "wizard_test_support.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString converterPath = QStringLiteral(PROJBRIDGE_CLI_PATH);
const QString exampleProject = QStringLiteral(PROJBRIDGE_EXAMPLE_PROJECT);
constexpr int runMilliseconds = 60000;

} // namespace

// The wizard drives the ProjbridgeCli of this build over the bundled example, found on the search path.
class RealConverterTest : public QObject {
    Q_OBJECT

private slots:
    void convertsTheBundledExample();
};

// Under a name other than the source file's, whose own folder the converter does not create, and with every
// output asked for.
void RealConverterTest::convertsTheBundledExample()
{
    WorkingFolder folder;
    SearchPath searchPath({QFileInfo(converterPath).path(), QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    Projbridge wizard;
    AnsweredMessages failureBox(wizard);
    showWizard(wizard);
    QTest::keyClicks(wizard.VDSPProjectEdit, exampleProject);
    QTest::keyClicks(wizard.VDSPInstallDirEdit, folder.makeFolder("VisualDSP 5.0"));
    QTest::keyClicks(wizard.TavricProjectEdit, folder.makeFolder("analyser projects"));
    QCOMPARE(wizard.TavricNameEdit->text(), "dsp-filter");
    wizard.TavricNameEdit->selectAll();
    QTest::keyClicks(wizard.TavricNameEdit, "radio");
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(press(wizard, QWizard::NextButton));
    QTest::mouseClick(wizard.cCheck, Qt::LeftButton);
    QTest::mouseClick(wizard.hCheck, Qt::LeftButton);
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(wizard.ReportCheck->isChecked());
    QTest::mouseClick(wizard.CompdbCheck, Qt::LeftButton);
    QVERIFY(press(wizard, QWizard::FinishButton));
    auto* converter = wizard.findChild<QProcess*>();
    QVERIFY(converter);
    QSignalSpy finished(converter, &QProcess::finished);

    QVERIFY(finished.wait(runMilliseconds));
    QCOMPARE(failureBox.shown.size(), 0);

    const QStringList lines = wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 8, qPrintable(lines.join('\n')));
    QCOMPARE(lines.first(), "Initialising Project Conversion ...");
    QCOMPARE(lines[1], "Creating Tavric/Tavric++ Project ...");
    // The converter's last lines, one database per configuration and the active one's in the folder too, then the
    // wizard's.
    const qsizetype completed = lines.indexOf("Tavric/Tavric++ Project Completed!");
    QCOMPARE(lines.size() - completed, 7);
    for (const qsizetype database : {completed + 1, completed + 2, completed + 3}) {
        QVERIFY2(lines[database].startsWith("Creating Compilation Database - "), qPrintable(lines[database]));
    }
    for (const char* configuration : {"Debug", "Release"}) {
        const QString database = QStringLiteral("radio.compdb/%1/compile_commands.json").arg(configuration);
        QVERIFY2(folder.readFile("analyser projects/" + database).startsWith("["), qPrintable(database));
    }
    QCOMPARE(folder.readFile("analyser projects/radio.compdb/compile_commands.json"),
             folder.readFile("analyser projects/radio.compdb/Debug/compile_commands.json"));
    QVERIFY2(lines[completed + 4].startsWith("Report: ") &&
                 lines[completed + 4].endsWith("\\analyser projects\\radio.report.tsv"),
             qPrintable(lines[completed + 4]));
    QVERIFY(QFileInfo::exists(folder.path("analyser projects/radio.report.tsv")));
    QCOMPARE(lines[lines.size() - 2], "Project Converted Successfully!");
    QCOMPARE(lines.last(), "Tavric/Tavric++ project written: " + folder.path("analyser projects/radio.prj"));
    QVERIFY(wizard.OpenReportBtn->isVisible());
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Close");
    QVERIFY(folder.readFile("analyser projects/radio.prj").startsWith("VersionTag45\r\n"));
    QCOMPARE(folder.readFile("settings.txt"),
             "VDSP Installation Path:\n" + folder.path("VisualDSP 5.0").toUtf8() +
                 "\n\nWrite Conversion Report:\nyes\n\nWrite Compilation Database:\nyes\n\n");
}

QTEST_MAIN(RealConverterTest)
#include "real_converter_test.moc"
