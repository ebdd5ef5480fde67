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

void RealConverterTest::convertsTheBundledExample()
{
    WorkingFolder folder;
    // A failed run's message box would otherwise hold the test until it times out.
    MessageBoxCloser failureBox;
    SearchPath searchPath({QFileInfo(converterPath).path(), QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    Projbridge wizard;
    showWizard(wizard);
    QTest::keyClicks(wizard.VDSPProjectEdit, exampleProject);
    QTest::keyClicks(wizard.VDSPInstallDirEdit, folder.makeFolder("VisualDSP 5.0"));
    QTest::keyClicks(wizard.TavricProjectEdit, folder.makeFolder("analyser projects"));
    QTest::keyClicks(wizard.TavricNameEdit, "dsp-filter");
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(press(wizard, QWizard::NextButton));
    QTest::mouseClick(wizard.cCheck, Qt::LeftButton);
    QTest::mouseClick(wizard.hCheck, Qt::LeftButton);
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(wizard.ReportCheck->isChecked());
    QVERIFY(press(wizard, QWizard::FinishButton));
    auto* converter = wizard.findChild<QProcess*>();
    QVERIFY(converter);
    QSignalSpy finished(converter, &QProcess::finished);

    QVERIFY(finished.wait(runMilliseconds));
    QCOMPARE(failureBox.closedBoxes, 0);

    const QStringList lines = wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 5, qPrintable(lines.join('\n')));
    QCOMPARE(lines.first(), "Initialising Project Conversion ...");
    QCOMPARE(lines[1], "Creating Tavric/Tavric++ Project ...");
    QCOMPARE(lines[lines.size() - 3], "Tavric/Tavric++ Project Completed!");
    QCOMPARE(lines[lines.size() - 2], "Project Converted Successfully!");
    const QString report = folder.path("analyser projects/dsp-filter.report.tsv");
    QVERIFY(QFileInfo::exists(report));
    QVERIFY2(lines.last().startsWith("Report: ") && lines.last().endsWith("\\dsp-filter.report.tsv"),
             qPrintable(lines.last()));
    QVERIFY(wizard.OpenReportBtn->isVisible());
    QCOMPARE(wizard.button(QWizard::CancelButton)->text(), "Close");
    QVERIFY(folder.readFile("analyser projects/dsp-filter.prj").startsWith("VersionTag45\r\n"));
    QCOMPARE(folder.readFile("settings.txt"),
             "VDSP Installation Path:\n" + folder.path("VisualDSP 5.0").toUtf8() +
                 "\n\nWrite Conversion Report:\nyes\n\nWrite Compilation Database:\nno\n\n");
}

QTEST_MAIN(RealConverterTest)
#include "real_converter_test.moc"
