#include "questionpanel.h"

#include "answer.h"
#include "platform/db/recordset.h"
#include "platform/db/table.h"
#include "platform/widgets/dbrichview.h"
#include "shell/common.h"
#include "ui_questionpanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QMouseEvent>
#include <QToolButton>
#include <QStyle>
#include <QToolTip>

namespace {

const char* const PageHints[] = {
    "选择一个选项作为正确答案",     "选择两个或者多个选项作为正确答案",   "填写正确答案，答案间用“,”隔开",
    "根据判断选择“正确”或者“错误”", "根据自己实际情况选择“会”或者“不会”", "选择若干个选项作为正确答案",
};

constexpr int StemViewHeight = 150;
constexpr int SplitterHandle = 6;

QButtonGroup* makeGroup(QObject* owner, std::initializer_list<QAbstractButton*> buttons, bool exclusive)
{
    auto* g = new QButtonGroup(owner);
    g->setExclusive(exclusive);
    int id = 0;
    for (QAbstractButton* b : buttons)
        g->addButton(b, id++);
    return g;
}

} // namespace

QuestionPanel::QuestionPanel(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::QuestionPanel>())
{
    ui->setupUi(this);
    one_ =
        makeGroup(this, {ui->OneBtn1, ui->OneBtn2, ui->OneBtn3, ui->OneBtn4, ui->OneBtn5, ui->OneBtn6}, true);
    many_ = makeGroup(
        this, {ui->ManyBtn1, ui->ManyBtn2, ui->ManyBtn3, ui->ManyBtn4, ui->ManyBtn5, ui->ManyBtn6}, false);
    pw_ = makeGroup(this, {ui->PwBtn1, ui->PwBtn2, ui->PwBtn3, ui->PwBtn4, ui->PwBtn5, ui->PwBtn6}, false);
    yn_ = makeGroup(this, {ui->YnBtn1, ui->YnBtn2}, true);
    ui->FlatComboBox1->setCurrentIndex(-1);
    ui->FlatComboBox1->setPlaceholderText(QStringLiteral("请选择"));
    ui->Re1->setReadOnly(true);
    ui->Re2->setReadOnly(true);
    ui->FlatSplitter1->setHandleWidth(0);
    ui->Re2->hide();
    ui->Panel2->setAutoFillBackground(true);
    ui->Panel2->raise();
    ui->Panel2->setGeometry(0, 0, 0, ui->TextArea->height());
    ui->Panel2->hide();
    ui->Notebook1->setCurrentIndex(PageSubjective);
    ui->Notebook1->setMouseTracking(true);
    ui->Notebook1->installEventFilter(this);
    for (QWidget* w : ui->Notebook1->findChildren<QWidget*>())
        w->setMouseTracking(true);
}

QuestionPanel::~QuestionPanel() = default;

void QuestionPanel::setTextSources(db::DataSource* textRow, db::Recordset* stemQuery, db::DataSource* stemRow)
{
    textRow_ = textRow;
    stemQuery_ = stemQuery;
    stemRow_ = stemRow;
}

void QuestionPanel::setButtons(QAbstractButton* explanation, QAbstractButton* lawPoints,
                               QAbstractButton* reveal, QAbstractButton* notes)
{
    jx_ = explanation;
    kd_ = lawPoints;
    reveal_ = reveal;
    notes_ = notes;
}

void QuestionPanel::setNavigationButtons(QAbstractButton* previous, QAbstractButton* next)
{
    prev_ = previous;
    next_ = next;
}

bool QuestionPanel::ShowQuestionText(const QString& key)
{
    try {
        if (key.contains(u'-')) {
            if (!lowerShown_) {
                // The first shared-stem question after a stand-alone one: the lower view comes
                // back at its standard height; later ones keep what the learner dragged.
                ui->Re2->show();
                ui->FlatSplitter1->setHandleWidth(SplitterHandle);
                const int total = std::max(ui->FlatSplitter1->height(), StemViewHeight + 60);
                ui->FlatSplitter1->setSizes({total - StemViewHeight - SplitterHandle, StemViewHeight});
                lowerShown_ = true;
            }
            if (stemQuery_)
                stemQuery_->open(QStringLiteral("select * from tab_title where A1=:A1"),
                                 {{QStringLiteral("A1"), key.left(16)}});
            ui->Re1->setDataSource(stemRow_, QStringLiteral("A15"));
            ui->Re2->setDataSource(textRow_, QStringLiteral("A15"));
        } else {
            ui->Re2->setDataSource(nullptr, QString());
            ui->Re2->hide();
            ui->FlatSplitter1->setHandleWidth(0);
            lowerShown_ = false;
            ui->Re1->setDataSource(textRow_, QStringLiteral("A15"));
        }
        return true;
    } catch (const std::exception&) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, 2, QStringLiteral("NO"));
        return false;
    }
}

