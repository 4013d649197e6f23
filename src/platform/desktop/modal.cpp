#include "modal.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>

namespace desktop {

namespace {
ModalHandler& modalHandler()
{
    static ModalHandler h;
    return h;
}
MessageHandler& messageHandler()
{
    static MessageHandler h;
    return h;
}
FileHandler& fileHandler()
{
    static FileHandler h;
    return h;
}
} // namespace

int execModal(QDialog& dialog)
{
    if (modalHandler()) return modalHandler()(dialog);
    return dialog.exec();
}

void setModalHandler(ModalHandler handler)
{
    modalHandler() = std::move(handler);
}

QMessageBox::StandardButton messageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                       const QString& text, QMessageBox::StandardButtons buttons)
{
    if (messageHandler()) return messageHandler()({icon, title, text, buttons});
    QMessageBox box(icon, title, text, buttons, parent);
    // The program speaks Chinese; so do its system message boxes.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "确定"}, {QMessageBox::Cancel, "取消"}, {QMessageBox::Yes, "是"},
        {QMessageBox::No, "否"},   {QMessageBox::Close, "关闭"}};
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* b = box.button(button))
            b->setText(QString::fromUtf8(caption));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void setMessageHandler(MessageHandler handler)
{
    messageHandler() = std::move(handler);
}

QString chooseFile(QWidget* parent, const FileRequest& r)
{
    if (fileHandler()) return fileHandler()(r);
    return r.save ? QFileDialog::getSaveFileName(parent, r.title, r.directory, r.filter)
                  : QFileDialog::getOpenFileName(parent, r.title, r.directory, r.filter);
}

void setFileHandler(FileHandler handler)
{
    fileHandler() = std::move(handler);
}

} // namespace desktop
