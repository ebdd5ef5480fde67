#include "page_checks.h"
#include "projbridge.h"
#include "wizard_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

const QColor black{0, 0, 0};
const QColor red{255, 0, 0};

QColor textColour(const QLineEdit* field)
{
    return field->palette().color(QPalette::Text);
}

bool nextEnabled(Projbridge& wizard)
{
    return wizard.button(QWizard::NextButton)->isEnabled();
}

} // namespace

// The first two pages colour their path fields and allow Next as the user types.
class PageChecksTest : public QObject {
    Q_OBJECT

private slots:
    void firstPageOpensEmptyWithNextDisabled();
    void firstPageProblems_data();
    void firstPageProblems();
    void firstPageShowsItsProblems();
    void aTypedNameGivesWayToAnotherProject();
    void keyReleaseRechecksUnchangedText();
    void personalityPage_data();
    void personalityPage();
    void emptiedPersonalityFieldNoLongerBlocksNext();
};

void PageChecksTest::firstPageOpensEmptyWithNextDisabled()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    for (const QLineEdit* field :
         {wizard.VDSPProjectEdit, wizard.VDSPInstallDirEdit, wizard.TavricProjectEdit, wizard.TavricNameEdit,
          wizard.MsgPersonEdit, wizard.AnalPersonEdit, wizard.CmpPersonEdit}) {
        QVERIFY(field->text().isEmpty());
    }
    QCOMPARE(wizard.currentPage(), wizard.Page0);
    QVERIFY(!nextEnabled(wizard));
    QCOMPARE(wizard.Page0HintLabel->text(),
             "Project File: choose the project (.dpj) or project group (.dpg) to convert.");
    QVERIFY(!wizard.button(QWizard::HelpButton)->isVisible());

    // The fields come first, in the order the page shows them, then their Browse buttons.
    QVERIFY(QTest::qWaitForWindowActive(&wizard));
    for (const QWidget* expected :
         std::initializer_list<QWidget*>{wizard.VDSPProjectEdit, wizard.VDSPInstallDirEdit, wizard.TavricProjectEdit,
                                         wizard.TavricNameEdit, wizard.VDSPProjectBrowseBtn}) {
        QCOMPARE(QApplication::focusWidget(), expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void PageChecksTest::firstPageProblems_data()
{
    // Typed project, install folder, destination and name; "$" stands for the test's folder, which holds the file
    // "work dir/app.dpj" and the folders "VisualDSP 5.0", "out" and "a folder.dpj".
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("problems");

    const QString dpj = "$/work dir/app.dpj";
    const QString vdsp = "$/VisualDSP 5.0";
    const QString out = "$/out";
    const QString noSuchFile = "Project File: no such file.";
    const QString badName = "Name: a project name holds no \"\\\", \"/\" or \"..\".";
    const QString notOnWindows = "Name: a project name holds no < > : \" | ? * or control character, which Windows "
                                 "forbids in file names.";
    const QStringList none{"", "", "", ""};
    QTest::newRow("all present") << QStringList{dpj, vdsp, out, "app"} << none;
    QTest::newRow("project missing") << QStringList{"$/gone.dpj", vdsp, out, "app"}
                                     << QStringList{noSuchFile, "", "", ""};
    QTest::newRow("project empty") << QStringList{"", vdsp, out, "app"}
                                   << QStringList{
                                          "Project File: choose the project (.dpj) or project group (.dpg) to convert.",
                                          "", "", ""};
    QTest::newRow("folder as project") << QStringList{"$/a folder.dpj", vdsp, out, "app"}
                                       << QStringList{"Project File: this is a folder, not a project file.", "", "",
                                                      ""};
    // Told from the file's start; an empty file is the converter's to report.
    const QString notAProject = "Project File: not a VisualDSP project or project group.";
    QTest::newRow("linker file as project") << QStringList{"$/work dir/app.ldf", vdsp, out, "app"}
                                            << QStringList{notAProject, "", "", ""};
    QTest::newRow("other XML as project") << QStringList{"$/work dir/other.dpj", vdsp, out, "app"}
                                          << QStringList{notAProject, "", "", ""};
    QTest::newRow("older binary project")
        << QStringList{"$/work dir/old.dpj", vdsp, out, "app"}
        << QStringList{"Project File: a binary project file of an older VisualDSP version. Open it in the IDE and "
                       "save it, which converts it, then choose it again.",
                       "", "", ""};
    QTest::newRow("install missing")
        << QStringList{dpj, "$/VisualDSP 4.0", out, "app"}
        << QStringList{"", "Install Location: no such folder. Leave it empty to have it looked up.", "", ""};
    QTest::newRow("install empty") << QStringList{dpj, "", out, "app"} << none;
    QTest::newRow("install is a file") << QStringList{dpj, dpj, out, "app"}
                                       << QStringList{"", "Install Location: this is a file, not a folder.", "", ""};
    QTest::newRow("destination missing") << QStringList{dpj, vdsp, "$/no out", "app"}
                                         << QStringList{"", "", "Folder: no such folder.", ""};
    QTest::newRow("destination empty")
        << QStringList{dpj, vdsp, "", "app"}
        << QStringList{"", "", "Folder: choose the folder that the Tavric/Tavric++ project goes into.", ""};
    QTest::newRow("name empty") << QStringList{dpj, vdsp, out, ""}
                                << QStringList{"", "", "", "Name: enter a name for the Tavric/Tavric++ project."};
    QTest::newRow("name ..") << QStringList{dpj, vdsp, out, ".."} << QStringList{"", "", "", badName};
    QTest::newRow("name \\") << QStringList{dpj, vdsp, out, "a\\b"} << QStringList{"", "", "", badName};
    QTest::newRow("name /") << QStringList{dpj, vdsp, out, "a/b"} << QStringList{"", "", "", badName};
    QTest::newRow("name ...") << QStringList{dpj, vdsp, out, "..."} << none;
    QTest::newRow("name Windows cannot hold")
        << QStringList{dpj, vdsp, out, "a:b*c?"} << QStringList{"", "", "", notOnWindows};
    QTest::newRow("blanks and quotes") << QStringList{" \"" + dpj + "\"  ", "\t" + vdsp + " ", "'" + out + "'", "app"}
                                       << none;
    QTest::newRow("name with blanks and .prj") << QStringList{dpj, vdsp, out, "  My Filter.PRJ "} << none;
#ifndef Q_OS_WIN
    // Drive Z: is the root folder, as in Wine's own prefix.
    QTest::newRow("drive paths") << QStringList{"Z:" + dpj, "Z:" + vdsp, "'Z:" + out + "'", "app"} << none;
    QTest::newRow("destination not writable") << QStringList{dpj, vdsp, "/proc/1", "app"}
                                              << QStringList{"", "", "Folder: this folder cannot be written.", ""};
#endif
    QTest::newRow("quotes inside") << QStringList{"\"$/work dir/\"app.dpj", vdsp, out, "app"}
                                   << QStringList{noSuchFile, "", "", ""};
}

void PageChecksTest::firstPageProblems()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, problems);

    WorkingFolder folder;
    folder.writeFile("work dir/app.dpj");
    folder.writeFile("work dir/app.ldf", "ARCHITECTURE(ADSP-BF533)\n");
    folder.writeFile("work dir/other.dpj", "<?xml version=\"1.0\"?>\n<!-- x -->\n<linker-description/>\n");
    folder.writeFile("work dir/old.dpj", QByteArray("xV4\x12\0\0\x01", 7));
    for (const char* name : {"VisualDSP 5.0", "out", "a folder.dpj"}) {
        folder.makeFolder(name);
    }
    for (QString& text : typed) {
        text.replace("$/", folder.path() + QDir::separator());
        if (text.contains("Z:")) {
            text.replace(u'/', u'\\');
        }
    }
    WizardFields fields;
    fields.projectFile = typed[0];
    fields.installFolder = typed[1];
    fields.destination = typed[2];
    fields.name = typed[3];

    QCOMPARE(::firstPageProblems(fields), problems);
}

