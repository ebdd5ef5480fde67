#include "converter_arguments.h"
#include "converter_program.h"
#include "projbridge.h"
#include "summary.h"
#include "update_preview.h"
#include "wizard_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace {

// Clicks the boxes named in the comma-separated list, e.g. "cpp,h,Report" (the report box starts ticked).
void tickBoxes(Projbridge& wizard, const QString& boxes)
{
    for (const QString& extension : boxes.split(u',', Qt::SkipEmptyParts)) {
        QCheckBox* box = wizard.findChild<QCheckBox*>(extension + QStringLiteral("Check"));
        QVERIFY2(box, qPrintable(extension));
        QTest::mouseClick(box, Qt::LeftButton);
    }
}

// The fields that fillFirstPage sets, with the report box as the form sets it.
WizardFields filledFields(const WorkingFolder& folder)
{
    WizardFields fields;
    fields.projectFile = folder.writeFile("source/app.dpj");
    fields.installFolder = folder.makeFolder("VisualDSP");
    fields.destination = folder.makeFolder("destination");
    fields.name = "app";
    return fields;
}

// The summary of the fields that fillFirstPage sets, with no personality and the report box as the form sets it.
QString expectedSummary(const WorkingFolder& folder, const QString& extensions, const QString& groupBlock = {})
{
    return "Visual DSP Project:\n" + folder.path("source/app.dpj") + "\n\n" + groupBlock +
           "Visual DSP Install Location:\n" + folder.path("VisualDSP") + "\n\n" +
           "Tavric / Tavric++ Project Directory:\n" + folder.path("destination") + "\n\n" +
           "Tavric / Tavric++ Project Name:\napp\n\n" + "Message Personality:\nnone\n\n" +
           "Tamplate Analyser Personality:\nnone\n\n" + "Compiler Personality:\nnone\n\n" + "File Extensions:\n" +
           extensions + "\n\n" + "Conversion Report:\n" + folder.path("destination/app.report.tsv") + "\n\n" +
           "Compilation Databases:\nnone\n";
}

} // namespace

// The extension list, the summary and the converter's command line, from the fields and through the pages.
class SummaryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void extensionListInSummary_data();
    void extensionListInSummary();
    void summaryFollowsChangesAfterGoingBack();
    void summaryFollowsTheBoxesBeforeTheRun();
    void projectGroupInSummary_data();
    void projectGroupInSummary();
    void commandLine_data();
    void commandLine();
    void aLongUpdatePreviewIsCountedBeyondItsLines();
    void pathsInTheDestinationKeepItsForm();
    void aNeighbourThatWroteThisProjectsFolderIsToldBeforeFinish();

private:
    void goToExtensionsPage(Projbridge& wizard, const WorkingFolder& folder);

    // A converter to be found, so that the summary has nothing to say of it.
    QTemporaryDir converterFolder;
    std::unique_ptr<SearchPath> searchPath;
};

void SummaryTest::initTestCase()
{
    QFile converter(QDir(converterFolder.path()).filePath(converterFileName()));
    QVERIFY(converter.open(QIODevice::WriteOnly));
    converter.close();
    converter.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    searchPath = std::make_unique<SearchPath>(QStringList{converterFolder.path()});
}

void SummaryTest::goToExtensionsPage(Projbridge& wizard, const WorkingFolder& folder)
{
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    QVERIFY(press(wizard, QWizard::NextButton));
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(wizard.currentPage(), wizard.Page2);
}

void SummaryTest::extensionListInSummary_data()
{
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("custom");
    QTest::addColumn<QString>("extensions");

    QTest::newRow("cpp and h with custom list") << "cpp,h"
                                                << "res,xml"
                                                << "cpp,h,res,xml";
    QTest::newRow("custom ending in a comma") << ""
                                              << "asm,"
                                              << "asm";
    QTest::newRow("nothing") << ""
                             << ""
                             << "all files";
    QTest::newRow("custom ending in two commas") << ""
                                                 << "s,,"
                                                 << "s,";
    QTest::newRow("custom starting with a comma") << "c"
                                                  << ",inc"
                                                  << "c,,inc";
    QTest::newRow("custom with semicolons and blanks") << "c"
                                                       << "asm; *.s  dsp"
                                                       << "c,asm,s,dsp";
    QTest::newRow("custom as the boxes show them") << ""
                                                   << " *.S , .inc,*asm"
                                                   << "S,inc,asm";
}

