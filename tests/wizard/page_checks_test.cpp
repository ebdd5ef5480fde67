#include "projbridge.h"
#include "wizard_test_support.h"

#include <QApplication>
#include <QDir>
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
    // "$" stands for the test's folder, which holds the file "work dir/app.dpj", the folders "VisualDSP 5.0",
    // "out" and "a folder.dpj". A null name is left to follow the project.
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("install");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("redFields");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("nameShown");

    const QString project = "$/work dir/app.dpj";
    const QString install = "$/VisualDSP 5.0";
    const QString out = "$/out";
    QTest::newRow("all present") << project << install << out << "app"
                                 << ""
                                 << ""
                                 << "app";
    QTest::newRow("project missing") << "$/work dir/gone.dpj" << install << out << "app"
                                     << "VDSPProjectEdit"
                                     << "Project File: no such file."
                                     << "app";
    QTest::newRow("folder as project") << "$/a folder.dpj" << install << out << "app"
                                       << "VDSPProjectEdit"
                                       << "Project File: this is a folder, not a project file."
                                       << "app";
    QTest::newRow("install folder missing") << project << "$/VisualDSP 4.0" << out << "app"
                                            << "VDSPInstallDirEdit"
                                            << "Install Location: no such folder. Leave it empty to have it looked up."
                                            << "app";
    QTest::newRow("install empty, looked up") << project << "" << out << "app"
                                              << ""
                                              << ""
                                              << "app";
    QTest::newRow("install is a file") << project << project << out << "app"
                                       << "VDSPInstallDirEdit"
                                       << "Install Location: this is a file, not a folder."
                                       << "app";
    QTest::newRow("destination missing") << project << install << "$/no out"
                                         << "app"
                                         << "TavricProjectEdit"
                                         << "Folder: no such folder."
                                         << "app";
    QTest::newRow("first problem named") << "$/gone.dpj" << install << "$/no out"
                                         << "a/b"
                                         << "VDSPProjectEdit,TavricProjectEdit,TavricNameEdit"
                                         << "Project File: no such file."
                                         << "a/b";
    QTest::newRow("name of its own, with blanks") << project << install << out << "my app"
                                                  << ""
                                                  << ""
                                                  << "my app";
    QTest::newRow("name follows the project") << project << install << out << QString() << ""
                                              << ""
                                              << "app";
    for (const char* name : {"..", "a\\b", "/app"}) {
        QTest::addRow("name %s refused", name) << project << install << out << name << "TavricNameEdit"
                                               << "Name: a name may not hold \\ or / or be .." << name;
    }
    QTest::newRow("name '...' taken") << project << install << out << "..."
                                      << ""
                                      << ""
                                      << "...";
    QTest::newRow("blanks and quotes around paths") << " \"" + project + "\"  "
                                                    << "\t" + install + " "
                                                    << "\"" + out + "\"" << QString() << ""
                                                    << ""
                                                    << "app";
    QTest::newRow("quotes kept inside") << "\"$/work dir/\"app.dpj" << install << out << "app"
                                        << "VDSPProjectEdit"
                                        << "Project File: no such file."
                                        << "app";
}

