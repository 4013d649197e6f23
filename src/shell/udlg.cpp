#include "udlg.h"

#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "ui_udlg.h"

#include <QMouseEvent>

TFrmDlg* FrmDlg = nullptr;

TFrmDlg::TFrmDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmDlg>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    designWidth_ = width();
    connect(ui->fcShapeBtn1, &QPushButton::clicked, this, [this] { done(1); });
    connect(ui->fcShapeBtn2, &QPushButton::clicked, this, [this] { done(2); });
    connect(ui->fcShapeBtn3, &QPushButton::clicked, this, [this] { done(3); });
}

TFrmDlg::~TFrmDlg()
{
    if (FrmDlg == this) FrmDlg = nullptr;
}

int TFrmDlg::ShowDlg(const QString& title, const QString& text, int layout, int page, const QString& variant)
{
    resize(designWidth_, height());
    setMinimumWidth(0);
    setWindowTitle(title);
    ui->Label1->setText(title);
    ui->fcLabel1->setText(text);
    switch (layout) {
    case 0:
        ui->fcShapeBtn1->setVisible(true);
        ui->fcShapeBtn2->setVisible(true);
        ui->fcShapeBtn3->setVisible(false);
        break;
    case 1:
        ui->fcShapeBtn1->setVisible(false);
        ui->fcShapeBtn2->setVisible(false);
        ui->fcShapeBtn3->setVisible(true);
        break;
    case 2:
        ui->fcShapeBtn1->setVisible(true);
        ui->fcShapeBtn2->setVisible(true);
        ui->fcShapeBtn3->setVisible(true);
        break;
    case 3:
        ui->fcShapeBtn1->setVisible(true);
        ui->fcShapeBtn2->setVisible(false);
        ui->fcShapeBtn3->setVisible(false);
        resize(200, height());
        break;
    default:
        break; // keeps the buttons of the previous call
    }
    if (page >= 0 && page < ui->epNoteBook1->count()) ui->epNoteBook1->setCurrentIndex(page);
    const bool exam = variant == QLatin1String("Exam");
    ui->fcShapeBtn1->setText(QStringLiteral("确定"));
    ui->fcShapeBtn2->setText(exam ? QStringLiteral("作废") : QStringLiteral("取消"));
    ui->fcShapeBtn3->setText(exam ? QStringLiteral("取消") : QStringLiteral("确定"));
    // A long message grows the dialog downwards rather than being cut off.
    adjustSize();
    resize(layout == 3 ? 200 : std::max(designWidth_, width()), height());
    desktop::centreOnScreen(this);
    setResult(0);
    return desktop::execModal(*this);
}

void TFrmDlg::mousePressEvent(QMouseEvent* e)
{
    dragFrom_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(e);
}

void TFrmDlg::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::LeftButton) move(e->globalPosition().toPoint() - dragFrom_);
    QDialog::mouseMoveEvent(e);
}