int QuestionPanel::page() const
{
    return ui->Notebook1->currentIndex();
}

void QuestionPanel::setPage(int page)
{
    if (page >= 0 && page < ui->Notebook1->count()) ui->Notebook1->setCurrentIndex(page);
}

void QuestionPanel::setSubjectiveLabel(const QString& label)
{
    QStringList chars;
    for (QChar c : label)
        chars << QString(c);
    ui->SubjPageSide->setText(chars.join(u'\n'));
}

QButtonGroup* QuestionPanel::groupOf(int page) const
{
    switch (page) {
    case PageSingle:
        return one_;
    case PageMultiple:
        return many_;
    case PageIndefinite:
        return pw_;
    case PageJudge:
        return yn_;
    default:
        return nullptr;
    }
}

QAbstractButton* QuestionPanel::optionButton(int page, int index) const
{
    QButtonGroup* g = groupOf(page);
    return g ? g->button(index) : nullptr;
}

void QuestionPanel::setChecked(QAbstractButton* b, bool on)
{
    // An exclusive group cannot release its last button by itself.
    QButtonGroup* g = b->group();
    const bool exclusive = g && g->exclusive();
    if (exclusive && !on) g->setExclusive(false);
    b->setChecked(on);
    if (exclusive && !on) g->setExclusive(true);
}

void QuestionPanel::LoadAnswerControls(int page, const QString& s, int n)
{
    switch (page) {
    case PageSingle:
    case PageMultiple:
    case PageIndefinite:
        for (int i = 0; i < 6; ++i) {
            QAbstractButton* b = groupOf(page)->button(i);
            const bool shown = i < n;
            b->setVisible(shown);
            if (!shown)
                setChecked(b, false);
            else if (page == PageSingle)
                setChecked(b, b->text() == s);
            else
                setChecked(b, s.contains(b->text()));
        }
        break;
    case PageFill:
        ui->FlatEdit1->setText(s);
        break;
    case PageJudge:
        setChecked(ui->YnBtn1, s == u"A");
        setChecked(ui->YnBtn2, s == u"B");
        break;
    case PageSubjective: {
        ui->FlatComboBox1->setCurrentIndex(-1);
        for (int i = 0; i < ui->FlatComboBox1->count(); ++i)
            if (QString::number(i) == s) ui->FlatComboBox1->setCurrentIndex(i);
        break;
    }
    default:
        break;
    }
}

QString QuestionPanel::ReadAnswerControls(int page, int n) const
{
    QString out;
    switch (page) {
    case PageSingle:
        for (int i = 0; i < std::min(n, 6); ++i) {
            QAbstractButton* b = one_->button(i);
            if (!b->isHidden() && b->isChecked()) return b->text();
        }
        return {};
    case PageMultiple:
    case PageIndefinite:
        for (int i = 0; i < std::min(n, 6); ++i) {
            QAbstractButton* b = groupOf(page)->button(i);
            if (!b->isHidden() && b->isChecked()) out += b->text();
        }
        return out;
    case PageFill:
        return ui->FlatEdit1->text().trimmed();
    case PageJudge:
        return ui->YnBtn1->isChecked()   ? QStringLiteral("A")
               : ui->YnBtn2->isChecked() ? QStringLiteral("B")
                                         : QString();
    case PageSubjective:
        return ui->FlatComboBox1->currentIndex() < 0 ? QString()
                                                     : QString::number(ui->FlatComboBox1->currentIndex());
    default:
        return {};
    }
}

void QuestionPanel::LoadAnswerControls(int page, const db::Recordset& r)
{
    LoadAnswerControls(page, r.text(QStringLiteral("E2_1")), int(r.integer(QStringLiteral("A2_1"))));
}

QString QuestionPanel::ReadAnswerControls(int page, const db::Recordset& r) const
{
    return ReadAnswerControls(page, int(r.integer(QStringLiteral("A2_1"))));
}

void QuestionPanel::UpdateQuestionButtons(const db::Recordset& r, bool hasExplanation)
{
    if (notes_)
        notes_->setText(r.text(QStringLiteral("A14")).trimmed().isEmpty() ? QStringLiteral("笔记")
                                                                          : QStringLiteral("有内容"));
    const bool answered = !r.text(QStringLiteral("E2_1")).isEmpty();
    if (jx_) jx_->setEnabled(answered && hasExplanation);
    if (kd_) kd_->setEnabled(answered && !r.text(QStringLiteral("k3")).trimmed().isEmpty());
    if (reveal_) reveal_->setEnabled(answered && !IsNoRevealType(int(r.integer(QStringLiteral("A13")))));
}

