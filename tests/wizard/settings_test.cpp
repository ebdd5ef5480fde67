#include "projbridge.h"
#include "wizard_test_support.h"

#include <QStringEncoder>
#include <QTest>

// settings.txt in the working directory keeps the install folder and the three personalities between runs.
class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void writtenFile_data();
    void writtenFile();
    void writtenFileReadsBackUnchanged();
    void readFile_data();
    void readFile();
    void loadedPathsAreChecked();
    void aFolderInPlaceOfTheFileIsNeitherReadNorWritten();
};

void SettingsTest::writtenFile_data()
{
    QTest::addColumn<QString>("install");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("analyser");
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("all four") << "C:\\VisualDSP 5.0"
                              << "C:\\p\\msg.p_s"
                              << "C:\\p\\misra.p_a"
                              << "C:\\p\\cmp.p_c"
                              << QByteArray("VDSP Installation Path:\nC:\\VisualDSP 5.0\n\n"
                                            "Message Personality:\nC:\\p\\msg.p_s\n\n"
                                            "Analyser Personality:\nC:\\p\\misra.p_a\n\n"
                                            "Compiler Personality:\nC:\\p\\cmp.p_c\n\n");
    QTest::newRow("install and message") << "/opt/vdsp"
                                         << "/p/msg.p_s"
                                         << ""
                                         << ""
                                         << QByteArray("VDSP Installation Path:\n/opt/vdsp\n\n"
                                                       "Message Personality:\n/p/msg.p_s\n\n");
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << "" << QByteArray("VDSP Installation Path:\n\n\n");
    QTest::newRow("only compiler") << ""
                                   << ""
                                   << ""
                                   << "cmp.p_c"
                                   << QByteArray("VDSP Installation Path:\n\n\nCompiler Personality:\ncmp.p_c\n\n");
    // In the system's 8-bit encoding: UTF-8 on Linux, the ANSI code page on Windows.
    const QString nonAscii = QString::fromUtf8("/opt/Entwürfe");
    QTest::newRow("non-ASCII") << nonAscii << ""
                               << ""
                               << ""
                               << "VDSP Installation Path:\n" +
                                      QByteArray(QStringEncoder(QStringConverter::System)(nonAscii)) + "\n\n";
}

void SettingsTest::writtenFile()
{
    QFETCH(QString, install);
    QFETCH(QString, message);
    QFETCH(QString, analyser);
    QFETCH(QString, compiler);
    QFETCH(QByteArray, expected);
    expected += "Write Conversion Report:\nyes\n\nWrite Compilation Database:\nno\n\n";

    WorkingFolder folder;
    folder.writeFile("settings.txt", "an older, longer content that must go away entirely\n\n\n\n\n\n\n\n\n\n\n\n\n");
    Projbridge wizard;
    wizard.VDSPInstallDirEdit->setText(install);
    wizard.MsgPersonEdit->setText(message);
    wizard.AnalPersonEdit->setText(analyser);
    wizard.CmpPersonEdit->setText(compiler);

    wizard.saveSettings();

    QCOMPARE(folder.readFile("settings.txt"), expected);
}

void SettingsTest::writtenFileReadsBackUnchanged()
{
    WorkingFolder folder;
    const QByteArray content = "VDSP Installation Path:\n/opt/vdsp\n\nMessage Personality:\n/p/m s.p_s\n\n"
                               "Analyser Personality:\n/p/a.p_a\n\nCompiler Personality:\n/p/c.p_c\n\n"
                               "Write Conversion Report:\nno\n\nWrite Compilation Database:\nyes\n\n";
    folder.writeFile("settings.txt", content);
    {
        Projbridge first;
        QCOMPARE(first.MsgPersonEdit->text(), "/p/m s.p_s");
        first.saveSettings();
    }
    QCOMPARE(folder.readFile("settings.txt"), content);

    Projbridge second;
    QCOMPARE(second.VDSPInstallDirEdit->text(), "/opt/vdsp");
    QCOMPARE(second.AnalPersonEdit->text(), "/p/a.p_a");
    QCOMPARE(second.CmpPersonEdit->text(), "/p/c.p_c");
    QVERIFY(!second.ReportCheck->isChecked());
    QVERIFY(second.CompdbCheck->isChecked());
}