void SummaryTest::extensionListInSummary()
{
    QFETCH(QString, boxes);
    QFETCH(QString, custom);
    QFETCH(QString, extensions);

    WorkingFolder folder;
    WizardFields fields = filledFields(folder);
    fields.extensionList = buildExtensionList(boxes.split(u',', Qt::SkipEmptyParts), custom);

    QCOMPARE(summaryText(fields, std::nullopt), expectedSummary(folder, extensions));
    const QStringList commandLine = converterCommandLine(fields);
    if (extensions == "all files") {
        QVERIFY(!commandLine.contains("-ext"));
    } else {
        QCOMPARE(commandLine.mid(commandLine.indexOf("-ext"), 2), (QStringList{"-ext", extensions}));
    }
}

void SummaryTest::summaryFollowsChangesAfterGoingBack()
{
    WorkingFolder folder;
    Projbridge wizard;
    goToExtensionsPage(wizard, folder);
    tickBoxes(wizard, "c");
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(wizard.DetailsText->toPlainText(), expectedSummary(folder, "c"));

    QVERIFY(press(wizard, QWizard::BackButton));
    tickBoxes(wizard, "hxx,h,c,hpp,cc,cxx,hh,cpp");
    QVERIFY(press(wizard, QWizard::NextButton));

    QCOMPARE(wizard.DetailsText->toPlainText(), expectedSummary(folder, "cpp,cc,cxx,h,hh,hpp,hxx"));
}

void SummaryTest::summaryFollowsTheBoxesBeforeTheRun()
{
    WorkingFolder folder;
    Projbridge wizard;
    goToExtensionsPage(wizard, folder);
    wizard.VDSPInstallDirEdit->clear();
    // A group's members are read aside and join the summary when read.
    folder.writeFile("source/app.dpj", "<visualdsp-project-group/>");
    QVERIFY(press(wizard, QWizard::NextButton));
    tickBoxes(wizard, "Report,Compdb");

    const QString members = "Project Group Members:\nnone: the group lists no project\n\n";
    QTRY_COMPARE(wizard.DetailsText->toPlainText(),
                 expectedSummary(folder, "all files", members)
                     .replace(folder.path("VisualDSP"), "looked up")
                     .replace(folder.path("destination/app.report.tsv"), "none")
                     .replace("Databases:\nnone", "Databases:\n" + folder.path("destination/app.compdb")));
}

void SummaryTest::projectGroupInSummary_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("groupBlock");

    // As the IDE writes a group (ISO-8859-1, CR LF), under a name that does not say it is one.
    const QByteArray group = "<?xml version=\"1.0\" encoding='ISO-8859-1'?>\r\n<visualdsp-project-group>\r\n"
                             "<project name=\"video\" file=\".\\V.dpj\"><dependencies>\r\n"
                             "<dependent-project>K</dependent-project></dependencies></project>\r\n"
                             "<project name=\"Kern \xc4\" file=\"C:\\K\xe4rne\\A.dpj\"></project>\r\n";
    const QString members =
        QString::fromUtf8("Project Group Members:\nvideo (.\\V.dpj)\nKern Ä (C:\\Kärne\\A.dpj): no such file\n");
    QTest::newRow("group") << group + "</visualdsp-project-group>" << members + "\n";
    QTest::newRow("truncated") << group << members + "the group file could not be read beyond this point\n\n";
    QTest::newRow("empty") << QByteArray("<visualdsp-project-group/>")
                           << "Project Group Members:\nnone: the group lists no project\n\n";
}

void SummaryTest::projectGroupInSummary()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, groupBlock);

    WorkingFolder folder;
    const WizardFields fields = filledFields(folder);
    folder.writeFile("source/app.dpj", source);
    // The IDE finds a member whatever the letter case of its name.
    folder.writeFile("source/v.dpj");

    QCOMPARE(summaryText(fields, readProjectGroup(fields.projectFile)),
             expectedSummary(folder, "all files", groupBlock));
}