// The page shows what the checks find: each refused field red, the first problem in the hint line, Next only
// when there is none. The name typed first must not give way to the project's.
void PageChecksTest::firstPageShowsItsProblems()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    QVERIFY(QTest::qWaitForWindowActive(&wizard));
    QTest::keyClicks(wizard.TavricNameEdit, "a/b");
    QTest::keyClicks(wizard.VDSPProjectEdit, folder.path("gone.dpj"));
    QTest::keyClicks(wizard.TavricProjectEdit, folder.path("new/out"));

    QCOMPARE(wizard.TavricNameEdit->text(), "a/b");
    for (QLineEdit* field : wizard.Page0->findChildren<QLineEdit*>()) {
        QCOMPARE(textColour(field), field == wizard.VDSPInstallDirEdit ? black : red);
    }
    QCOMPARE(wizard.Page0HintLabel->text(), "Project File: no such file.");
    QVERIFY(!press(wizard, QWizard::NextButton));

    // A missing destination is created with one click; a whole tree only
    // once the user agrees to the number of folders, and the focus then stays
    // off Cancel, where Enter would close the wizard.
    {
        AnsweredMessages declined(wizard, QMessageBox::No);
        QTest::mouseClick(wizard.CreateFolderBtn, Qt::LeftButton);
        QCOMPARE(declined.shown.size(), 1);
        QVERIFY(declined.shown.front().text.startsWith("2 folders will be created for "));
        QVERIFY(!QFileInfo(folder.path("new")).exists());
    }
    {
        AnsweredMessages agreed(wizard, QMessageBox::Yes);
        QTest::mouseClick(wizard.CreateFolderBtn, Qt::LeftButton);
    }
    QVERIFY(QFileInfo(folder.path("new/out")).isDir() && !wizard.CreateFolderBtn->isVisible());
    QVERIFY(QApplication::focusWidget() != wizard.button(QWizard::CancelButton));
    folder.writeFile("gone.dpj");
    wizard.TavricNameEdit->setText("app");
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(QApplication::focusWidget(), wizard.MsgPersonEdit);
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(QApplication::focusWidget(), wizard.cppCheck);
}