void PageChecksTest::firstPageNeedsThreeExistingPathsAndAName()
{
    QFETCH(QString, project);
    QFETCH(QString, install);
    QFETCH(QString, destination);
    QFETCH(QString, name);
    QFETCH(QString, redFields);
    QFETCH(QString, hint);
    QFETCH(QString, nameShown);

    WorkingFolder folder;
    folder.writeFile("work dir/app.dpj");
    folder.makeFolder("VisualDSP 5.0");
    folder.makeFolder("out");
    folder.makeFolder("a folder.dpj");
    const auto typed = [&folder](QString text) { return text.replace("$/", folder.path() + QDir::separator()); };
    Projbridge wizard;
    showWizard(wizard);

    // The name goes first: it must not enable Next while paths are still missing, nor give way to the project's.
    QTest::keyClicks(wizard.TavricNameEdit, name);
    QTest::keyClicks(wizard.VDSPProjectEdit, typed(project));
    QTest::keyClicks(wizard.VDSPInstallDirEdit, typed(install));
    QTest::keyClicks(wizard.TavricProjectEdit, typed(destination));

    QCOMPARE(wizard.VDSPProjectEdit->text(), typed(project));
    QCOMPARE(wizard.TavricNameEdit->text(), nameShown);
    for (QLineEdit* field : wizard.Page0->findChildren<QLineEdit*>()) {
        QCOMPARE(textColour(field), redFields.split(',').contains(field->objectName()) ? red : black);
    }
    QCOMPARE(wizard.Page0HintLabel->text(), hint);
    const bool nextEnabled = hint.isEmpty();
    QCOMPARE(::nextEnabled(wizard), nextEnabled);
    QCOMPARE(press(wizard, QWizard::NextButton), nextEnabled);
    QCOMPARE(wizard.currentPage(), nextEnabled ? wizard.Page1 : wizard.Page0);
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
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("analyser");
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QString>("hint");

    // "+" names an existing file, "-" a missing one, "d" a folder, "q" an existing file in quotes, "" leaves the
    // field empty.
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << "";
    QTest::newRow("all existing") << "+"
                                  << "+"
                                  << "+"
                                  << "";
    QTest::newRow("missing message, existing compiler") << "-"
                                                        << ""
                                                        << "+"
                                                        << "Message Personality: no such file.";
    QTest::newRow("existing message, missing compiler") << "+"
                                                        << ""
                                                        << "-"
                                                        << "Compiler Personality: no such file.";
    QTest::newRow("only analyser, missing") << ""
                                            << "-"
                                            << ""
                                            << "Template Analyser Personality: no such file.";
    QTest::newRow("only analyser, existing") << ""
                                             << "+"
                                             << ""
                                             << "";
    QTest::newRow("missing analyser between existing ones") << "+"
                                                            << "-"
                                                            << "+"
                                                            << "Template Analyser Personality: no such file.";
    QTest::newRow("folder as compiler personality")
        << ""
        << ""
        << "d"
        << "Compiler Personality: this is a folder, not a personality file.";
    QTest::newRow("first of two problems named") << "q"
                                                 << "d"
                                                 << "-"
                                                 << "Template Analyser Personality: this is a folder, not a "
                                                    "personality file.";
    QTest::newRow("quoted paths") << "q"
                                  << "q"
                                  << "q"
                                  << "";
}

void PageChecksTest::personalityPage()
{
    QFETCH(QString, message);
    QFETCH(QString, analyser);
    QFETCH(QString, compiler);
    QFETCH(QString, hint);

    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    QVERIFY(press(wizard, QWizard::NextButton));
    QCOMPARE(wizard.currentPage(), wizard.Page1);
    QVERIFY(::nextEnabled(wizard));

    const std::pair<QLineEdit*, QString> fields[] = {
        {wizard.MsgPersonEdit, message}, {wizard.AnalPersonEdit, analyser}, {wizard.CmpPersonEdit, compiler}};
    int fileNumber = 0;
    for (const auto& [field, kind] : fields) {
        const QString name = QStringLiteral("personalities/%1.p_x").arg(++fileNumber);
        if (kind == "+") {
            QTest::keyClicks(field, folder.writeFile(name));
        } else if (kind == "q") {
            QTest::keyClicks(field, '"' + folder.writeFile(name) + '"');
        } else if (kind == "d") {
            QTest::keyClicks(field, folder.makeFolder(name));
        } else if (kind == "-") {
            QTest::keyClicks(field, folder.path(name));
        }
    }

    for (const auto& [field, kind] : fields) {
        if (!kind.isEmpty()) {
            QCOMPARE(textColour(field), kind == "+" || kind == "q" ? black : red);
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