void SummaryTest::commandLine_data()
{
    QTest::addColumn<QStringList>("personalities"); // message, analyser, compiler
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QStringList>("options");

    const QString report = QDir::toNativeSeparators("/out put/my app.report.tsv");
    const QString database = QDir::toNativeSeparators("/out put/my app.compdb");
    QTest::newRow("nothing optional") << QStringList{"", "", ""} << "" << QStringList{};
    QTest::newRow("the report") << QStringList{"", "", ""} << "Report" << QStringList{"-report", report};
    QTest::newRow("only compiler") << QStringList{"", "", "/p/c.p_c"} << "" << QStringList{"-cp", "/p/c.p_c"};
    QTest::newRow("everything, blanks kept")
        << QStringList{"/my p/m.p_s", "/my p/a.p_a", "/my p/c.p_c"} << "cpp,h,Report,Compdb"
        << QStringList{"-mp",  "/my p/m.p_s", "-ap",     "/my p/a.p_a", "-cp",     "/my p/c.p_c",
                       "-ext", "cpp,h",       "-report", report,        "-compdb", database};
    QTest::newRow("analyser, extensions and database without report")
        << QStringList{"", "a b.p_a", ""} << "cc,Compdb"
        << QStringList{"-ap", "a b.p_a", "-ext", "cc", "-compdb", database};
    QTest::newRow("blanks and one pair of quotes dropped")
        << QStringList{" \"/my p/m.p_s\" ", "\"\"a.p_a\"\"", "\t/p/c.p_c"} << ""
        << QStringList{"-mp", "/my p/m.p_s", "-ap", "\"a.p_a\"", "-cp", "/p/c.p_c"};
#ifdef Q_OS_WIN
    QTest::newRow("a leading ~ is a file name")
        << QStringList{"~/m.p_s", "", "a~"} << "" << QStringList{"-mp", "~/m.p_s", "-cp", "a~"};
#else
    QTest::newRow("a leading ~ is the home folder")
        << QStringList{"~/m.p_s", "", "a~"} << "" << QStringList{"-mp", QDir::homePath() + "/m.p_s", "-cp", "a~"};
#endif
}

void SummaryTest::commandLine()
{
    QFETCH(QStringList, personalities);
    QFETCH(QString, boxes);
    QFETCH(QStringList, options);

    const QStringList ticked = boxes.split(u',', Qt::SkipEmptyParts);
    WizardFields fields{" \"/work/my project/app.dpj\"",
                        "",
                        "/out put ",
                        "my app",
                        personalities[0],
                        personalities[1],
                        personalities[2],
                        buildExtensionList(ticked.filter(QRegularExpression("^[a-z]+$")), "")};
    fields.report = ticked.contains("Report");
    fields.compilationDatabases = ticked.contains("Compdb");

    QCOMPARE(converterCommandLine(fields),
             QStringList({"ProjbridgeCli", "/work/my project/app.dpj", "/out put", "", "-pn", "my app"}) + options);
}

void SummaryTest::aLongUpdatePreviewIsCountedBeyondItsLines()
{
    const QStringList lines{"Would remove, the project no longer has it: a", "Would merge the edit into: b",
                            "Would merge the edit into: c"};
    QCOMPARE(updatePreviewText(lines, 3), "A dry run of this update says:\n" + lines.join(u'\n'));
    QCOMPARE(updatePreviewText(lines, 1), "A dry run of this update says:\n" + lines[0] + "\n... and 2 more");
}

// Z:\tmp\out5/app.report.tsv would be neither a Windows path nor a host one.
void SummaryTest::pathsInTheDestinationKeepItsForm()
{
    WizardFields fields;
    fields.name = "app";
    for (const char* typed : {"Z:\\tmp\\out5", "Z:/tmp/out5/", "'Z:\\tmp/out5'"}) {
        fields.destination = typed;
        QCOMPARE(reportFilePath(fields), "Z:\\tmp\\out5\\app.report.tsv");
    }
    fields.destination = "/tmp/out5";
    QCOMPARE(projectFilePath(fields), QDir::toNativeSeparators("/tmp/out5/app.prj"));
}

// Another project converted from a file of the same name wrote the folders this run writes; one from another file
// lives beside it in peace.
void SummaryTest::aNeighbourThatWroteThisProjectsFolderIsToldBeforeFinish()
{
    WorkingFolder folder;
    const WizardFields fields = filledFields(folder);
    const QByteArray header = "Projbridge run record 2\r\nfile 0 0123456789abcdef destination ";
    folder.writeFile("destination/radio.projbridge-record", header + "radio\\ADSP-21262\\person\\ADSP-21262.p_a\r\n");
    QVERIFY(!summaryText(fields, std::nullopt).contains("Other Project"));

    folder.writeFile("destination/old.projbridge-record", header + "app\\ADSP-21262\\person\\ADSP-21262.p_a\r\n");
    QVERIFY(summaryText(fields, std::nullopt)
                .contains("Other Project In The Folder:\nold, converted into this folder from a project file of the "
                          "same name, wrote the files this run would write: Finish will refuse to write over them. "
                          "Choose another folder, or convert under the name old.\n"));
}

QTEST_MAIN(SummaryTest)
#include "summary_test.moc"
