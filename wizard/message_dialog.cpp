#include "message_dialog.h"

QMessageBox::StandardButton showMessageDialog(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
