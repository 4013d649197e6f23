#include "ulxxt.h"

#include "answer.h"
#include "lxxtcell.h"
#include "platform/db/recordset.h"
#include "platform/db/table.h"
#include "platform/desktop/modal.h"
#include "platform/desktop/window.h"
#include "platform/system/clock.h"
#include "questionpanel.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/uconfig.h"
#include "ubj.h"
#include "ui_ulxxt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QTimer>

TFrmLxxt* FrmLxxt = nullptr;

namespace {

constexpr int GroupSize = 20;
constexpr int DefaultInterval = 600; // ms per gauge step for a type missing from the type table

const char* const StateNames[] = {"unanswered", "right", "wrong"};

// Hourglass cursor for the length of a scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QString quoted(const QString& s)
{
    return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// Loads a picture of the pic folder; on failure reports it and ends the program.
bool loadPicture(const QString& name, QPixmap& into)
{
    if (into.load(AppPath + QStringLiteral("pic/") + name)) return true;
    ShowDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, 2, QStringLiteral("NO"));
    QCoreApplication::exit(1);
    return false;
}

// The clock's hours:minutes:seconds, the hours without a leading zero ("0:00:00").
QString ClockText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

db::Recordset& list()
{
    return DM1->Cn1Query_tm;
}

} // namespace

TFrmLxxt::TFrmLxxt(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrmLxxt>()), cellGroup_(new QButtonGroup(this)),
      tabGroup_(new QButtonGroup(this)), questionTimer_(new QTimer(this)), clockTimer_(new QTimer(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);

    QuestionPanel* panel = ui->Panel;
    panel->setButtons(nullptr, ui->BtnLaw, ui->BtnReveal, ui->BtnNotes);
    panel->setNavigationButtons(ui->BtnPrev, ui->BtnNext);
    panel->setRevealFullHeight(true);
    if (DM1) panel->setTextSources(&DM1->Cn1DS_nr, &DM1->Cn1Query2, &DM1->Cn1DS2);

    cellGroup_->setExclusive(true);
    tabGroup_->setExclusive(true);
    for (int i = 0; i < GroupSize; ++i) {
        auto* c = new PictureButton(QString::number(i + 1), ui->QuestionBoard);
        c->setObjectName(QStringLiteral("Cell%1").arg(i + 1));
        c->setEnabled(false);
        cells_[i] = c;
        cellGroup_->addButton(c, i + 1);
        ui->cellGrid->addWidget(c, i / 5, i % 5);
        connect(c, &QAbstractButton::clicked, this, [this, i] { SelectCell(i + 1); });
    }

    picturesOk_ = LoadGridPictures();
    for (int i = 1; i <= GroupSize; ++i) {
        SetCellPicture(i, false, CellUnanswered);
        SetCellPicture(i, true, CellUnanswered);
    }
    ArrangeForScreen();

    connect(ui->BtnPrev, &QPushButton::clicked, this, &TFrmLxxt::PrevQuestion);
    connect(ui->BtnNext, &QPushButton::clicked, this, &TFrmLxxt::NextQuestion);
    connect(ui->BtnPrevGroup, &QPushButton::clicked, this, &TFrmLxxt::PrevGroup);
    connect(ui->BtnNextGroup, &QPushButton::clicked, this, &TFrmLxxt::NextGroup);
    connect(ui->BtnDone, &QPushButton::clicked, this, [this] {
        if (list().isOpen() && current_ > 0)
            RecordAnswer(list(), *ui->Panel, current_, ui->Panel->page(), RecordCheck, groupFirst_,
                         GroupLast(), Feedback());
    });
    connect(ui->BtnNotes, &QPushButton::clicked, this, &TFrmLxxt::NotesClick);
    connect(ui->BtnReveal, &QPushButton::clicked, this, [this] {
        if (current_ > 0) list().setRecNo(current_);
        ui->Panel->RevealAnswer(list().text(QStringLiteral("A2")));
    });
    // The question-to-law view is not part of the program yet; the button keeps its states.
    connect(ui->BtnLaw, &QPushButton::clicked, this, [] {});
    connect(ui->BtnSettings, &QPushButton::clicked, this, &TFrmLxxt::SettingsClick);
    connect(ui->BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->BtnDesktop, &QPushButton::clicked, this, [] { desktop::minimiseAll(); });
    connect(ui->BtnDiscard, &QPushButton::clicked, this, &TFrmLxxt::DiscardClick);
    connect(ui->BtnEdit, &QPushButton::clicked, this, &TFrmLxxt::EditClick);
    connect(questionTimer_, &QTimer::timeout, this, &TFrmLxxt::QuestionTimerTick);
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &TFrmLxxt::UpdateClock);
}

