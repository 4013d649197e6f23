#include "uabout.h"

#include "platform/desktop/window.h"
#include "ui_uabout.h"

TFrmAbout* FrmAbout = nullptr;

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TFrmAbout>())
{
    ui->setupUi(this);
    // A single border with a title and no system buttons; the button is the way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    connect(ui->epEfTrBtn1, &QPushButton::clicked, this, &QDialog::accept);
    desktop::centreOnScreen(this);
}

TFrmAbout::~TFrmAbout()
{
    if (FrmAbout == this) FrmAbout = nullptr;
}
