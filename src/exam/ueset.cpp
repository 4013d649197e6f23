#include "ueset.h"

#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "ui_ueset.h"

#include <QRegularExpressionValidator>

TFrmEset* FrmEset = nullptr;

TFrmEset::TFrmEset(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmEset>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const QRegularExpression digits(QStringLiteral("\\d{0,3}"));
    ui->suiNumberEdit1->setValidator(new QRegularExpressionValidator(digits, this));
    ui->suiNumberEdit2->setValidator(new QRegularExpressionValidator(digits, this));
    connect(ui->suiCheckBox1, &QCheckBox::clicked, this, &TFrmEset::suiCheckBox1Click);
    connect(ui->suiCheckBox2, &QCheckBox::clicked, this, &TFrmEset::suiCheckBox1Click);
    connect(ui->suiButton1, &QPushButton::clicked, this, &TFrmEset::suiButton1Click);
    connect(ui->suiButton2, &QPushButton::clicked, this, &TFrmEset::accept);
    connect(ui->suiNumberEdit1, &QLineEdit::textChanged, this, &TFrmEset::suiNumberEdit1Change);
}

TFrmEset::~TFrmEset()
{
    if (FrmEset == this) FrmEset = nullptr;
}

void TFrmEset::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
    desktop::centreOnScreen(this);
}

void TFrmEset::FormShow()
{
    db::Table& plan = DM1->Cn1Table_plan;
    plan.openIfClosed();
    plan.first();
    storedMinutes_ = plan.integer(QStringLiteral("ExamTime")) / 60;
    ui->suiNumberEdit1->setText(QString::number(plan.integer(QStringLiteral("LeastMark"))));
    ui->suiNumberEdit2->setText(QString::number(storedMinutes_));
}

void TFrmEset::suiCheckBox1Click()
{
    ui->suiButton1->setEnabled(ui->suiCheckBox1->isChecked() || ui->suiCheckBox2->isChecked());
}

void TFrmEset::suiButton1Click()
{
    if (ui->suiCheckBox1->isChecked()) ui->suiNumberEdit1->setText(QString::number(TotalScore() / 2));
    if (ui->suiCheckBox2->isChecked()) ui->suiNumberEdit2->setText(QStringLiteral("120"));
}

void TFrmEset::suiNumberEdit1Change()
{
    if (ui->suiNumberEdit1->text().isEmpty()) {
        ui->suiNumberEdit1->setText(QStringLiteral("0"));
        return;
    }
    const int total = TotalScore();
    if (ui->suiNumberEdit1->text().toInt() > total) {
        desktop::messageBox(this, QMessageBox::Information, QStringLiteral("提示"),
                            QStringLiteral("最低分数不能超过总分数！"));
        ui->suiNumberEdit1->setText(QString::number(total));
        ui->suiNumberEdit1->setFocus();
    }
}

void TFrmEset::suiButton2Click()
{
    if (saved_) return;
    saved_ = true;
    db::Table& plan = DM1->Cn1Table_plan;
    try {
        plan.openIfClosed();
        plan.first();
        // An emptied minutes field keeps the time already stored rather than failing.
        const QString minutes = ui->suiNumberEdit2->text().trimmed();
        const qint64 examMinutes = minutes.isEmpty() ? storedMinutes_ : minutes.toLongLong();
        plan.setValue(QStringLiteral("LeastMark"), ui->suiNumberEdit1->text().toLongLong());
        plan.setValue(QStringLiteral("ExamTime"), examMinutes * 60);
        plan.post();
    } catch (const std::exception&) {
        if (plan.isOpen()) plan.cancel();
        desktop::messageBox(this, QMessageBox::Critical, QStringLiteral("警告"),
                            QStringLiteral("保存设置失败！"));
    }
}

void TFrmEset::done(int r)
{
    // Closing always saves what is on screen; the plan dataset is closed afterwards.
    suiButton2Click();
    DM1->Cn1Table_plan.close();
    QDialog::done(r);
}