TFrmLxxt::~TFrmLxxt()
{
    if (FrmLxxt == this) FrmLxxt = nullptr;
}

bool TFrmLxxt::LoadGridPictures()
{
    return loadPicture(QStringLiteral("qorvup.bmp"), released_[CellUnanswered]) &&
           loadPicture(QStringLiteral("qorvdw.bmp"), pressed_[CellUnanswered]) &&
           loadPicture(QStringLiteral("qorvyes.bmp"), released_[CellRight]) &&
           loadPicture(QStringLiteral("qorvno.bmp"), released_[CellWrong]) &&
           loadPicture(QStringLiteral("qorvdw_r.bmp"), pressed_[CellRight]) &&
           loadPicture(QStringLiteral("qorvdw_w.bmp"), pressed_[CellWrong]);
}

// Two arrangements of the same controls: 800 x 600 (compact) and 1024 x 768.
void TFrmLxxt::ArrangeForScreen()
{
    const bool compact = ScreenMode == QLatin1String("800");
    setProperty("compact", compact);
    setFixedSize(compact ? QSize(800, 600) : QSize(1024, 768));
    const QSize cellSize = compact ? QSize(38, 26) : QSize(44, 32);
    for (PictureButton* c : cells_)
        c->setPreferredSize(cellSize);
    ui->SideColumn->setFixedWidth(compact ? 224 : 262);
    ui->Gauge->setFixedWidth(compact ? 14 : 18);
    ui->outer->setContentsMargins(compact ? QMargins(6, 6, 6, 6) : QMargins(10, 10, 10, 10));
    ui->navRow->setSpacing(compact ? 4 : 8);
}

bool TFrmLxxt::OpenPractice()
{
    if (!picturesOk_) return false;
    db::Recordset& q = list();
    q.setFiltered(false);
    q.setFilter(QString());
    q.execSql(QStringLiteral("Update tab_answ set E2_1= ''"));
    q.open(QuestionSql);
    if (q.isEmpty()) return false;
    FirstQuestionId = q.text(QStringLiteral("a1"));

    QPixmap tabUp, tabDown;
    if (!loadPicture(QStringLiteral("qorvtxup.bmp"), tabUp) ||
        !loadPicture(QStringLiteral("qorvtxdw.bmp"), tabDown)) {
        picturesOk_ = false;
        return false;
    }
    db::Table& tx = DM1->Cn1Table_tx;
    tx.openIfClosed();
    tx.setSort(QStringLiteral("A1 ASC"));

    qDeleteAll(tabs_);
    tabs_.clear();
    const bool compact = ScreenMode == QLatin1String("800");
    auto addTab = [&](const QString& caption, int code) {
        auto* t = new PictureButton(caption, ui->TypeBoard);
        t->setObjectName(QStringLiteral("Tab%1").arg(code));
        t->setProperty("code", code);
        t->setPictures(tabUp, tabDown);
        t->setPressedTextColor(Qt::white);
        t->setPreferredSize(compact ? QSize(96, 22) : QSize(116, 26));
        const int i = int(tabs_.size());
        ui->typeGrid->addWidget(t, i / 2, i % 2);
        tabGroup_->addButton(t);
        tabs_ << t;
        connect(t, &QAbstractButton::clicked, this, [this, t] { SelectTab(t); });
        return t;
    };
    addTab(QStringLiteral("任意"), 0);
    for (int i = 1; i <= tx.recordCount(); ++i) {
        tx.setRecNo(i);
        const int code = int(tx.integer(QStringLiteral("A1")));
        PictureButton* t = addTab(tx.text(QStringLiteral("B1")), code);
        q.setFiltered(false);
        q.setFilter(QStringLiteral("A13=") + QString::number(code));
        q.setFiltered(true);
        if (q.isEmpty()) t->setEnabled(false);
    }
    return true;
}

void TFrmLxxt::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!shown_) {
        shown_ = true;
        desktop::centreOnScreen(this);
        FormShow();
    }
}