void PageChecksTest::aTypedNameGivesWayToAnotherProject()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    QTest::keyClicks(wizard.TavricNameEdit, "mine");
    QTest::keyClicks(wizard.VDSPProjectEdit, folder.writeFile("first.dpj"));
    QCOMPARE(wizard.TavricNameEdit->text(), "mine");

    QString second = folder.writeFile("second.copy.dpj");
#ifndef Q_OS_WIN
    // As the converter prints paths.
    second = "Z:" + second.replace(u'/', u'\\');
#endif
    wizard.VDSPProjectEdit->setText(second);

    QCOMPARE(wizard.TavricNameEdit->text(), "second");
}

void PageChecksTest::keyReleaseRechecksUnchangedText()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    const QString later = folder.path("later.dpj");
    wizard.VDSPProjectEdit->setText(later);
    QCOMPARE(textColour(wizard.VDSPProjectEdit), red);
    QVERIFY(!nextEnabled(wizard));

    folder.writeFile("later.dpj");
    QTest::keyClick(wizard.VDSPProjectEdit, Qt::Key_End);

    QCOMPARE(wizard.VDSPProjectEdit->text(), later);
    QCOMPARE(textColour(wizard.VDSPProjectEdit), black);
    QVERIFY(nextEnabled(wizard));
}

void PageChecksTest::personalityPage_data()
{
    // One letter each for the message, analyser and compiler fields: "+" an existing file, "-" a missing one,
    // "d" a folder, "q" an existing file in double quotes, "." left empty.
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("hint");

    const QString missingAnalyser = "Template Analyser Personality: no such file.";
    QTest::newRow("all empty") << "..." << QString();
    QTest::newRow("all existing") << "+++" << QString();
    QTest::newRow("missing message, existing compiler") << "-.+"
                                                        << "Message Personality: no such file.";
    QTest::newRow("existing message, missing compiler") << "+.-"
                                                        << "Compiler Personality: no such file.";
    QTest::newRow("only analyser, missing") << ".-." << missingAnalyser;
    QTest::newRow("only analyser, existing") << ".+." << QString();
    QTest::newRow("missing analyser between existing ones") << "+-+" << missingAnalyser;
    QTest::newRow("folder, named before a missing file")
        << "qd-"
        << "Template Analyser Personality: this is a folder, not a personality file.";
    QTest::newRow("quoted paths") << "qqq" << QString();
}

void PageChecksTest::personalityPage()
{
    QFETCH(QString, kinds);
    QFETCH(QString, hint);

    WorkingFolder folder;
    QStringList typed;
    for (int index = 0; index < 3; ++index) {
        const QString name = QStringLiteral("personalities/%1.p_x").arg(index);
        const QMap<QChar, QString> path{{u'+', folder.writeFile(name)},
                                        {u'q', '"' + folder.path(name) + '"'},
                                        {u'd', folder.makeFolder(name + "d")},
                                        {u'-', folder.path(name + "-")}};
        typed << path.value(kinds[index]);
    }
    WizardFields fields;
    fields.messagePersonality = typed[0];
    fields.analyserPersonality = typed[1];
    fields.compilerPersonality = typed[2];

    const QStringList problems = personalityPageProblems(fields);
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(problems[index].isEmpty(), QStringLiteral("+q.").contains(kinds[index]));
    }
    QCOMPARE(problems.value(problems.indexOf(QRegularExpression(".+"))), hint);
}

void PageChecksTest::emptiedPersonalityFieldNoLongerBlocksNext()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    QVERIFY(press(wizard, QWizard::NextButton));
    QTest::keyClicks(wizard.CmpPersonEdit, folder.path("missing.p_c"));
    QVERIFY(!nextEnabled(wizard));

    wizard.CmpPersonEdit->selectAll();
    QTest::keyClick(wizard.CmpPersonEdit, Qt::Key_Backspace);

    QVERIFY(nextEnabled(wizard));
}

QTEST_MAIN(PageChecksTest)
#include "page_checks_test.moc"
