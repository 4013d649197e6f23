#include "ubj.h"

#include "platform/db/table.h"
#include "platform/desktop/inputmethod.h"
#include "platform/desktop/window.h"
#include "shell/common.h"
#include "ui_ubj.h"

TFrmBj* FrmBj = nullptr;

TFrmBj::TFrmBj(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmBj>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(ScreenMode == QLatin1String("800") ? QSize(560, 400) : QSize(640, 460));
    connect(ui->epEfTrBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TFrmBj::~TFrmBj()
{
    if (FrmBj == this) FrmBj = nullptr;
}

void TFrmBj::bind(db::DataSource* ds, const QString& field)
{
    ds_ = ds;
    if (ds && ds->dataSet()) ds->dataSet()->edit();
    ui->DBMemo1->setDataSource(ds, field);
}

void TFrmBj::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TFrmBj::FormShow()
{
    const QStringList offered = desktop::installedInputMethods();
    for (const QString& name : {QStringLiteral("智能ABC输入法"), QStringLiteral("五笔字型输入法")})
        if (offered.contains(name) && desktop::selectInputMethod(ui->DBMemo1, name)) break;
    desktop::centreOnScreen(this);
    ui->DBMemo1->setFocus();
    ui->DBMemo1->moveCursor(QTextCursor::End);
}

// Every way of closing (the button, the close box, Esc) ends here; closing is never refused.
void TFrmBj::done(int r)
{
    FormClose();
    QDialog::done(r);
}

void TFrmBj::FormClose()
{
    if (db::Recordset* rs = ds_ ? ds_->dataSet() : nullptr) {
        rs->edit();
        ui->DBMemo1->updateRecord();
        rs->post();
    }
    NoteHasText = !ui->DBMemo1->toPlainText().trimmed().isEmpty();
}