void TFrmLxxt::FormShow()
{
    {
        WaitCursor wait;
        ui->Gauge->setValue(0);
        DM1->cn1query_nr.open(QStringLiteral("select * from tab_exer where A1=") + quoted(FirstQuestionId));
        ui->Panel->ShutAnswerPanel();
        ui->LbTitle->setText(CurrentChapterTitle);
        current_ = 0;
        if (!tabs_.isEmpty()) {
            tabs_.first()->setChecked(true);
            SelectTab(tabs_.first());
        }
        clockStart_ = platform::steadyMs();
        UpdateClock();
        clockTimer_->start();
    }
    ui->BtnLaw->setEnabled(false);
}

void TFrmLxxt::ApplyTypeFilter(const QString& filterText)
{
    db::Recordset& q = list();
    const QString now = q.filtered() ? q.filter() : QString();
    if (filterText == now) return;
    q.setFiltered(false);
    q.setFilter(filterText);
    q.setFiltered(!filterText.isEmpty());
}

void TFrmLxxt::SelectTab(PictureButton* tab)
{
    if (current_ > 0) {
        RecordAnswer(list(), *ui->Panel, current_, ui->Panel->page(), RecordSilent, groupFirst_, GroupLast(),
                     Feedback());
        current_ = 0;
    }
    const int code = tab->property("code").toInt();
    ui->Panel->setSubjectiveLabel(code == 0 ? QStringLiteral("主观") : tab->text().left(2));
    ApplyTypeFilter(code == 0 ? QString() : QStringLiteral("A13=") + QString::number(code));
    if (list().isEmpty()) {
        tab->setEnabled(false);
        if (selectedTab_ && selectedTab_ != tab) {
            selectedTab_->setChecked(true);
            SelectTab(selectedTab_);
        } else {
            tabGroup_->setExclusive(false);
            tab->setChecked(false);
            tabGroup_->setExclusive(true);
        }
        return;
    }
    selectedTab_ = tab;
    FillQuestionGrid(GridFirst, list().recordCount());
}

void TFrmLxxt::ShowGroupLabels()
{
    ui->LbGroups->setText(QStringLiteral("共") + QString::number(groupCount_) + QStringLiteral("组") +
                          QString::number(questionCount_) + QStringLiteral("道题"));
    ui->LbGroup->setText(QStringLiteral("第") + QString::number(groupNo_) + QStringLiteral("组"));
}

void TFrmLxxt::FillQuestionGrid(GridMode mode, int count)
{
    switch (mode) {
    case GridFirst:
        questionCount_ = count;
        groupCount_ = (count + GroupSize - 1) / GroupSize;
        groupNo_ = 1;
        ui->BtnPrevGroup->setEnabled(false);
        ui->BtnNextGroup->setEnabled(groupCount_ > 1);
        groupFirst_ = 1;
        groupSize_ = std::min(count, GroupSize);
        break;
    case GridPrevious:
        groupFirst_ = (groupNo_ - 2) * GroupSize + 1;
        groupNo_ -= 1;
        groupSize_ = GroupSize;
        break;
    case GridNext:
        groupFirst_ = groupNo_ * GroupSize + 1;
        groupSize_ = count < groupNo_ * GroupSize + GroupSize ? count - groupNo_ * GroupSize : GroupSize;
        groupNo_ += 1;
        break;
    }
    ShowGroupLabels();

    db::Recordset& q = list();
    for (int n = 1; n <= GroupSize; ++n) {
        PictureButton* c = cells_[n - 1];
        if (n <= groupSize_) {
            cellRecord_[n - 1] = groupFirst_ + n - 1;
            c->setEnabled(true);
            q.setRecNo(cellRecord_[n - 1]);
            const CellState s = StateOfCurrentRow();
            SetCellPicture(n, false, s);
            SetCellPicture(n, true, s);
        } else {
            cellRecord_[n - 1] = 0;
            c->setEnabled(false);
            SetCellPicture(n, false, CellUnanswered);
            SetCellPicture(n, true, CellUnanswered);
        }
    }
    if (groupSize_ > 0) PressCell(1);
}

CellState TFrmLxxt::StateOfCurrentRow() const
{
    const QString answer = list().text(QStringLiteral("E2_1"));
    if (answer.isEmpty()) return CellUnanswered;
    return IsRightAnswer(answer, list().text(QStringLiteral("A2"))) ? CellRight : CellWrong;
}

