// Modal dialogs, message boxes and file dialogs, through seams that tests can answer.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace desktop {

// Shows a dialog modally and returns its result; a test handler may answer instead.
int execModal(QDialog& dialog);
using ModalHandler = std::function<int(QDialog& dialog)>;
void setModalHandler(ModalHandler handler);

struct MessageRequest {
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};
// A system message box; returns the button pressed.
QMessageBox::StandardButton messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                       const QString& text,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok);
using MessageHandler = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void setMessageHandler(MessageHandler handler);

struct FileRequest {
    bool save;
    QString title;
    QString directory;
    QString filter;
};
// A file dialog; returns the chosen path or an empty text when cancelled.
QString chooseFile(QWidget* parent, const FileRequest& request);
using FileHandler = std::function<QString(const FileRequest&)>;
void setFileHandler(FileHandler handler);

} // namespace desktop
