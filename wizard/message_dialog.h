#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// One question or notice for the user.
struct MessageRequest {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

// Shows a message and returns the button the user chose. Tests answer in place of the box.
using MessageDialog = std::function<QMessageBox::StandardButton(QWidget* parent, const MessageRequest& request)>;

// The modal message box that the wizard shows by default.
QMessageBox::StandardButton showMessageDialog(QWidget* parent, const MessageRequest& request);