void TFrmLxxt::SetCellPicture(int n, bool pressed, CellState state)
{
    if (n < 1 || n > GroupSize) return;
    PictureButton* c = cells_[n - 1];
    if (pressed) {
        c->setPressedPicture(pressed_[state]);
        c->setProperty("pressedState", QString::fromLatin1(StateNames[state]));
    } else {
        c->setReleasedPicture(released_[state]);
        c->setProperty("cellState", QString::fromLatin1(StateNames[state]));
    }
}

AnswerFeedback TFrmLxxt::Feedback()
{
    AnswerFeedback fb;
    fb.setCellPicture = [this](int n, bool pressed, CellState s) { SetCellPicture(n, pressed, s); };
    fb.lawPoints = ui->BtnLaw;
    fb.reveal = ui->BtnReveal;
    return fb;
}

void TFrmLxxt::PressCell(int n)
{
    cells_[n - 1]->setChecked(true);
    SelectCell(n);
}

void TFrmLxxt::SelectCell(int n)
{
    const int r = cellRecord_[n - 1];
    if (r <= 0) return;
    ui->LbEdited->clear();
    if (ui->Panel->answerPanelOpen()) ui->Panel->ShutAnswerPanel();
    ui->BtnPrev->setEnabled(r > 1);
    ui->BtnNext->setEnabled(r < list().recordCount());
    GoToQuestion(current_, r);

    ui->LbNotice->clear();
    ui->BtnDiscard->setText(QStringLiteral("题目作废"));
    const int f1 = int(list().integer(QStringLiteral("f1")));
    if (f1 == 1) {
        ui->LbNotice->setText(QStringLiteral("本题已被您作废！"));
        ui->BtnDiscard->setText(QStringLiteral("取消作废"));
    } else if (f1 == 2) {
        ui->LbNotice->setText(QStringLiteral("本题是您加入的题目！"));
    }
    if (list().integer(QStringLiteral("ecount")) != 0)
        ui->LbEdited->setText(QStringLiteral("本题被您修改过"));
}

void TFrmLxxt::GoToQuestion(int oldRecord, int newRecord)
{
    db::Recordset& q = list();
    RecordAnswer(q, *ui->Panel, oldRecord, ui->Panel->page(), RecordNavigate, groupFirst_, GroupLast(),
                 Feedback());
    current_ = newRecord;
    q.setRecNo(newRecord);
    const QString key = q.text(QStringLiteral("a1"));
    DM1->cn1query_nr.open(QStringLiteral("select * from tab_exer where a1 =") + quoted(key));

    const int e3 = int(q.integer(QStringLiteral("E3")));
    ui->LbQuestion->setText(QStringLiteral("第") + QString::number(newRecord - groupFirst_ + 1) +
                            QStringLiteral("题") + QStringLiteral("（第") +
                            QString::number(e3 >= 1 ? e3 + 1 : 1) + QStringLiteral("次出现）"));

    const int typeCode = int(q.integer(QStringLiteral("A13")));
    const int page = AnswerPageOf(typeCode);
    if (page != NoPage) ui->Panel->setPage(page);
    ui->Panel->LoadAnswerControls(ui->Panel->page(), q);
    ui->Panel->UpdateQuestionButtons(q, DM1->cn1query_nr.isOpen() && !DM1->cn1query_nr.isEmpty() &&
                                            !DM1->cn1query_nr.isNull(QStringLiteral("jx")));
    ui->Panel->ShowQuestionText(key);

    const int cell = q.recNo() % GroupSize == 0 ? GroupSize : q.recNo() % GroupSize;
    SetCellPicture(cell, true, StateOfCurrentRow());

    ui->Gauge->setValue(0);
    int interval = DefaultInterval;
    const qsizetype i = TypeIds.indexOf(typeCode);
    if (i >= 0 && i < TypeIntervals.size()) interval = TypeIntervals[i];
    questionTimer_->setInterval(interval);
    questionTimer_->start();
}

void TFrmLxxt::PrevQuestion()
{
    const int p = current_ - 1;
    if (p >= groupFirst_) {
        PressCell(p - (groupNo_ - 1) * GroupSize);
    } else if (groupNo_ > 1) {
        ui->BtnNextGroup->setEnabled(true);
        if (groupNo_ <= 2) ui->BtnPrevGroup->setEnabled(false);
        FillQuestionGrid(GridPrevious, questionCount_);
    }
}

