#include "projbridge.h"
#include "typed_path.h"

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
bool showProblems(QLabel* hint, const QList<std::pair<QLineEdit*, QString>>& fieldProblems)
{
    QString firstProblem;
    for (const auto& [field, problem] : fieldProblems) {
        setTextColour(field, QPalette::Text, problem.isEmpty() ? acceptedColour : refusedColour);
        if (firstProblem.isEmpty()) {
            firstProblem = problem;
        }
    }
    setTextColour(hint, QPalette::WindowText, refusedColour);
    hint->setText(firstProblem);
    return firstProblem.isEmpty();
}

} // namespace

QString Projbridge::projectFileProblem() const
{
    const QString path = typedPath(VDSPProjectEdit->text());
    if (path.isEmpty()) {
        return tr("Project File: choose the project (.dpj) or project group (.dpg) to convert.");
    }
    const QFileInfo file(path);
    if (!file.exists()) {
        return tr("Project File: no such file.");
    }
    return file.isDir() ? tr("Project File: this is a folder, not a project file.") : QString();
}

// Empty is taken: the converter then looks the installation up itself.
QString Projbridge::installFolderProblem() const
{
    const QString path = typedPath(VDSPInstallDirEdit->text());
    if (path.isEmpty()) {
        return {};
    }
    const QFileInfo folder(path);
    if (!folder.exists()) {
        return tr("Install Location: no such folder. Leave it empty to have it looked up.");
    }
    return folder.isDir() ? QString() : tr("Install Location: this is a file, not a folder.");
}

QString Projbridge::destinationProblem() const
{
    const QString path = typedPath(TavricProjectEdit->text());
    if (path.isEmpty()) {
        return tr("Folder: choose the folder that the Tavric/Tavric++ project goes into.");
    }
    const QFileInfo folder(path);
    if (!folder.exists()) {
        return tr("Folder: no such folder.");
    }
    return folder.isDir() ? QString() : tr("Folder: this is a file, not a folder.");
}

// The converter refuses a name that would put the project file outside the destination folder.
QString Projbridge::nameProblem() const
{
    const QString name = TavricNameEdit->text();
    if (name.isEmpty()) {
        return tr("Name: enter a name for the Tavric/Tavric++ project.");
    }
    if (name == u".." || name.contains(u'\\') || name.contains(u'/')) {
        return tr("Name: a name may not hold \\ or / or be ..");
    }
    return {};
}

QString Projbridge::personalityProblem(const QLineEdit* field, const QString& label) const
{
    const QString path = typedPath(field->text());
    if (path.isEmpty()) {
        return {};
    }
    const QFileInfo file(path);
    if (!file.exists()) {
        return tr("%1: no such file.").arg(label);
    }
    return file.isDir() ? tr("%1: this is a folder, not a personality file.").arg(label) : QString();
}

void Projbridge::Page0LineEdit_textchanged(const QString&)
{
    Page0->setComplete(showProblems(Page0HintLabel, {{VDSPProjectEdit, projectFileProblem()},
                                                     {VDSPInstallDirEdit, installFolderProblem()},
                                                     {TavricProjectEdit, destinationProblem()},
                                                     {TavricNameEdit, nameProblem()}}));
}

// Personalities are optional, but every one that is named must be a file.
void Projbridge::Page1LineEdit_textchanged(const QString&)
{
    Page1->setComplete(
        showProblems(Page1HintLabel, {{MsgPersonEdit, personalityProblem(MsgPersonEdit, tr("Message Personality"))},
                                      {AnalPersonEdit, personalityProblem(AnalPersonEdit, tr("Template Analyser "
                                                                                             "Personality"))},
                                      {CmpPersonEdit, personalityProblem(CmpPersonEdit, tr("Compiler Personality"))}}));
}

void Projbridge::followProjectName()
{
    const QString projectName = QFileInfo(typedPath(VDSPProjectEdit->text())).completeBaseName();
    if (TavricNameEdit->text().isEmpty() || TavricNameEdit->text() == followedName) {
        TavricNameEdit->setText(projectName);
    }
    followedName = projectName;
}
