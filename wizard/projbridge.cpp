#include "projbridge.h"

#include "converter_arguments.h"
#include "converter_program.h"
#include "converter_text.h"
#include "platform/platform.h"
#include "summary.h"
#include "typed_path.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QThread>

#include <memory>

#include <utility>

namespace {

const QString settingsFileName = QStringLiteral("settings.txt");
const QString directoryDialogName = QStringLiteral("get existing directory");
const QString fileDialogName = QStringLiteral("open file dialog");

} // namespace

Projbridge::Projbridge(QWidget* parent, const QString& name, bool modal, Qt::WindowFlags flags)
    : ProjbridgeBase(parent, name, modal, flags), standardCancelText(buttonText(QWizard::CancelButton))
{
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
    connect(VDSPProjectEdit, &QLineEdit::textChanged, this, &Projbridge::followProjectName);
    connect(TavricNameEdit, &QLineEdit::textEdited, this, &Projbridge::nameTyped);
    connect(CreateFolderBtn, &QPushButton::clicked, this, &Projbridge::createDestinationFolder);
    for (QCheckBox* box : {ReportCheck, CompdbCheck}) {
        connect(box, &QCheckBox::toggled, this, [this] { showSummaryWhileReady(); });
    }
    connect(OpenReportBtn, &QPushButton::clicked, this, [this] { openLocalPath(runReportFile); });
    connect(OpenFolderBtn, &QPushButton::clicked, this, [this] { openLocalPath(TavricProjectEdit->text()); });

    for (QLineEdit* field : page0Fields() + page1PathFields()) {
        field->installEventFilter(this);
    }

    for (WizardButton which : {NextButton, BackButton, CancelButton, FinishButton}) {
        button(which)->setPalette(QPalette(Qt::white, Qt::white));
    }

    // The hint line says from the start what the first page still needs.
    recheckFirstPage();
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

bool Projbridge::eventFilter(QObject* watched, QEvent* event)
{
    // A key release re-checks even when the text stayed the same, so a path created meanwhile turns black.
    if (event->type() == QEvent::KeyRelease) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (page0Fields().contains(field)) {
            recheckFirstPage();
        } else if (page1PathFields().contains(field)) {
            recheckPersonalityPage();
        }
    }
    return ProjbridgeBase::eventFilter(watched, event);
}

void Projbridge::setBrowseDialog(BrowseDialog dialog)
{
    browseDialog = std::move(dialog);
}

void Projbridge::setMessageDialog(MessageDialog dialog)
{
    messageDialog = std::move(dialog);
}

void Projbridge::setUrlOpener(UrlOpener opener)
{
    urlOpener = std::move(opener);
}

// The folder of the field's path, else of the last path browsed to, else the working folder. A folder, not a
// file: a dialog given a file would pre-select it, and one Enter would take it again.
QString Projbridge::browseStartFolder(const QLineEdit* field) const
{
    for (const QString& path : {localPath(field->text()), lastPath}) {
        const QFileInfo entry(path);
        const QString folder = entry.isDir() ? entry.filePath() : entry.path();
        if (!path.isEmpty() && QFileInfo(folder).isDir()) {
            return toBackslashes(folder);
        }
    }
    return toBackslashes(QDir::currentPath());
}

void Projbridge::browseInto(QLineEdit* field, BrowseRequest request)
{
    request.startPath = browseStartFolder(field);
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
               {false, tr("Select a VisualDSP Project"), tr("VisualDSP Projects (*.dpj *.dpg)"), fileDialogName, {}});
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
        extensionList = buildExtensionListFromPage();
        setRunState(RunState::Ready);
        showSummaryWhileReady();
        readProjectGroupAside();
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

void Projbridge::showSummaryWhileReady()
{
    if (runState != RunState::Ready) {
        return;
    }
    QString summary = summaryText(fields(), projectGroup);
    // Told before Finish, which could not run it.
    if (findConverter(converterProgramName, QCoreApplication::applicationDirPath()).isEmpty()) {
        summary += u'\n' + tr("%1 was not found beside the wizard or on the path: Finish cannot run it.")
                               .arg(converterFileName()) + u'\n';
    }
    DetailsText->setPlainText(summary);
}

// On a thread of its own, so that a source on a slow share does not hold the window; the summary shows the
// members once they are read. One read at a time: the end of one reads again when the source changed meanwhile.
void Projbridge::readProjectGroupAside()
{
    if (groupReading) {
        return;
    }
    const QString path = localPath(VDSPProjectEdit->text());
    if (path != projectGroupPath) {
        projectGroup.reset();
    }
    projectGroupPath = path;
    // The converter reads its drive mapping unguarded when first asked: asked here, the reading thread only
    // looks it up.
    platform::hostPath(platform::commandLinePath(toConverterText(path)));
    auto group = std::make_shared<std::optional<ProjectGroup>>();
    groupReading = QThread::create([path, group] { *group = readProjectGroup(path); });
    connect(groupReading, &QThread::finished, this, [this, group] {
        groupReading->deleteLater();
        groupReading = nullptr;
        if (projectGroupPath != localPath(VDSPProjectEdit->text())) {
            readProjectGroupAside();
            return;
        }
        projectGroup = *group;
        showSummaryWhileReady();
    });
    groupReading->start();
}

Projbridge::~Projbridge()
{
    // Its end, which would have deleted it, is no longer told to a wizard that is going.
    if (groupReading) {
        groupReading->wait();
        delete groupReading;
    }
}

QString Projbridge::buildExtensionListFromPage() const
{
    const std::pair<QCheckBox*, QString> extensionBoxes[] = {
        {cppCheck, QStringLiteral("cpp")}, {ccCheck, QStringLiteral("cc")},   {cxxCheck, QStringLiteral("cxx")},
        {cCheck, QStringLiteral("c")},     {hCheck, QStringLiteral("h")},     {hhCheck, QStringLiteral("hh")},
        {hppCheck, QStringLiteral("hpp")}, {hxxCheck, QStringLiteral("hxx")},
    };
    QStringList ticked;
    for (const auto& [box, extension] : extensionBoxes) {
        if (box->isChecked()) {
            ticked << extension;
        }
    }
    return buildExtensionList(ticked, CustExtEdit->text());
}

WizardFields Projbridge::fields() const
{
    return {VDSPProjectEdit->text(),  VDSPInstallDirEdit->text(), TavricProjectEdit->text(), TavricNameEdit->text(),
            MsgPersonEdit->text(),    AnalPersonEdit->text(),     CmpPersonEdit->text(),     extensionList,
            ReportCheck->isChecked(), CompdbCheck->isChecked()};
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
    if (!writeSettingsFile(settingsFileName, settingsEntries())) {
        appendDetailsLine(tr("The settings could not be saved in %1.")
                              .arg(toBackslashes(QFileInfo(settingsFileName).absoluteFilePath())));
    }
}
