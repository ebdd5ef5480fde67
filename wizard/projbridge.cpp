#include "projbridge.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

#include <utility>

namespace {

const QString settingsFileName = QStringLiteral("settings.txt");
const QString directoryDialogName = QStringLiteral("get existing directory");
const QString fileDialogName = QStringLiteral("open file dialog");
constexpr QColor existingPathColour{0, 0, 0};
constexpr QColor missingPathColour{255, 0, 0};

// Shows at a glance whether the path in a field exists; returns whether it does.
bool markExistence(QLineEdit* field)
{
    const bool exists = QFileInfo::exists(field->text());
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, exists ? existingPathColour : missingPathColour);
    field->setPalette(palette);
    return exists;
}

} // namespace

Projbridge::Projbridge(QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags)
    : ProjbridgeBase(parent, name, modal, flags), standardCancelText(buttonText(QWizard::CancelButton))
{
    Page0->setComplete(false);

    for (QLineEdit* field : page0Fields()) {
        connect(field, &QLineEdit::textChanged, this, &Projbridge::Page0LineEdit_textchanged);
    }
    for (QLineEdit* field : page1PathFields()) {
        connect(field, &QLineEdit::textChanged, this, &Projbridge::Page1LineEdit_textchanged);
    }
    connect(VDSPInstallBrowseBtn, &QPushButton::clicked, this, &Projbridge::VDSPInstallBrowseBtn_clicked);
    connect(VDSPProjectBrowseBtn, &QPushButton::clicked, this, &Projbridge::VDSPProjectBrowseBtn_clicked);
    connect(TavricProjectBrowseBtn, &QPushButton::clicked, this, &Projbridge::TavricProjectBrowseBtn_clicked);
    connect(MsgBrowseBtn, &QPushButton::clicked, this, &Projbridge::MsgBrowseBtn_clicked);
    connect(AnalBrowseBtn, &QPushButton::clicked, this, &Projbridge::AnalBrowseBtn_clicked);
    connect(CmpBrowseBtn, &QPushButton::clicked, this, &Projbridge::CmpBrowseBtn_clicked);
    connect(OpenReportBtn, &QPushButton::clicked, this, [this] { openLocalPath(runReportFile); });
    connect(OpenFolderBtn, &QPushButton::clicked, this, [this] { openLocalPath(TavricProjectEdit->text()); });

    for (QLineEdit* field : page0Fields() + page1PathFields()) {
        field->installEventFilter(this);
    }

    for (WizardButton which : {NextButton, BackButton, CancelButton, FinishButton}) {
        button(which)->setPalette(QPalette(Qt::white, Qt::white));
    }

    lastPath = toBackslashes(QStringLiteral("/"));
    loadSettings();
}

QString Projbridge::toBackslashes(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QList<QLineEdit*> Projbridge::page0Fields() const
{
    return {VDSPInstallDirEdit, VDSPProjectEdit, TavricProjectEdit, TavricNameEdit};
}

QList<QLineEdit*> Projbridge::page1PathFields() const
{
    return {MsgPersonEdit, AnalPersonEdit, CmpPersonEdit};
}

void Projbridge::Page0LineEdit_textchanged(const QString&)
{
    bool allPathsExist = true;
    for (QLineEdit* field : {VDSPInstallDirEdit, VDSPProjectEdit, TavricProjectEdit}) {
        allPathsExist = markExistence(field) && allPathsExist;
    }
    Page0->setComplete(allPathsExist && !TavricNameEdit->text().isEmpty());
}

void Projbridge::Page1LineEdit_textchanged(const QString&)
{
    // Personalities are optional, but every one that is named must exist.
    bool namedPathsExist = true;
    for (QLineEdit* field : page1PathFields()) {
        if (!field->text().isEmpty()) {
            namedPathsExist = markExistence(field) && namedPathsExist;
        }
    }
    Page1->setComplete(namedPathsExist);
}

bool Projbridge::eventFilter(QObject* watched, QEvent* event)
{
    // A key release re-checks even when the text stayed the same, so a path created meanwhile turns black.
    if (event->type() == QEvent::KeyRelease) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (page0Fields().contains(field)) {
            Page0LineEdit_textchanged(QString());
        } else if (page1PathFields().contains(field)) {
            Page1LineEdit_textchanged(QString());
        }
    }
    return ProjbridgeBase::eventFilter(watched, event);
}

void Projbridge::setBrowseDialog(BrowseDialog dialog)
{
    browseDialog = std::move(dialog);
}

void Projbridge::setUrlOpener(UrlOpener opener)
{
    urlOpener = std::move(opener);
}

// The folder of the last path: a dialog given a file would pre-select it, and one Enter would take it again.
QString Projbridge::browseStartFolder() const
{
    const QFileInfo last(QDir::fromNativeSeparators(lastPath));
    return toBackslashes(last.isDir() ? last.filePath() : last.path());
}

