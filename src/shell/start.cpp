#include "start.h"

#include "common.h"
#include "dm.h"
#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "platform/system/clock.h"
#include "ui_start.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

#include <cmath>

TFrmStart* FrmStart = nullptr;

bool IsSmallFonts() { return std::lround(desktop::logicalDpiX()) == 96; }

TFrmStart::TFrmStart(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TFrmStart>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    connect(ui->ShockwaveFlash1, &menu::MoviePlayer::FSCommand, this, &TFrmStart::ShockwaveFlash1FSCommand);
    FormCreate();
}

TFrmStart::~TFrmStart()
{
    if (FrmStart == this)
        FrmStart = nullptr;
}

void TFrmStart::requestTermination()
{
    terminating_ = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TFrmStart::FormCreate()
{
    if (!IsSmallFonts()) {
        desktop::messageBox(nullptr, QMessageBox::Warning, QStringLiteral("提示"),
                            QStringLiteral("推荐您在小字体下使用本软件，请在设置后重新运行！"));
        requestTermination();
        return;
    }
    const QSize screen = desktop::screenSize();
    if (screen.width() == 800 || screen.height() == 600) {
        ScreenMode = QStringLiteral("800");
        resize(800, 600);
    } else {
        ScreenMode = QStringLiteral("1024");
        resize(1024, 768);
    }
}

void TFrmStart::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TFrmStart::FormShow()
{
    // Daily-use limit: a day already logged at 24 hours or more ends the program.
    try {
        DM1->Cn1Table_rz.openIfClosed();
        if (DM1->Cn1Table_rz.locate(QStringLiteral("A1"), platform::today()) &&
            TimeToSeconds(DM1->Cn1Table_rz.text(QStringLiteral("D1"))) / 86400 >= 1)
            requestTermination();
    } catch (const std::exception&) {
        // The log cannot be read: there is nothing to limit.
    }
    const QSize screen = desktop::screenSize();
    setGeometry(QRect(QPoint(0, 0), screen));
    MusicOn = true;
    SetWaveVolume(10);
    if (PaperKind == 0)
        PaperKind = 1;
    LoadTypeTimes();
    ui->ShockwaveFlash1->setMovie(AppPath + QStringLiteral("pic/main.qml"));
}

void TFrmStart::LoadTypeTimes()
{
    try {
        DM1->Cn1Query1.open(QStringLiteral("select * from tab_tx") + QString::number(PaperKind));
        if (DM1->Cn1Query1.recordCount() > 0) {
            TypeIds.clear();
            TypeIntervals.clear();
            for (DM1->Cn1Query1.first(); !DM1->Cn1Query1.eof(); DM1->Cn1Query1.next()) {
                TypeIds << int(DM1->Cn1Query1.integer(QStringLiteral("A1")));
                TypeIntervals << int(std::trunc(DM1->Cn1Query1.number(QStringLiteral("time")) * 600.0));
            }
        }
    } catch (const std::exception&) {
        // Without a type table the practice windows use their default interval.
    }
}

void TFrmStart::ShockwaveFlash1FSCommand(const QString& command, const QString& args)
{
    Q_UNUSED(args);
    if (command == QLatin1String("quit"))
        close();
}

bool TFrmStart::FormCloseQuery()
{
    try {
        DM1->ADOCn1.close();
        DM1->Cn1Table_plan.close();
        DM1->Cn1Table_rz.close();
    } catch (...) {
        // Closing always proceeds.
    }
    return true;
}

void TFrmStart::closeEvent(QCloseEvent* e)
{
    if (FormCloseQuery())
        e->accept();
    else
        e->ignore();
}
