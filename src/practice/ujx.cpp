#include "ujx.h"

#include "platform/db/table.h"
#include "platform/desktop/window.h"
#include "shell/common.h"
#include "ui_ujx.h"

#include <QApplication>

TFrmJx* FrmJx = nullptr;

TFrmJx::TFrmJx(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmJx>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(ScreenMode == QLatin1String("800") ? QSize(560, 400) : QSize(640, 460));
    // Room between the frame and the text, as in the notes window.
    ui->RxDBRichEdit1->document()->setDocumentMargin(10);
    connect(ui->epEfTrBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TFrmJx::~TFrmJx()
{
    if (FrmJx == this) FrmJx = nullptr;
}

void TFrmJx::bind(db::DataSource* ds, const QString& field)
{
    try {
        // A field the open dataset does not have is a failed binding, as is anything the
        // dataset throws while the view reads it.
        const db::Recordset* rs = ds ? ds->dataSet() : nullptr;
        if (rs && rs->isOpen() && !rs->hasField(field))
            throw db::Error(QStringLiteral("Field '%1' not found").arg(field));
        ui->RxDBRichEdit1->setDataSource(ds, field);
    } catch (const std::exception&) {
        ui->RxDBRichEdit1->setDataSource(nullptr, {});
    }
}

void TFrmJx::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TFrmJx::FormShow()
{
    // The caller shows the hourglass while it builds this window.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    ui->RxDBRichEdit1->setReadOnly(true);
    desktop::centreOnScreen(this);
}
