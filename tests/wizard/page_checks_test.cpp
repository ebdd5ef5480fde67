#include "projbridge.h"
#include "wizard_test_support.h"

#include <QApplication>
#include <QDir>
#include <QMap>
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
    void firstPageNeedsThreeExistingPathsAndAName_data();
    void firstPageNeedsThreeExistingPathsAndAName();
    void clearingTheNameDisablesNext();
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

void PageChecksTest::firstPageNeedsThreeExistingPathsAndAName_data()
{
    // Typed project, install folder, destination and name; "$" stands for the test's folder, which holds the file
    // "work dir/app.dpj" and the folders "VisualDSP 5.0", "out" and "a folder.dpj". A null name is not typed.
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QStringList>("redFields");
    QTest::addColumn<QString>("nameShown");

    const QString dpj = "$/work dir/app.dpj";
    const QString vdsp = "$/VisualDSP 5.0";
    const QString out = "$/out";
    const QString noSuchFile = "Project File: no such file.";
    const QString badName = "Name: a name may not hold \\ or / or be ..";
    QTest::newRow("all present") << QStringList{dpj, vdsp, out, "app"} << QString() << QStringList() << "app";
    QTest::newRow("project missing") << QStringList{"$/gone.dpj", vdsp, out, "app"} << noSuchFile
                                     << QStringList{"VDSPProjectEdit"} << "app";
    QTest::newRow("folder as project") << QStringList{"$/a folder.dpj", vdsp, out, "app"}
                                       << "Project File: this is a folder, not a project file."
                                       << QStringList{"VDSPProjectEdit"} << "app";
    QTest::newRow("install missing") << QStringList{dpj, "$/VisualDSP 4.0", out, "app"}
                                     << "Install Location: no such folder. Leave it empty to have it looked up."
                                     << QStringList{"VDSPInstallDirEdit"} << "app";
    QTest::newRow("install empty") << QStringList{dpj, "", out, "app"} << QString() << QStringList() << "app";
    QTest::newRow("install is a file") << QStringList{dpj, dpj, out, "app"}
                                       << "Install Location: this is a file, not a folder."
                                       << QStringList{"VDSPInstallDirEdit"} << "app";
    QTest::newRow("destination missing") << QStringList{dpj, vdsp, "$/no out", "app"} << "Folder: no such folder."
                                         << QStringList{"TavricProjectEdit"} << "app";
    QTest::newRow("first problem named") << QStringList{"$/gone.dpj", vdsp, "$/no out", "a/b"} << noSuchFile
                                         << QStringList{"VDSPProjectEdit", "TavricProjectEdit", "TavricNameEdit"}
                                         << "a/b";
    QTest::newRow("name of its own") << QStringList{dpj, vdsp, out, "my app"} << QString() << QStringList() << "my app";
    QTest::newRow("name follows") << QStringList{dpj, vdsp, out, QString()} << QString() << QStringList() << "app";
    QTest::newRow("name ..") << QStringList{dpj, vdsp, out, ".."} << badName << QStringList{"TavricNameEdit"} << "..";
    QTest::newRow("name \\") << QStringList{dpj, vdsp, out, "a\\b"} << badName << QStringList{"TavricNameEdit"}
                             << "a\\b";
    QTest::newRow("name ...") << QStringList{dpj, vdsp, out, "..."} << QString() << QStringList() << "...";
    QTest::newRow("blanks and quotes") << QStringList{" \"" + dpj + "\"  ", "\t" + vdsp + " ", '"' + out + '"'}
                                       << QString() << QStringList() << "app";
    QTest::newRow("quotes inside") << QStringList{"\"$/work dir/\"app.dpj", vdsp, out, "app"} << noSuchFile
                                   << QStringList{"VDSPProjectEdit"} << "app";
}

void PageChecksTest::firstPageNeedsThreeExistingPathsAndAName()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, hint);
    QFETCH(QStringList, redFields);
    QFETCH(QString, nameShown);

    WorkingFolder folder;
    folder.writeFile("work dir/app.dpj");
    for (const char* name : {"VisualDSP 5.0", "out", "a folder.dpj"}) {
        folder.makeFolder(name);
    }
    for (QString& text : typed) {
        text.replace("$/", folder.path() + QDir::separator());
    }
    Projbridge wizard;
    showWizard(wizard);

    // The name goes first: it must not enable Next while paths are still missing, nor give way to the project's.
    QTest::keyClicks(wizard.TavricNameEdit, typed.value(3));
    QTest::keyClicks(wizard.VDSPProjectEdit, typed[0]);
    QTest::keyClicks(wizard.VDSPInstallDirEdit, typed[1]);
    QTest::keyClicks(wizard.TavricProjectEdit, typed[2]);

    QCOMPARE(wizard.VDSPProjectEdit->text(), typed[0]);
    QCOMPARE(wizard.TavricNameEdit->text(), nameShown);
    for (QLineEdit* field : wizard.Page0->findChildren<QLineEdit*>()) {
        QCOMPARE(textColour(field), redFields.contains(field->objectName()) ? red : black);
    }
    QCOMPARE(wizard.Page0HintLabel->text(), hint);
    QCOMPARE(::nextEnabled(wizard), hint.isEmpty());
    QCOMPARE(press(wizard, QWizard::NextButton), hint.isEmpty());
    QCOMPARE(wizard.currentPage(), hint.isEmpty() ? wizard.Page1 : wizard.Page0);
}

void PageChecksTest::clearingTheNameDisablesNext()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    QVERIFY(nextEnabled(wizard));

    wizard.TavricNameEdit->selectAll();
    QTest::keyClick(wizard.TavricNameEdit, Qt::Key_Delete);

    QVERIFY(wizard.TavricNameEdit->text().isEmpty());
    QVERIFY(!nextEnabled(wizard));
    QCOMPARE(wizard.Page0HintLabel->text(), "Name: enter a name for the Tavric/Tavric++ project.");
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
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(wizard.currentPage(), wizard.Page1);
    QVERIFY(::nextEnabled(wizard));

    QLineEdit* const fields[] = {wizard.MsgPersonEdit, wizard.AnalPersonEdit, wizard.CmpPersonEdit};
    for (int index = 0; index < 3; ++index) {
        const QString name = QStringLiteral("personalities/%1.p_x").arg(index);
        const QMap<QChar, QString> typed{{u'+', folder.writeFile(name)},
                                         {u'q', '"' + folder.path(name) + '"'},
                                         {u'd', folder.path(name + "d")},
                                         {u'-', folder.path(name + "-")}};
        folder.makeFolder(name + "d");
        QTest::keyClicks(fields[index], typed.value(kinds[index]));
        if (kinds[index] != u'.') {
            QCOMPARE(textColour(fields[index]), QStringLiteral("+q").contains(kinds[index]) ? black : red);
        }
    }

    QCOMPARE(wizard.Page1HintLabel->text(), hint);
    QCOMPARE(::nextEnabled(wizard), hint.isEmpty());
    QCOMPARE(press(wizard, QWizard::NextButton), hint.isEmpty());
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
