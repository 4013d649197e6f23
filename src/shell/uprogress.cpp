#include "uprogress.h"

#include "platform/desktop/window.h"
#include "ui_uprogress.h"

#include <QApplication>

TFrmProgress* FrmProgress = nullptr;

TFrmProgress::TFrmProgress(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFrmProgress>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

TFrmProgress::~TFrmProgress()
{
    if (FrmProgress == this) FrmProgress = nullptr;
}

QString TFrmProgress::notice() const
{
    return ui->Label1->text();
}

void TFrmProgress::ShowNotice(const QString& message)
{
    ui->Label1->setText(message);
    if (!isVisible()) {
        desktop::centreOnScreen(this);
        show();
    }
    raise();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::SetNotice(const QString& message)
{
    ShowNotice(message);
}