void QuestionPanel::RevealAnswer(const QString& correct)
{
    if (!answerPanelOpen()) {
        QString mine;
        QString right = correct;
        bool same;
        const int p = page();
        switch (p) {
        case PageSingle:
        case PageMultiple:
        case PageIndefinite:
            for (int i = 0; i < 6; ++i) {
                QAbstractButton* b = groupOf(p)->button(i);
                if (!b->isHidden() && b->isChecked()) {
                    mine += b->text();
                    if (p == PageSingle) break;
                }
            }
            same = mine == right;
            break;
        case PageJudge:
            mine = ui->YnBtn1->isChecked()   ? QStringLiteral("对")
                   : ui->YnBtn2->isChecked() ? QStringLiteral("错")
                                             : QString();
            right = correct == u"A" ? QStringLiteral("对") : correct == u"B" ? QStringLiteral("错") : correct;
            same = mine == right;
            break;
        case PageSubjective: {
            // Self-assessment: "会" is the answer "1"; the verdict is the recorded one.
            const QString raw = ReadAnswerControls(p, 1);
            auto word = [](const QString& v) {
                return v == u"1" ? QStringLiteral("会") : v == u"0" ? QStringLiteral("不会") : v;
            };
            mine = word(raw);
            right = word(correct);
            same = IsRightAnswer(raw, correct);
            break;
        }
        default: { // the fill-in page, and any page without letters
            mine = ReadAnswerControls(p, 6);
            same = IsRightAnswer(mine, correct);
            break;
        }
        }
        ui->Lb_answtip->setText(same ? QStringLiteral("恭喜你，做对了！")
                                     : QStringLiteral("很遗憾，做错了，请继续努力！"));
        ui->Lb_answtip->setProperty("verdict", same ? QStringLiteral("right") : QStringLiteral("wrong"));
        ui->Lb_answtip->style()->unpolish(ui->Lb_answtip);
        ui->Lb_answtip->style()->polish(ui->Lb_answtip);
        ui->Memo1->clear();
        ui->Memo2->clear();
        ui->Memo1->setText(mine);
        ui->Memo2->setText(right);
    }
    ToggleAnswerPanel();
}

bool QuestionPanel::answerPanelOpen() const
{
    return ui->Panel2->width() > 0 && ui->Panel2->isVisible();
}

void QuestionPanel::placeRevealPanel(int width)
{
    ui->Panel2->setGeometry(0, 0, width, ui->TextArea->height());
    ui->Panel2->setVisible(width > 0);
    ui->Panel2->raise();
}

void QuestionPanel::ToggleAnswerPanel()
{
    const int full = ui->TextArea->width();
    int step = 20;
    if (!answerPanelOpen()) {
        if (reveal_) reveal_->setText(QStringLiteral("返回"));
        int w = 0;
        while (w < full) {
            w = std::min(w + step, full);
            step += 20;
            placeRevealPanel(w);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    } else {
        if (reveal_) reveal_->setText(QStringLiteral("答案"));
        int w = ui->Panel2->width();
        while (w > 0) {
            w = std::max(w - step, 0);
            step += 20;
            placeRevealPanel(w);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
}

void QuestionPanel::ShutAnswerPanel()
{
    placeRevealPanel(0);
    if (reveal_) reveal_->setText(QStringLiteral("答案"));
}

bool QuestionPanel::HandleKey(int key)
{
    const int p = page();
    if (p != PageSingle && p != PageMultiple) return false;
    if (key == Qt::Key_Backspace) {
        if (prev_ && prev_->isEnabled()) prev_->click();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (next_ && next_->isEnabled()) next_->click();
        return true;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_F) {
        // Any of the six, also one that is hidden on this question.
        QAbstractButton* b = groupOf(p)->button(key - Qt::Key_A);
        if (p == PageSingle)
            setChecked(b, true);
        else
            b->toggle();
        return true;
    }
    return false;
}

bool QuestionPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Notebook1 && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
        const int p = page();
        if (p >= 0 && p < 6) ui->Notebook1->setToolTip(QString::fromUtf8(PageHints[p]));
    }
    return QWidget::eventFilter(watched, event);
}

void QuestionPanel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (answerPanelOpen()) placeRevealPanel(ui->TextArea->width());
}
