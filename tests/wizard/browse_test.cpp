#include "projbridge.h"
#include "wizard_test_support.h"

#include <QDir>
#include <QTest>

namespace {

// Answers every browse dialog with the next prepared path and remembers what it was asked.
struct ScriptedDialog {
    QStringList answers;
    QList<BrowseRequest> requests;
    QList<QWidget*> parents;
};

BrowseDialog answerFrom(ScriptedDialog& script)
{
    return [&script](QWidget* parent, const BrowseRequest& request) {
        script.requests << request;
        script.parents << parent;
        return script.answers.isEmpty() ? QString() : script.answers.takeFirst();
    };
}

QPushButton* browseButton(Projbridge& wizard, const QString& name)
{
    return wizard.findChild<QPushButton*>(name);
}

QLineEdit* lineEdit(Projbridge& wizard, const QString& name)
{
    return wizard.findChild<QLineEdit*>(name);
}

} // namespace

// Each Browse button asks for the right kind of path and puts the answer into its field.
class BrowseTest : public QObject {
    Q_OBJECT

private slots:
    void eachButtonAsksForItsPath_data();
    void eachButtonAsksForItsPath();
    void theLastAnswerIsWhereTheNextDialogStarts();
    void cancellingChangesNothing();
    void aBrowsedPathRunsThePageCheck();
};

void BrowseTest::eachButtonAsksForItsPath_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<bool>("directoriesOnly");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("dialogName");

    QTest::newRow("install") << "VDSPInstallBrowseBtn"
                             << "VDSPInstallDirEdit" << true << "Specify the VisualDSP Installation Directory"
                             << ""
                             << "get existing directory";
    QTest::newRow("project") << "VDSPProjectBrowseBtn"
                             << "VDSPProjectEdit" << false << "Select a VisualDSP Project"
                             << "VisualDSP Projects (*.dpj *.dpg)"
                             << "open file dialog";
    QTest::newRow("destination") << "TavricProjectBrowseBtn"
                                 << "TavricProjectEdit" << true
                                 << "Select the Tavric/Tavric++ Project Destination Directory"
                                 << ""
                                 << "get existing directory";
    QTest::newRow("message") << "MsgBrowseBtn"
                             << "MsgPersonEdit" << false << "Select a Message Personality"
                             << "Msg Personalities(*.p_s)"
                             << "open file dialog";
    QTest::newRow("analyser") << "AnalBrowseBtn"
                              << "AnalPersonEdit" << false << "Select a Template Analyser Personality"
                              << "Analiser Personalities(*.p_a)"
                              << "open file dialog";
    QTest::newRow("compiler") << "CmpBrowseBtn"
                              << "CmpPersonEdit" << false << "Select a Compiler Personality"
                              << "Cmp Personalities(*.p_c)"
                              << "open file dialog";
}

void BrowseTest::eachButtonAsksForItsPath()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, fieldName);
    QFETCH(bool, directoriesOnly);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(QString, dialogName);

    WorkingFolder folder;
    Projbridge wizard;
    ScriptedDialog script;
    script.answers << folder.path("chosen path");
    wizard.setBrowseDialog(answerFrom(script));

    browseButton(wizard, buttonName)->click();

    QCOMPARE(script.requests.size(), 1);
    const BrowseRequest& request = script.requests.first();
    QCOMPARE(request.directoriesOnly, directoriesOnly);
    QCOMPARE(request.caption, caption);
    QCOMPARE(request.filter, filter);
    QCOMPARE(request.dialogName, dialogName);
    QCOMPARE(request.startPath, folder.path());
    QCOMPARE(script.parents.first(), &wizard);
    QCOMPARE(lineEdit(wizard, fieldName)->text(), folder.path("chosen path"));
}

void BrowseTest::theLastAnswerIsWhereTheNextDialogStarts()
{
    WorkingFolder folder;
    Projbridge wizard;
    ScriptedDialog script;
    // A file answer makes its folder the next start, so the next dialog does not offer that file again; a field
    // that holds a path starts at its folder.
    script.answers << folder.writeFile("work/app.dpj") << folder.writeFile("personalities/misra.p_a")
                   << folder.makeFolder("out");
    wizard.setBrowseDialog(answerFrom(script));

    wizard.VDSPProjectBrowseBtn->click();
    wizard.AnalBrowseBtn->click();
    wizard.TavricProjectBrowseBtn->click();
    wizard.CmpBrowseBtn->click();
    wizard.VDSPProjectBrowseBtn->click();

    QCOMPARE(script.requests.size(), 5);
    QCOMPARE(script.requests[1].startPath, folder.path("work"));
    QCOMPARE(script.requests[2].startPath, folder.path("personalities"));
    QCOMPARE(script.requests[3].startPath, folder.path("out"));
    QCOMPARE(script.requests[4].startPath, folder.path("work"));
    QCOMPARE(wizard.AnalPersonEdit->text(), folder.path("personalities/misra.p_a"));
}

void BrowseTest::cancellingChangesNothing()
{
    WorkingFolder folder;
    Projbridge wizard;
    ScriptedDialog script;
    script.answers << folder.path("first.p_s") << QString();
    wizard.setBrowseDialog(answerFrom(script));

    wizard.MsgBrowseBtn->click();
    wizard.MsgBrowseBtn->click();
    wizard.MsgBrowseBtn->click();

    QCOMPARE(wizard.MsgPersonEdit->text(), folder.path("first.p_s"));
}

void BrowseTest::aBrowsedPathRunsThePageCheck()
{
    WorkingFolder folder;
    Projbridge wizard;
    showWizard(wizard);
    fillFirstPage(wizard, folder);
    wizard.TavricProjectEdit->clear();
    QVERIFY(!wizard.button(QWizard::NextButton)->isEnabled());
    ScriptedDialog script;
    script.answers << folder.makeFolder("chosen destination");
    wizard.setBrowseDialog(answerFrom(script));

    QTest::mouseClick(wizard.TavricProjectBrowseBtn, Qt::LeftButton);

    QCOMPARE(wizard.TavricProjectEdit->palette().color(QPalette::Text), QColor(0, 0, 0));
    QVERIFY(wizard.button(QWizard::NextButton)->isEnabled());
}

QTEST_MAIN(BrowseTest)
#include "browse_test.moc"
