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

enum class Wanted { file, folder };

// What is wrong with a path typed for a field that wants a file or a folder; empty when nothing is.
QString wrongEntry(const QString& label, const QString& path, Wanted wanted, const QString& fileKind = {})
{
    const QFileInfo entry(path);
    if (!entry.exists()) {
        return (wanted == Wanted::folder ? Projbridge::tr("%1: no such folder.") : Projbridge::tr("%1: no such file."))
            .arg(label);
    }
    if (entry.isDir() == (wanted == Wanted::folder)) {
        return {};
    }
    return wanted == Wanted::folder ? Projbridge::tr("%1: this is a file, not a folder.").arg(label)
                                    : Projbridge::tr("%1: this is a folder, not a %2 file.").arg(label, fileKind);
}

} // namespace

QString Projbridge::projectFileProblem() const
{
    const QString path = typedPath(VDSPProjectEdit->text());
    if (path.isEmpty()) {
        return tr("Project File: choose the project (.dpj) or project group (.dpg) to convert.");
    }
    return wrongEntry(tr("Project File"), path, Wanted::file, tr("project"));
}

// Empty is taken: the converter then looks the installation up itself.
QString Projbridge::installFolderProblem() const
{
    const QString path = typedPath(VDSPInstallDirEdit->text());
    if (path.isEmpty()) {
        return {};
    }
    const QString problem = wrongEntry(tr("Install Location"), path, Wanted::folder);
    return QFileInfo::exists(path) ? problem : problem + tr(" Leave it empty to have it looked up.");
}

QString Projbridge::destinationProblem() const
{
    const QString path = typedPath(TavricProjectEdit->text());
    if (path.isEmpty()) {
        return tr("Folder: choose the folder that the Tavric/Tavric++ project goes into.");
    }
    return wrongEntry(tr("Folder"), path, Wanted::folder);
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
    return path.isEmpty() ? QString() : wrongEntry(label, path, Wanted::file, tr("personality"));
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
