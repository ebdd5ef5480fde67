#include "projbridge.h"
#include "wizard_test_support.h"

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
    void anExistingFolderCountsAsProjectFile();
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
    QVERIFY(!wizard.button(QWizard::HelpButton)->isVisible());
}

void PageChecksTest::firstPageNeedsThreeExistingPathsAndAName_data()
{
    QTest::addColumn<bool>("projectExists");
    QTest::addColumn<bool>("installExists");
    QTest::addColumn<bool>("destinationExists");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("nextEnabled");

    QTest::newRow("all present") << true << true << true << "app" << true;
    QTest::newRow("project missing") << false << true << true << "app" << false;
    QTest::newRow("install folder missing") << true << false << true << "app" << false;
    QTest::newRow("destination missing") << true << true << false << "app" << false;
    QTest::newRow("name empty") << true << true << true << "" << false;
    QTest::newRow("name with blanks") << true << true << true << "my app" << true;
}

void PageChecksTest::firstPageNeedsThreeExistingPathsAndAName()
{
    QFETCH(bool, projectExists);
    QFETCH(bool, installExists);
    QFETCH(bool, destinationExists);
    QFETCH(QString, name);
    QFETCH(bool, nextEnabled);

    WorkingFolder folder;
    const QString project = projectExists ? folder.writeFile("work dir/app.dpj") : folder.path("work dir/gone.dpj");
    const QString install = installExists ? folder.makeFolder("VisualDSP 5.0") : folder.path("VisualDSP 4.0");
    const QString destination = destinationExists ? folder.makeFolder("out") : folder.path("no out");
    Projbridge wizard;
    showWizard(wizard);

    // The name goes first: it must not enable Next while paths are still missing.
    QTest::keyClicks(wizard.TavricNameEdit, name);
    QTest::keyClicks(wizard.VDSPProjectEdit, project);
    QTest::keyClicks(wizard.VDSPInstallDirEdit, install);
    QTest::keyClicks(wizard.TavricProjectEdit, destination);

    QCOMPARE(wizard.VDSPProjectEdit->text(), project);
    QCOMPARE(textColour(wizard.VDSPProjectEdit), projectExists ? black : red);
    QCOMPARE(textColour(wizard.VDSPInstallDirEdit), installExists ? black : red);
    QCOMPARE(textColour(wizard.TavricProjectEdit), destinationExists ? black : red);
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
}

void PageChecksTest::anExistingFolderCountsAsProjectFile()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);

    wizard.VDSPProjectEdit->clear();
    QTest::keyClicks(wizard.VDSPProjectEdit, folder.makeFolder("a folder.dpj"));

    QCOMPARE(textColour(wizard.VDSPProjectEdit), black);
    QVERIFY(nextEnabled(wizard));
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
    QTest::addColumn<bool>("nextEnabled");

    // "+" names an existing file, "-" a missing one, "" leaves the field empty.
    QTest::newRow("all empty") << ""
                               << ""
                               << "" << true;
    QTest::newRow("all existing") << "+"
                                  << "+"
                                  << "+" << true;
    QTest::newRow("missing message, existing compiler") << "-"
                                                        << ""
                                                        << "+" << false;
    QTest::newRow("existing message, missing compiler") << "+"
                                                        << ""
                                                        << "-" << false;
    QTest::newRow("only analyser, missing") << ""
                                            << "-"
                                            << "" << false;
    QTest::newRow("only analyser, existing") << ""
                                             << "+"
                                             << "" << true;
    QTest::newRow("missing analyser between existing ones") << "+"
                                                            << "-"
                                                            << "+" << false;
}

void PageChecksTest::personalityPage()
{
    QFETCH(QString, message);
    QFETCH(QString, analyser);
    QFETCH(QString, compiler);
    QFETCH(bool, nextEnabled);

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
        } else if (kind == "-") {
            QTest::keyClicks(field, folder.path(name));
        }
    }

    for (const auto& [field, kind] : fields) {
        if (!kind.isEmpty()) {
            QCOMPARE(textColour(field), kind == "+" ? black : red);
        }
    }
    QCOMPARE(::nextEnabled(wizard), nextEnabled);
    QCOMPARE(press(wizard, QWizard::NextButton), nextEnabled);
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
