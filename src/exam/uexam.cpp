#include "uexam.h"

#include "papergen.h"
#include "platform/db/recordset.h"
#include "platform/db/table.h"
#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "practice/answer.h"
#include "practice/questionpanel.h"
#include "practice/ubj.h"
#include "practice/ujx.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/uconfig.h"
#include "shell/uprogress.h"
#include "ui_uexam.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>

TFrmExam* FrmExam = nullptr;

namespace {

constexpr int DesignGridSize = 90;

// Hourglass cursor for the length of a scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

db::Recordset& paper()
{
    return DM1->Cn1Query_exam;
}

void fail(const QString& text)
{
    ShowDlg(QStringLiteral("错误"), text, 1, 2, QStringLiteral("NO"));
}

void notice(const QString& text)
{
    if (!FrmProgress) return;
    if (FrmProgress->isVisible())
        FrmProgress->SetNotice(text);
    else
        FrmProgress->ShowNotice(text);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void hideNotice()
{
    if (FrmProgress) FrmProgress->HideNotice();
}

} // namespace

TFrmExam::TFrmExam(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmExam>()), sheet_(new AnswerSheet), cover_(nullptr),
      coverText_(nullptr), ticks_(new QTimer(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    sheet_->setObjectName(QStringLiteral("fcBG_th"));
    ui->SheetScroll->setWidget(sheet_);

    QuestionPanel* panel = ui->Panel;
    panel->setButtons(nullptr, nullptr, ui->epEfTrBtn6, ui->epEfTrBtn5);
    panel->setNavigationButtons(ui->epEfTrBtn1, ui->epEfTrBtn2);
    panel->setRevealFullHeight(true);
    if (DM1) panel->setTextSources(&DM1->Cn1DS1, &DM1->Cn1Query2, &DM1->Cn1DS2);

    // The cover laid over the question text while the exam is paused.
    cover_ = new QFrame(this);
    cover_->setObjectName(QStringLiteral("suiPanel1"));
    auto* coverLayout = new QVBoxLayout(cover_);
    coverText_ = new ScrollingText(cover_);
    coverText_->setObjectName(QStringLiteral("epRunPanel1"));
    coverText_->setLines({QStringLiteral("考试已暂停"), QStringLiteral("计时已停止，暂停的时间不计入用时"),
                          QStringLiteral("休息片刻，放松一下"), QStringLiteral("准备好后请按“继续考试”")});
    coverLayout->addWidget(coverText_);
    cover_->hide();

    BelowLeast = false;
    picturesOk_ = pictures_.load(AppPath);
    if (!picturesOk_) {
        fail(QStringLiteral("无法提取资源文件！"));
        EndProgram();
    }
    sheet_->setButtonCount(DesignGridSize);
    GridSize = sheet_->buttonCount();
    ArrangeForScreen();

    connect(sheet_, &AnswerSheet::changed, this, &TFrmExam::fcBG_thChange);
    connect(ui->epEfTrBtn1, &QPushButton::clicked, this, [this] {
        if (current_ > 1) sheet_->press(sheet_->button(current_ - 1));
    });
    connect(ui->epEfTrBtn2, &QPushButton::clicked, this, [this] {
        if (current_ < sheet_->buttonCount()) sheet_->press(sheet_->button(current_ + 1));
    });
    connect(ui->epEfTrBtn3, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(ui->epEfTrBtn7, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(ui->epEfTrBtn4, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn4Click);
    connect(ui->epEfTrBtn5, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn5Click);
    connect(ui->epEfTrBtn6, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn6Click);
    connect(ui->epEfTrBtn8, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn8Click);
    // The question-to-law window is not part of the program yet; the button keeps its states.
    connect(ui->epEfTrBtn9, &QPushButton::clicked, this, [] {});
    // The paper export is not part of the program yet; the button keeps its states.
    connect(ui->epEfTrBtn10, &QPushButton::clicked, this, [] {});
    connect(ui->epEfTrBtn11, &QPushButton::clicked, this, [] { desktop::minimiseAll(); });
    connect(ui->epEfTrBtn12, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn12Click);
    connect(ui->epEfTrBtn13, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn13Click);
    ticks_->setInterval(1000);
    connect(ticks_, &QTimer::timeout, this, &TFrmExam::KZTimeCounter1Timer);
}

TFrmExam::~TFrmExam()
{
    if (FrmExam == this) FrmExam = nullptr;
}

// Two arrangements of the same controls: 800 x 600 (compact) and 1024 x 768.
void TFrmExam::ArrangeForScreen()
{
    const bool compact = ScreenMode == QLatin1String("800");
    setProperty("compact", compact);
    setFixedSize(compact ? QSize(800, 600) : QSize(1024, 768));
    sheet_->setCellSize(compact ? QSize(32, 17) : QSize(40, 26));
    ui->GroupBox1->setFixedWidth(compact ? 214 : 252);
    ui->outer->setContentsMargins(compact ? QMargins(6, 6, 6, 6) : QMargins(10, 10, 10, 10));
}

void TFrmExam::SetUpExam(const QString& paperTable, const QString& paperName, const QString& mode,
                         double score, const QString& usedTime)
{
    PaperTable = paperTable;
    PaperName = paperName;
    ExamMode = mode;
    PaperScore = score;
    UsedTime = usedTime;
    if (mode != QLatin1String("new")) return;
    try {
        if (DrawPaper(PaperKind, paperTable) == DrawResult::NoCandidates) {
            fail(QStringLiteral("没有发现题目！"));
            EndProgram();
        }
    } catch (const std::exception&) {
        fail(QStringLiteral("提取数据时发生错误！"));
        EndProgram();
    }
}

bool TFrmExam::OpenPaper()
{
    const bool taking = ExamMode == QLatin1String("new");
    notice(taking ? QStringLiteral("正在出卷...") : QStringLiteral("正在提取试卷..."));
    try {
        if (taking) paper().execSql(QStringLiteral("Update ") + PaperTable + QStringLiteral(" set E2_1= ''"));
        paper().open(QStringLiteral("select * from ") + PaperTable + QStringLiteral(" order by A13,A1"));
        if (!paper().isEmpty()) return true;
    } catch (const std::exception&) {
    }
    fail(QStringLiteral("无法打开试卷！"));
    EndProgram();
    return false;
}

void TFrmExam::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // A window coming back from the taskbar is not set up again.
    if (e->spontaneous()) return;
    desktop::centreOnScreen(this);
    FormShow();
}

bool TFrmExam::ticksEnabled() const
{
    return ticks_->isActive();
}

void TFrmExam::StartTicks(bool on)
{
    if (on)
        ticks_->start();
    else
        ticks_->stop();
}

void TFrmExam::FormShow()
{
    if (!paper().isOpen()) return;
    const bool review = ExamMode == QLatin1String("old");
    ui->epLabel2->setText(PaperName);
    ui->Panel->ShutAnswerPanel();
    ui->epEfTrBtn3->setEnabled(!review);
    ui->epEfTrBtn4->setVisible(true);
    ui->epEfTrBtn5->setVisible(true);
    ui->epEfTrBtn6->setVisible(true);
    ui->epEfTrBtn13->setVisible(!review);
    ui->epEfTrBtn13->setText(QStringLiteral("暂停考试"));
    cover_->hide();
    ui->epEfTrBtn10->setEnabled(review);
    ui->epEfTrBtn5->setEnabled(true);
    ui->epEfTrBtn7->setEnabled(true);
    sheet_->setEnabled(true);
    answerArea()->setEnabled(!review);
    if (review) {
        setWindowTitle(QStringLiteral("查阅试卷"));
        ui->Notebook_Time->setCurrentWidget(ui->TimeReview);
        ui->epLb_time2->setText(UsedTime);
        ui->Lb_zfs->setText(QStringLiteral("得分：") + ScoreText(PaperScore) + QStringLiteral(" 分"));
    } else {
        setWindowTitle(QStringLiteral("正在答卷"));
        ui->Notebook_Time->setCurrentWidget(ui->TimeTaking);
        ui->epEfTrBtn4->setEnabled(false);
        ui->epEfTrBtn6->setEnabled(false);
        ui->epEfTrBtn9->setEnabled(false);
    }
    ui->LbCaption->setText(windowTitle());

    InitAnswerGrid(paper().recordCount());

    if (review) {
        clock_.reset();
        clock_.setCounting(false);
        StartTicks(false);
    } else {
        if (!keepClock_) clock_.reset();
        clock_.setCounting(true);
        ui->epLb_time1->setText(clock_.text());
        StartTicks(true);
    }
}

void TFrmExam::SetSheetPicture(SheetButton* b, const QString& state)
{
    if (state == u"answered")
        b->setPictures(pictures_.answered, pictures_.down, state);
    else if (state == u"right")
        b->setPictures(pictures_.right, pictures_.downRight, state);
    else if (state == u"wrong")
        b->setPictures(pictures_.wrong, pictures_.downWrong, state);
    else
        b->setPictures(pictures_.up, pictures_.down, QStringLiteral("up"));
}

void TFrmExam::InitAnswerGrid(int count)
{
    const bool review = ExamMode == QLatin1String("old");
    // One position per question: the sheet grows beyond its 90 for longer papers.
    sheet_->setButtonCount(std::max(count, DesignGridSize));
    GridSize = sheet_->buttonCount();
    // Twenty rows take slightly lower buttons, so that the whole sheet stays in view.
    if (ScreenMode != QLatin1String("800"))
        sheet_->setCellSize(GridSize > DesignGridSize ? QSize(40, 23) : QSize(40, 26));
    for (int i = 1; i <= GridSize; ++i) {
        SheetButton* b = sheet_->button(i);
        if (i <= count) {
            b->setEnabled(true);
            b->tag = i;
            paper().setRecNo(i);
            const QString given = paper().text(QStringLiteral("E2_1"));
            if (review)
                SetSheetPicture(b,
                                !given.isEmpty() && IsRightAnswer(given, paper().text(QStringLiteral("A2")))
                                    ? QStringLiteral("right")
                                    : QStringLiteral("wrong"));
            else
                SetSheetPicture(b, given.isEmpty() ? QStringLiteral("up") : QStringLiteral("answered"));
        } else {
            b->setEnabled(false);
            b->tag = 0;
            SetSheetPicture(b, QStringLiteral("up"));
        }
    }
    sheet_->clearCurrent();
    current_ = 0;
    if (count >= 1) sheet_->press(sheet_->button(1));
}

void TFrmExam::fcBG_thChange(SheetButton* previous, SheetButton* now)
{
    ui->DBText1->clear();
    if (ui->Panel->answerPanelOpen()) ui->Panel->ShutAnswerPanel();
    if (!now) return;
    ui->Label5->setText(now->text());
    ui->SheetScroll->ensureWidgetVisible(now, 0, 4);
    db::Recordset& q = paper();
    if (previous && previous->tag > 0 && ExamMode == QLatin1String("new")) {
        q.setRecNo(previous->tag);
        SaveExamAnswer(previous->tag, AnswerPageOf(int(q.integer(QStringLiteral("A13")))), true);
    }
    const int n = now->tag;
    if (n <= 0) return;
    ui->epEfTrBtn1->setEnabled(n >= 2);
    ui->epEfTrBtn2->setEnabled(n < q.recordCount());
    q.setRecNo(n);
    current_ = n;
    const int typeCode = int(q.integer(QStringLiteral("A13")));
    const int page = AnswerPageOf(typeCode);
    if (page != NoPage) ui->Panel->setPage(page);
    ui->Label7->setText(TypeLine(PaperKind, typeCode));
    ShowQuestionButtons();
    if (page != NoPage) ui->Panel->LoadAnswerControls(page, q);
    ShowQuestionText(q.text(QStringLiteral("A1")));
    q.setRecNo(n);

    ui->Label1->clear();
    ui->epEfTrBtn12->setText(QStringLiteral("本题作废"));
    if (ExamMode == QLatin1String("new")) {
        ui->epEfTrBtn12->setEnabled(false);
    } else {
        ui->epEfTrBtn12->setEnabled(true);
        ui->epEfTrBtn9->setEnabled(!q.text(QStringLiteral("k3")).isEmpty());
        const qint64 f1 = q.integer(QStringLiteral("F1"));
        if (f1 == 1) {
            ui->Label1->setText(QStringLiteral("本题已被您作废！"));
            ui->epEfTrBtn12->setText(QStringLiteral("取消作废"));
        } else if (f1 == 2) {
            ui->Label1->setText(QStringLiteral("本题是您加入的题目！"));
        }
    }
    ui->DBText1->setText(q.text(QStringLiteral("a1")));
}

void TFrmExam::ShowQuestionButtons()
{
    const db::Recordset& q = paper();
    ui->epEfTrBtn5->setText(q.text(QStringLiteral("A14")).trimmed().isEmpty() ? QStringLiteral("笔记")
                                                                              : QStringLiteral("有内容"));
    if (ExamMode != QLatin1String("old")) return;
    ui->epEfTrBtn6->setEnabled(!IsNoRevealType(int(q.integer(QStringLiteral("A13")))));
    ui->epEfTrBtn4->setEnabled(!q.isNull(QStringLiteral("jx")));
    ui->epEfTrBtn9->setEnabled(!q.text(QStringLiteral("k3")).trimmed().isEmpty());
}

bool TFrmExam::ShowQuestionText(const QString& key)
{
    try {
        DM1->Cn1Query1.open(QStringLiteral("select * from tab_exer where A1=:A1"),
                            {{QStringLiteral("A1"), key}});
    } catch (const std::exception&) {
        fail(QStringLiteral("无法打开试题！"));
        return false;
    }
    if (DM1->Cn1Query1.isEmpty()) {
        fail(QStringLiteral("找不到该试题！"));
        return false;
    }
    return ui->Panel->ShowQuestionText(key);
}

void TFrmExam::SaveExamAnswer(int position, int page, bool updateGrid)
{
    db::Recordset& q = paper();
    if (position <= 0 || position > q.recordCount()) return;
    q.setRecNo(position);
    const QString answer = page == NoPage ? QString() : ui->Panel->ReadAnswerControls(page, q);
    const bool answered = RecordExamAnswer(q, answer);
    if (updateGrid && position <= sheet_->buttonCount())
        SetSheetPicture(sheet_->button(position),
                        answered ? QStringLiteral("answered") : QStringLiteral("up"));
}

void TFrmExam::KZTimeCounter1Timer()
{
    if (ExamMode != QLatin1String("new") || !paper().isOpen()) return;
    const QString elapsed = clock_.text();
    ui->epLb_time1->setText(elapsed);
    if (TimeIsUp(TimeToSeconds(elapsed), ReadExamPlan().examTime)) StopForTimeUp();
}

void TFrmExam::StopForTimeUp()
{
    clock_.setCounting(false);
    StartTicks(false);
    const QString elapsed = clock_.text();
    if (current_ > 0) {
        paper().setRecNo(current_);
        SaveExamAnswer(current_, AnswerPageOf(int(paper().integer(QStringLiteral("A13")))), false);
    }
    const int unanswered = CountUnanswered(PaperTable);
    desktop::messageBox(this, QMessageBox::Information, QStringLiteral("提示"),
                        QStringLiteral("很遗憾，考试时间到了！"));
    if (unanswered < paper().recordCount()) {
        MarkPaper(elapsed);
    } else {
        DropPaperTable(PaperTable);
        accept();
    }
}

void TFrmExam::epEfTrBtn3Click()
{
    if (ExamMode == QLatin1String("old")) {
        if (BelowLeast) DropPaperTable(PaperTable);
        accept();
        return;
    }
    clock_.setCounting(false);
    const QString elapsed = clock_.text();
    if (current_ > 0) {
        paper().setRecNo(current_);
        SaveExamAnswer(current_, AnswerPageOf(int(paper().integer(QStringLiteral("A13")))), false);
    }
    const int unanswered = CountUnanswered(PaperTable);
    // Nothing answered at all: the paper goes without asking.
    if (unanswered >= paper().recordCount()) {
        DropPaperTable(PaperTable);
        accept();
        return;
    }
    const QString question = unanswered == 0 ? QStringLiteral("恭喜你已经做完试卷，确定要交卷吗？")
                                             : QStringLiteral("你还有") + QString::number(unanswered) +
                                                   QStringLiteral("道题未做，确定要交卷吗？");
    switch (ShowDlg(QStringLiteral("提示"), question, 2, 0, QStringLiteral("Exam"))) {
    case 1:
        MarkPaper(elapsed);
        break;
    case 2:
        DropPaperTable(PaperTable);
        if (unanswered < 50) DM1->AddStudyTime(elapsed);
        accept();
        break;
    default:
        clock_.setCounting(true);
        break;
    }
}

bool TFrmExam::MarkPaper(const QString& usedTime)
{
    // The window steps aside while marking (hiding a modal dialog would end its loop).
    setWindowOpacity(0.0);
    notice(QStringLiteral("正在判卷..."));
    const QString oldMode = ExamMode;
    ExamMode = QStringLiteral("old");
    UsedTime = usedTime;
    try {
        const double score = ScorePaper(PaperTable, PaperKind);
        BelowLeast = ReadExamPlan().leastMark > score;
        PaperScore = score;
        WriteScoreRow(PaperTable, score, usedTime);
        DM1->AddStudyTime(usedTime);
    } catch (const std::exception&) {
        fail(QStringLiteral("发生错误！"));
        ExamMode = oldMode;
        RestoreTaking();
        return false;
    }
    if (!OpenPaper()) return false;
    hideNotice();
    setWindowOpacity(1.0);
    FormShow();
    return true;
}

// After a marking failure: back to taking mode with every answer and the clock where it was.
void TFrmExam::RestoreTaking()
{
    ExamMode = QStringLiteral("new");
    UsedTime = QStringLiteral("0:00:00");
    BelowLeast = false;
    PaperScore = 0;
    hideNotice();
    setWindowOpacity(1.0);
    try {
        if (!paper().isOpen())
            paper().open(QStringLiteral("select * from ") + PaperTable + QStringLiteral(" order by A13,A1"));
    } catch (const std::exception&) {
        fail(QStringLiteral("无法打开试卷！"));
        EndProgram();
        return;
    }
    keepClock_ = true;
    FormShow();
    keepClock_ = false;
}

void TFrmExam::PlaceCover()
{
    QWidget* area = ui->Panel->findChild<QWidget*>(QStringLiteral("TextArea"));
    cover_->setGeometry(QRect(area->mapTo(this, QPoint(0, 0)), area->size()));
    cover_->raise();
}

void TFrmExam::epEfTrBtn13Click()
{
    if (ExamMode != QLatin1String("new")) return;
    const bool pause = ui->epEfTrBtn13->text() == u"暂停考试";
    if (pause) {
        ui->epEfTrBtn13->setText(QStringLiteral("继续考试"));
        clock_.setCounting(false);
        StartTicks(false);
        prevWasEnabled_ = ui->epEfTrBtn1->isEnabled();
        nextWasEnabled_ = ui->epEfTrBtn2->isEnabled();
        for (QWidget* w : {static_cast<QWidget*>(ui->epEfTrBtn3), static_cast<QWidget*>(ui->epEfTrBtn5),
                           static_cast<QWidget*>(ui->epEfTrBtn7), static_cast<QWidget*>(ui->epEfTrBtn1),
                           static_cast<QWidget*>(ui->epEfTrBtn2), static_cast<QWidget*>(answerArea()),
                           static_cast<QWidget*>(sheet_)})
            w->setEnabled(false);
        PlaceCover();
        cover_->show();
    } else {
        ui->epEfTrBtn13->setText(QStringLiteral("暂停考试"));
        StartTicks(true);
        clock_.setCounting(true);
        for (QWidget* w : {static_cast<QWidget*>(ui->epEfTrBtn3), static_cast<QWidget*>(ui->epEfTrBtn5),
                           static_cast<QWidget*>(ui->epEfTrBtn7), static_cast<QWidget*>(answerArea()),
                           static_cast<QWidget*>(sheet_)})
            w->setEnabled(true);
        ui->epEfTrBtn1->setEnabled(prevWasEnabled_);
        ui->epEfTrBtn2->setEnabled(nextWasEnabled_);
        cover_->hide();
    }
}

void TFrmExam::epEfTrBtn12Click()
{
    db::Recordset& q = paper();
    if (!q.isOpen() || q.isEmpty() || current_ <= 0) return;
    q.setRecNo(current_);
    const bool discard = ui->epEfTrBtn12->text() == u"本题作废";
    DiscardQuestion(q, discard);
    ui->Label1->setText(discard ? QStringLiteral("本题已被您作废！")
                                : QStringLiteral("本题曾被作废，现已被您取消！"));
    ui->epEfTrBtn12->setText(discard ? QStringLiteral("取消作废") : QStringLiteral("本题作废"));
}

void TFrmExam::epEfTrBtn4Click()
{
    if (current_ <= 0) return;
    paper().setRecNo(current_);
    TFrmJx jx(this);
    FrmJx = &jx;
    jx.bind(&DM1->Cn1DS_exam, QStringLiteral("jx"));
    desktop::execModal(jx);
}

void TFrmExam::epEfTrBtn5Click()
{
    if (current_ <= 0) return;
    paper().setRecNo(current_);
    {
        TFrmBj bj(this);
        FrmBj = &bj;
        bj.bind(&DM1->Cn1DS_exam, QStringLiteral("A14"));
        desktop::execModal(bj);
    }
    ui->epEfTrBtn5->setText(NoteHasText ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void TFrmExam::epEfTrBtn6Click()
{
    if (current_ <= 0) return;
    paper().setRecNo(current_);
    ui->Panel->RevealAnswer(paper().text(QStringLiteral("A2")));
}

void TFrmExam::epEfTrBtn8Click()
{
    ConfigMode = 0;
    TFrmConfig cfg(this);
    FrmConfig = &cfg;
    desktop::execModal(cfg);
}

void TFrmExam::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_F;
    // In review and while paused the answers cannot be changed; moving still works.
    if (letter && !answerArea()->isEnabled()) return;
    if (ui->Panel->HandleKey(key)) return;
    QDialog::keyPressEvent(e);
}

void TFrmExam::mousePressEvent(QMouseEvent* e)
{
    dragFrom_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(e);
}

void TFrmExam::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::LeftButton) move(e->globalPosition().toPoint() - dragFrom_);
    QDialog::mouseMoveEvent(e);
}

void TFrmExam::done(int r)
{
    if (!closed_) {
        closed_ = true;
        FormCloseQuery();
    }
    QDialog::done(r);
}

void TFrmExam::FormCloseQuery()
{
    WaitCursor wait;
    clock_.setCounting(false);
    StartTicks(false);
    if (!DM1) return;
    DM1->Cn1Query1.close();
    DM1->Cn1Query2.close();
    DM1->Cn1Query_tm.close();
    DM1->Cn1Table_cj.close();
    DM1->Cn1Table_tx.close();
    DM1->Cn1Query_exam.close();
    DM1->Cn1Table_fgmc.close();
    pictures_.clear();
}

QWidget* TFrmExam::answerArea() const
{
    return ui->Panel->findChild<QWidget*>(QStringLiteral("Notebook1"));
}
