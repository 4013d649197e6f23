#include "startup.h"

#include "common.h"
#include "dm.h"
#include "platform/desktop/modal.h"
#include "platform/desktop/singleinstance.h"
#include "platform/menu/movieplayer.h"
#include "start.h"
#include "udlg.h"
#include "uprogress.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>

void ApplyLook(const QString& programFolder)
{
    const QDir fonts(programFolder + QStringLiteral("/fonts"));
    for (const QString& f : fonts.entryList({QStringLiteral("*.ttc"), QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(f));
    QFile qss(QStringLiteral(":/ui/prepdesk.qss"));
    if (qss.open(QIODevice::ReadOnly)) qApp->setStyleSheet(QString::fromUtf8(qss.readAll()));
}

bool StartProgram(desktop::SingleInstance* single, const QString& programFolder)
{
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    if (single && single->activateRunningInstance()) return false;
    if (!menu::isMovieRuntimeInstalled()) {
        desktop::messageBox(nullptr, QMessageBox::Warning, QStringLiteral("提示"),
                            QStringLiteral("请安装Flash6插件文件！"));
        return false;
    }
    DM1 = new TDM1(programFolder);
    if (!DM1->ConnectOk) {
        delete DM1;
        DM1 = nullptr;
        desktop::messageBox(nullptr, QMessageBox::Critical, QStringLiteral("错误"),
                            QStringLiteral("无法连接数据库！"));
        return false;
    }
    ApplyLook(AppPath);
    FrmStart = new TFrmStart;
    FrmProgress = new TFrmProgress;
    FrmDlg = new TFrmDlg;
    if (single)
        QObject::connect(single, &desktop::SingleInstance::activationRequested, FrmStart,
                         [] { desktop::bringToFront(FrmStart); });
    if (FrmStart->terminationRequested()) return true; // the queued quit ends the loop at once
    FrmStart->show();
    return true;
}

void StopProgram()
{
    delete FrmDlg;
    delete FrmProgress;
    delete FrmStart;
    delete DM1;
    FrmDlg = nullptr;
    FrmProgress = nullptr;
    FrmStart = nullptr;
    DM1 = nullptr;
}
