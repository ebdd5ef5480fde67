#include "projbridge.h"

#include "project_group.h"
#include "typed_path.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

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
    for (QCheckBox* box : {ReportCheck, CompdbCheck}) {
        connect(box, &QCheckBox::toggled, this, [this] {
            if (runState == RunState::Ready) {
                DetailsText->setPlainText(summaryText());
            }
        });
    }
    connect(OpenReportBtn, &QPushButton::clicked, this, [this] { openLocalPath(runReportFile); });
    connect(OpenFolderBtn, &QPushButton::clicked, this,
            [this] { openLocalPath(typedPath(TavricProjectEdit->text())); });

    for (QLineEdit* field : page0Fields() + page1PathFields()) {
        field->installEventFilter(this);
    }

    for (WizardButton which : {NextButton, BackButton, CancelButton, FinishButton}) {
        button(which)->setPalette(QPalette(Qt::white, Qt::white));
    }

    lastPath = toBackslashes(QStringLiteral("/"));
    // The hint line says from the start what the first page still needs.
    Page0LineEdit_textchanged(QString());
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

// An empty field is named for what it means to the converter, so the summary has no blank items.
QString Projbridge::summaryText() const
{
    const auto orElse = [](const QString& value, const QString& meaning) { return value.isEmpty() ? meaning : value; };
    const QString none = tr("none");
    QList<std::pair<QString, QString>> blocks = {
        {tr("Visual DSP Project:\n"), typedPath(VDSPProjectEdit->text())},
        {tr("Visual DSP Install Location:\n"), orElse(typedPath(VDSPInstallDirEdit->text()), tr("looked up"))},
        {tr("Tavric / Tavric++ Project Directory:\n"), typedPath(TavricProjectEdit->text())},
        {tr("Tavric / Tavric++ Project Name:\n"), TavricNameEdit->text()},
        {tr("Message Personality:\n"), orElse(typedPath(MsgPersonEdit->text()), none)},
        {tr("Tamplate Analyser Personality:\n"), orElse(typedPath(AnalPersonEdit->text()), none)},
        {tr("Compiler Personality:\n"), orElse(typedPath(CmpPersonEdit->text()), none)},
        {tr("File Extensions:\n"), orElse(extensionList, tr("all files"))},
        {tr("Conversion Report:\n"), ReportCheck->isChecked() ? reportFilePath() : none},
        {tr("Compilation Databases:\n"), CompdbCheck->isChecked() ? compilationDatabaseFolder() : none},
    };
    const QString group = projectGroupText();
    if (!group.isEmpty()) {
        blocks.insert(1, {tr("Project Group Members:\n"), group});
    }
    QStringList texts;
    for (const auto& [heading, value] : blocks) {
        texts << heading + value;
    }
    return texts.join(QStringLiteral("\n\n")) + u'\n';
}

// One line per member of a project group source; empty when the source is a single project.
QString Projbridge::projectGroupText() const
{
    const std::optional<ProjectGroup> group = readProjectGroup(typedPath(VDSPProjectEdit->text()));
    if (!group) {
        return {};
    }
    QStringList lines;
    for (const ProjectGroupMember& member : group->members) {
        lines << tr("%1 (%2)").arg(member.name, member.file);
    }
    if (group->members.isEmpty()) {
        lines << tr("none: the group lists no project");
    }
    if (!group->readWhole) {
        lines << tr("the group file could not be read beyond this point");
    }
    return lines.join(u'\n');
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