void SettingsTest::readFile_data()
{
    QTest::addColumn<QByteArray>("content");
    // install, message, analyser, compiler, then the report and database boxes as the file would spell them
    QTest::addColumn<QStringList>("expectedFields");

    QTest::newRow("blocks in any order") << QByteArray("Compiler Personality:\nc\n\nVDSP Installation Path:\ni\n\n")
                                         << QStringList{"i", "", "", "c", "yes", "no"};
    QTest::newRow("the later of two blocks wins")
        << QByteArray("Message Personality:\nfirst\n\nMessage Personality:\nsecond\n\n")
        << QStringList{"", "second", "", "", "yes", "no"};
    QTest::newRow("a value that looks like a key is a value")
        << QByteArray("Analyser Personality:\nCompiler Personality:\nc\n")
        << QStringList{"", "", "Compiler Personality:", "", "yes", "no"};
    QTest::newRow("a key on the last line gives an empty value")
        << QByteArray("Message Personality:\nm\n\nCompiler Personality:") << QStringList{"", "m", "", "", "yes", "no"};
    QTest::newRow("key lines must match exactly")
        << QByteArray("message personality:\nm\nMessage Personality: \nm\n Compiler Personality:\nc\n")
        << QStringList{"", "", "", "", "yes", "no"};
    QTest::newRow("carriage returns before line ends") << QByteArray("VDSP Installation Path:\r\nC:\\VisualDSP\r\n\r\n")
                                                       << QStringList{"C:\\VisualDSP", "", "", "", "yes", "no"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", "", "yes", "no"};
    QTest::newRow("blank value") << QByteArray("VDSP Installation Path:\n\n\n")
                                 << QStringList{"", "", "", "", "yes", "no"};
    QTest::newRow("both boxes flipped") << QByteArray(
                                               "Write Compilation Database:\nyes\n\nWrite Conversion Report:\nno\n\n")
                                        << QStringList{"", "", "", "", "no", "yes"};
    QTest::newRow("an unknown box value keeps the default")
        << QByteArray("Write Conversion Report:\n1\n\nWrite Compilation Database:\n\n\n")
        << QStringList{"", "", "", "", "yes", "no"};
}

void SettingsTest::readFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expectedFields);

    WorkingFolder folder;
    folder.writeFile("settings.txt", content);
    Projbridge wizard;

    const auto state = [](const QCheckBox* box) { return box->isChecked() ? "yes" : "no"; };
    const QStringList fields{wizard.VDSPInstallDirEdit->text(), wizard.MsgPersonEdit->text(),
                             wizard.AnalPersonEdit->text(),     wizard.CmpPersonEdit->text(),
                             state(wizard.ReportCheck),         state(wizard.CompdbCheck)};
    QCOMPARE(fields, expectedFields);
}

void SettingsTest::loadedPathsAreChecked()
{
    WorkingFolder folder;
    const QString install = folder.makeFolder("VisualDSP");
    const QString missingMessage = folder.path("gone.p_s");
    folder.writeFile(
        "settings.txt",
        ("VDSP Installation Path:\n" + install + "\n\nMessage Personality:\n" + missingMessage + "\n\n").toUtf8());
    Projbridge wizard;

    const QColor black(0, 0, 0);
    const QColor red(255, 0, 0);
    QCOMPARE(wizard.VDSPInstallDirEdit->palette().color(QPalette::Text), black);
    QCOMPARE(wizard.VDSPProjectEdit->palette().color(QPalette::Text), red);
    QCOMPARE(wizard.TavricProjectEdit->palette().color(QPalette::Text), red);
    QCOMPARE(wizard.MsgPersonEdit->palette().color(QPalette::Text), red);
    QVERIFY(!wizard.Page0->isComplete());
    QVERIFY(!wizard.Page1->isComplete());
}

void SettingsTest::aFolderInPlaceOfTheFileIsNeitherReadNorWritten()
{
    WorkingFolder folder;
    folder.makeFolder("settings.txt");
    Projbridge wizard;
    QVERIFY(wizard.VDSPInstallDirEdit->text().isEmpty());
    wizard.VDSPInstallDirEdit->setText("/opt/vdsp");

    wizard.saveSettings();

    QVERIFY(QFileInfo(folder.path("settings.txt")).isDir());
    QCOMPARE(wizard.DetailsText->toPlainText().split(u'\n', Qt::SkipEmptyParts).last(),
             "The settings could not be saved in " + folder.path("settings.txt") + ".");
}

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