void Projbridge::browseInto(QLineEdit* field, BrowseRequest request)
{
    request.startPath = browseStartFolder();
    const QString chosen = toBackslashes(browseDialog(this, request));
    if (chosen.isEmpty()) {
        return;
    }
    lastPath = chosen;
    field->setText(chosen);
}

void Projbridge::VDSPInstallBrowseBtn_clicked()
{
    browseInto(VDSPInstallDirEdit,
               {true, tr("Specify the VisualDSP Installation Directory"), QString(), directoryDialogName, {}});
}

void Projbridge::VDSPProjectBrowseBtn_clicked()
{
    browseInto(VDSPProjectEdit,
               {false, tr("Select a VisualDSP Project"), tr("VisualDSP Projects (*.dpj)"), fileDialogName, {}});
}

void Projbridge::TavricProjectBrowseBtn_clicked()
{
    browseInto(
        TavricProjectEdit,
        {true, tr("Select the Tavric/Tavric++ Project Destination Directory"), QString(), directoryDialogName, {}});
}

void Projbridge::MsgBrowseBtn_clicked()
{
    browseInto(MsgPersonEdit,
               {false, tr("Select a Message Personality"), tr("Msg Personalities(*.p_s)"), fileDialogName, {}});
}

void Projbridge::AnalBrowseBtn_clicked()
{
    browseInto(
        AnalPersonEdit,
        {false, tr("Select a Template Analyser Personality"), tr("Analiser Personalities(*.p_a)"), fileDialogName, {}});
}

void Projbridge::CmpBrowseBtn_clicked()
{
    browseInto(CmpPersonEdit,
               {false, tr("Select a Compiler Personality"), tr("Cmp Personalities(*.p_c)"), fileDialogName, {}});
}

void Projbridge::initializePage(int id)
{
    if (page(id) == Page3) {
        extensionList = buildExtensionList();
        DetailsText->setPlainText(summaryText());
        setRunState(RunState::Ready);
    }
    ProjbridgeBase::initializePage(id);
}

void Projbridge::cleanupPage(int id)
{
    if (page(id) == Page3) {
        setRunState(RunState::Ready);
    }
    ProjbridgeBase::cleanupPage(id);
}

QString Projbridge::buildExtensionList() const
{
    const std::pair<QCheckBox*, QString> extensionBoxes[] = {
        {cppCheck, QStringLiteral("cpp,")}, {ccCheck, QStringLiteral("cc,")},   {cxxCheck, QStringLiteral("cxx,")},
        {cCheck, QStringLiteral("c,")},     {hCheck, QStringLiteral("h,")},     {hhCheck, QStringLiteral("hh,")},
        {hppCheck, QStringLiteral("hpp,")}, {hxxCheck, QStringLiteral("hxx,")},
    };
    QString list;
    for (const auto& [box, entry] : extensionBoxes) {
        if (box->isChecked()) {
            list += entry;
        }
    }
    list += CustExtEdit->text();
    if (list.endsWith(u',')) {
        list.chop(1);
    }
    return list;
}

QString Projbridge::summaryText() const
{
    const std::pair<QString, QString> blocks[] = {
        {tr("Visual DSP Project:\n"), VDSPProjectEdit->text()},
        {tr("Tavric / Tavric++ Project Directory:\n"), TavricProjectEdit->text()},
        {tr("Tavric / Tavric++ Project Name:\n"), TavricNameEdit->text()},
        {tr("Message Personality:\n"), MsgPersonEdit->text()},
        {tr("Tamplate Analyser Personality:\n"), AnalPersonEdit->text()},
        {tr("Compiler Personality:\n"), CmpPersonEdit->text()},
        {tr("File Extensions:\n"), extensionList},
    };
    QStringList texts;
    for (const auto& [heading, value] : blocks) {
        texts << heading + value;
    }
    return texts.join(QStringLiteral("\n\n")) + u'\n';
}

QList<SettingsEntry> Projbridge::settingsEntries() const
{
    // The check boxes come after the four path blocks, which older versions of the wizard read alone.
    return {
        lineEditSetting(QStringLiteral("VDSP Installation Path:"), VDSPInstallDirEdit, true),
        lineEditSetting(QStringLiteral("Message Personality:"), MsgPersonEdit, false),
        lineEditSetting(QStringLiteral("Analyser Personality:"), AnalPersonEdit, false),
        lineEditSetting(QStringLiteral("Compiler Personality:"), CmpPersonEdit, false),
        checkBoxSetting(QStringLiteral("Write Conversion Report:"), ReportCheck),
        checkBoxSetting(QStringLiteral("Write Compilation Database:"), CompdbCheck),
    };
}

void Projbridge::loadSettings()
{
    readSettingsFile(settingsFileName, settingsEntries());
}

void Projbridge::saveSettings()
{
    writeSettingsFile(settingsFileName, settingsEntries());
}
