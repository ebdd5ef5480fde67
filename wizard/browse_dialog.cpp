#include "browse_dialog.h"

#include <QFileDialog>

QString showBrowseDialog(QWidget* parent, const BrowseRequest& request)
{
    QFileDialog dialog(parent, request.caption, request.startPath, request.filter);
    dialog.setObjectName(request.dialogName);
    if (request.directoriesOnly) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles().value(0);
}