void TFrmLxxt::NextQuestion()
{
    const int p = current_ + 1;
    if (p > GroupLast()) {
        if (groupNo_ < groupCount_) {
            ui->BtnPrevGroup->setEnabled(true);
            if (groupCount_ - groupNo_ - 1 <= 0) ui->BtnNextGroup->setEnabled(false);
            FillQuestionGrid(GridNext, questionCount_);
        }
    } else {
        PressCell(p - (groupNo_ - 1) * GroupSize);
    }
}

void TFrmLxxt::PrevGroup()
{
    ui->BtnNextGroup->setEnabled(true);
    if (groupNo_ <= 2) ui->BtnPrevGroup->setEnabled(false);
    FillQuestionGrid(GridPrevious, questionCount_);
}

void TFrmLxxt::NextGroup()
{
    ui->BtnPrevGroup->setEnabled(true);
    if (groupCount_ - groupNo_ <= 1) ui->BtnNextGroup->setEnabled(false);
    FillQuestionGrid(GridNext, questionCount_);
}

void TFrmLxxt::QuestionTimerTick()
{
    if (ui->Gauge->value() < 100) {
        ui->Gauge->setValue(ui->Gauge->value() + 1);
        return;
    }
    questionTimer_->stop();
    ShowDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, 1, QStringLiteral("NO"));
    if (current_ > 0 && list().isOpen()) {
        list().setRecNo(current_);
        list().setValue(QStringLiteral("csbs"), QStringLiteral("Y"));
        list().post();
    }
}

void TFrmLxxt::UpdateClock()
{
    ui->LbClock->setText(ClockText((platform::steadyMs() - clockStart_) / 1000));
}

void TFrmLxxt::NotesClick()
{
    if (current_ <= 0) return;
    list().setRecNo(current_);
    TFrmBj bj(this);
    FrmBj = &bj;
    bj.bind(&DM1->Cn1DS_tm, QStringLiteral("A14"));
    desktop::execModal(bj);
    ui->BtnNotes->setText(NoteHasText ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void TFrmLxxt::SettingsClick()
{
    ConfigMode = 0;
    TFrmConfig cfg(this);
    FrmConfig = &cfg;
    desktop::execModal(cfg);
}

void TFrmLxxt::EditClick()
{
    questionTimer_->stop();
    // The question editing window comes later; until then the timer simply runs on.
    questionTimer_->start();
}

void TFrmLxxt::DiscardClick()
{
    db::Recordset& q = list();
    if (!q.isOpen() || q.isEmpty() || current_ <= 0) return;
    q.setRecNo(current_);
    if (ui->BtnDiscard->text() == QStringLiteral("题目作废")) {
        q.setValue(QStringLiteral("f1"), 1);
        q.setValue(QStringLiteral("E2"), QStringLiteral("zero"));
        q.post();
        ui->LbNotice->setText(QStringLiteral("本题已被您作废！"));
        ui->BtnDiscard->setText(QStringLiteral("取消作废"));
    } else {
        q.setValue(QStringLiteral("f1"), 0);
        q.post();
        ui->LbNotice->setText(QStringLiteral("本题曾被作废，现已被您取消！"));
        ui->BtnDiscard->setText(QStringLiteral("题目作废"));
    }
}

void TFrmLxxt::keyPressEvent(QKeyEvent* e)
{
    if (ui->Panel->HandleKey(e->key())) return;
    QDialog::keyPressEvent(e);
}

void TFrmLxxt::mousePressEvent(QMouseEvent* e)
{
    dragFrom_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(e);
}

void TFrmLxxt::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::LeftButton) move(e->globalPosition().toPoint() - dragFrom_);
    QDialog::mouseMoveEvent(e);
}

// Every way of closing ends here; closing is never refused.
void TFrmLxxt::done(int r)
{
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QDialog::done(r);
}

void TFrmLxxt::FormClose()
{
    WaitCursor wait;
    questionTimer_->stop();
    clockTimer_->stop();
    if (shown_) UpdateClock();
    const QString elapsed = ui->LbClock->text();
    db::Recordset& q = list();
    if (q.isOpen() && current_ > 0)
        RecordAnswer(q, *ui->Panel, current_, ui->Panel->page(), RecordSilent, groupFirst_, GroupLast(),
                     Feedback());
    DM1->AddStudyTime(elapsed);
    DM1->Cn1Query1.close();
    DM1->Cn1Query2.close();
    DM1->Cn1Query_tm.close();
    DM1->Cn1Table_cj.close();
    DM1->Cn1Table_tx.close();
}
