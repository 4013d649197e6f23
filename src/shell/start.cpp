#include "start.h"

#include "catalog/ukmmc.h"
#include "common.h"
#include "dm.h"
#include "exam/papergen.h"
#include "exam/ucheck.h"
#include "exam/ueset.h"
#include "exam/uexam.h"
#include "platform/desktop/modal.h"
#include "platform/desktop/shellopen.h"
#include "platform/desktop/window.h"
#include "platform/sound/midiplayer.h"
#include "platform/sound/soundcard.h"
#include "platform/system/clock.h"
#include "uabout.h"
#include "uconfig.h"
#include "ui_start.h"
#include "uprogress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

#include <cmath>

TFrmStart* FrmStart = nullptr;

bool IsSmallFonts()
{
    return std::lround(desktop::logicalDpiX()) == 96;
}

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
    if (MidiMediaPlayer) MidiMediaPlayer->close();
    if (FrmStart == this) FrmStart = nullptr;
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
    if (PaperKind == 0) PaperKind = 1;
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
                TypeIntervals << IntervalOfMinutes(DM1->Cn1Query1.number(QStringLiteral("time")));
            }
        }
    } catch (const std::exception&) {
        // Without a type table the practice windows use their default interval.
    }
}

int ExecMenuWindow(QDialog& window)
{
    return desktop::execModal(window);
}

void TFrmStart::ShockwaveFlash1FSCommand(const QString& command, const QString& args)
{
    Q_UNUSED(args);
    // Command words are compared exactly; anything else is ignored.
    const QString& c = command;
    if (c == u"music" || c == u"sztime") {
        ConfigMode = c == u"music" ? 0 : 1;
        OpenMenuWindow(FrmConfig, false, [&](TFrmConfig& w) {
            if (ConfigMode == 1) w.ArrangeForAnswerTimes();
        });
    } else if (c == u"cj") {
        OpenMenuWindow(FrmCheck, true, [](TFrmCheck&) {});
    } else if (c == u"szks") {
        OpenMenuWindow(FrmEset, true, [](TFrmEset&) {});
    } else if (c == u"lx" || c == u"lx2" || c == u"lx3" || c == u"lx4" || c == u"lx5") {
        CurrentSubject = c == u"lx" ? 1 : c.right(1).toInt();
        OpenMenuWindow(Frmkmmc, true, [](TFrmkmmc&) {});
    } else if (c == u"about") {
        OpenMenuWindow(FrmAbout, false, [](TFrmAbout&) {});
    } else if (c == u"fg") {
        desktop::openDocument(AppPath + QStringLiteral("/htm/Lexcorpus.htm"));
    } else if (c == u"lxfs") {
        desktop::openDocument(AppPath + QStringLiteral("/htm/发行站及专业书店联系方式.htm"));
    } else if (c == u"help") {
        desktop::openDocument(AppPath + QStringLiteral("zqhelp.chm"));
    } else if (c == u"quit") {
        QuitCheck();
    } else if (c == u"mnks" || c == u"mnks2" || c == u"mnks3" || c == u"mnks4" || c == u"mnks5") {
        const int kind = c == u"mnks" ? 1 : c.right(1).toInt();
        mnks(kind); // the kind just run stays the current one
    }
}

void TFrmStart::mnks(int kind)
{
    FrmProgress->ShowNotice(QStringLiteral("正在初始化数据..."));
    PaperKind = kind;
    PaperTitle = PaperKindTitle(kind);
    const QDate today = platform::today();
    const PaperSlot slot = NextPaperSlot();
    const QString name = PaperName(today, kind, slot.number);
    FrmProgress->SetNotice(QStringLiteral("正在建立数据表..."));
    try {
        CreatePaper(slot, name, today);
    } catch (const std::exception&) {
        FrmProgress->HideNotice();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("建立数据表时发生错误！"), 1, 2, QStringLiteral("NO"));
        EndProgram();
        return;
    }
    FrmExam = new TFrmExam;
    FrmProgress->SetNotice(QStringLiteral("正在整理数据..."));
    FrmExam->SetUpExam(slot.table, name, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    if (!ProgramEnding() && FrmExam->OpenPaper()) desktop::execModal(*FrmExam);
    delete FrmExam;
    FrmExam = nullptr;
    FrmProgress->HideNotice();
}

void TFrmStart::QuitCheck()
{
    db::Table& plan = DM1->Cn1Table_plan;
    plan.openIfClosed();
    plan.first();
    const qint64 mark = plan.integer(QStringLiteral("PlanMark"));
    const qint64 amount = plan.integer(QStringLiteral("PlanAmount"));
    const qint64 planMinutes = plan.integer(QStringLiteral("PlanTime"));
    db::Table& log = DM1->Cn1Table_rz;
    log.openIfClosed();
    qint64 done = 0;
    qint64 minutes = 0;
    if (log.locate(QStringLiteral("A1"), platform::today())) {
        done = log.integer(QStringLiteral("A2"));
        minutes = TimeToSeconds(log.text(QStringLiteral("D1"))) / 60;
    }
    qint64 have, want;
    if (mark == 0) {
        have = done;
        want = amount;
    } else if (mark == 1) {
        have = minutes;
        want = planMinutes;
    } else {
        return;
    }
    if (have < want) {
        if (desktop::messageBox(this, QMessageBox::Question, QStringLiteral("提示"),
                                QStringLiteral("还未完成今日学习计划，要退出吗？"),
                                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
            close();
        return;
    }
    desktop::messageBox(this, QMessageBox::Information, QStringLiteral("提示"),
                        have == want ? QStringLiteral("恭喜完成今日学习计划！")
                                     : QStringLiteral("超额完成学习计划，要注意休息呦！"));
    close();
}

void TFrmStart::PlayMusic(const QString& path, bool play)
{
    if (!sound::hasWaveOutput()) {
        ShowDlg(QStringLiteral("提示"), QStringLiteral("没发现声卡！"), 1, 1, QStringLiteral("NO"));
        return;
    }
    try {
        if (!MidiMediaPlayer) MidiMediaPlayer = std::make_unique<sound::MidiPlayer>();
        MidiMediaPlayer->close();
        if (play) {
            MidiMediaPlayer->setFileName(path);
            MidiMediaPlayer->open();
            MidiMediaPlayer->play();
        }
    } catch (const std::exception&) {
        if (MidiMediaPlayer) MidiMediaPlayer->close();
        ShowDlg(QStringLiteral("提示"), QStringLiteral("无法播放背景音乐！"), 1, 1, QStringLiteral("NO"));
    }
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
