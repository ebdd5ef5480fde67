#include "base/project_name.h"
#include "converter_text.h"
#include "page_checks.h"
#include "platform/platform.h"
#include "projbridge.h"
#include "typed_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QColor acceptedColour{0, 0, 0};
constexpr QColor refusedColour{255, 0, 0};

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// Colours each field by whether it can be taken and names the first problem in the page's hint line, since a
// colour alone does not say what is wrong. Returns whether every field can be taken.
bool showProblems(QLabel* hint, const QList<QLineEdit*>& fields, const QStringList& problems)
{
    QString firstProblem;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        setTextColour(fields[i], QPalette::Text, problems[i].isEmpty() ? acceptedColour : refusedColour);
        if (firstProblem.isEmpty()) {
            firstProblem = problems[i];
        }
    }
    setTextColour(hint, QPalette::WindowText, refusedColour);
    hint->setText(firstProblem);
    return firstProblem.isEmpty();
}

} // namespace

void Projbridge::Page0LineEdit_textchanged(const QString&)
{
    recheckFirstPage();
}

void Projbridge::Page1LineEdit_textchanged(const QString&)
{
    recheckPersonalityPage();
}

void Projbridge::recheckFirstPage()
{
    CreateFolderBtn->setVisible(destinationIsMissing(fields()));
    Page0->setComplete(showProblems(Page0HintLabel,
                                    {VDSPProjectEdit, VDSPInstallDirEdit, TavricProjectEdit, TavricNameEdit},
                                    firstPageProblems(fields())));
}

void Projbridge::recheckPersonalityPage()
{
    Page1->setComplete(showProblems(Page1HintLabel, page1PathFields(), personalityPageProblems(fields())));
}

// A mistyped path would make a whole tree without a word: more than one new
// folder is asked for first. The button then hides, and focus must not fall to
// Cancel, where the next Enter would close the wizard.
void Projbridge::createDestinationFolder()
{
    const QString folder = localPath(TavricProjectEdit->text());
    int missing = 0;
    for (QDir level(folder); !level.exists() && !level.isRoot(); level.setPath(QFileInfo(level.path()).path())) {
        ++missing;
    }
    const QString question =
        tr("%1 folders will be created for %2. Create them?").arg(missing).arg(toBackslashes(folder));
    if (missing > 1 && messageDialog(this, {QMessageBox::Question, tr("Projbridge"), question,
                                            QMessageBox::Yes | QMessageBox::No}) != QMessageBox::Yes) {
        TavricProjectEdit->setFocus();
        return;
    }
    if (!QDir().mkpath(folder)) {
        messageDialog(this, {QMessageBox::Warning, tr("Projbridge"),
                             tr("The folder %1 could not be created.").arg(toBackslashes(folder))});
    }
    recheckFirstPage();
    QAbstractButton* next = button(QWizard::NextButton);
    if (next->isEnabled()) {
        next->setFocus();
    } else {
        TavricProjectEdit->setFocus();
    }
}

// A name typed before any project was chosen is that project's; once another project is chosen, the name
// follows it again.
void Projbridge::followProjectName()
{
    const QString project = localPath(VDSPProjectEdit->text());
    if (nameTypedByUser && QFileInfo(project).isFile()) {
        if (nameTypedForProject.isEmpty()) {
            nameTypedForProject = project;
        } else if (nameTypedForProject != project) {
            nameTypedByUser = false;
        }
    }
    if (!nameTypedByUser) {
        TavricNameEdit->setText(fromConverterText(
            defaultProjectName(platform::commandLinePath(toConverterText(typedPath(VDSPProjectEdit->text()))))));
    }
}

void Projbridge::nameTyped(const QString& name)
{
    nameTypedByUser = !name.isEmpty();
    const QString project = localPath(VDSPProjectEdit->text());
    nameTypedForProject = QFileInfo(project).isFile() ? project : QString();
}
