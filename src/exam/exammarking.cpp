#include "exammarking.h"

#include "platform/db/recordset.h"
#include "platform/db/table.h"
#include "platform/system/clock.h"
#include "practice/answer.h"
#include "practice/recordanswer.h"
#include "shell/common.h"
#include "shell/dm.h"

#include <QRegularExpression>

namespace {

QString quoted(const QString& s)
{
    return u'\'' + QString(s).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The data module's type table bound to a kind's table ("tab_tx" + kind; 0 counts as 1).
db::Table& typeTable(int kind)
{
    db::Table& tx = DM1->Cn1Table_tx;
    const QString name = QStringLiteral("tab_tx") + QString::number(kind <= 0 ? 1 : kind);
    if (tx.tableName() != name || !tx.isOpen()) {
        tx.setTableName(name);
        tx.open();
    }
    return tx;
}

} // namespace

void ExamClock::reset()
{
    frozen_ = 0;
    started_ = platform::steadyMs();
}

void ExamClock::setCounting(bool on)
{
    if (on == counting_) return;
    if (on)
        started_ = platform::steadyMs();
    else
        frozen_ += platform::steadyMs() - started_;
    counting_ = on;
}

qint64 ExamClock::elapsedMs() const
{
    return counting_ ? frozen_ + platform::steadyMs() - started_ : frozen_;
}

QString ExamClock::text() const
{
    return ClockText(elapsedMs() / 1000);
}

QString ClockText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
}

ExamPlan ReadExamPlan()
{
    db::Table& plan = DM1->Cn1Table_plan;
    plan.openIfClosed();
    plan.first();
    if (plan.isEmpty()) return {};
    return {int(plan.integer(QStringLiteral("LeastMark"))), int(plan.integer(QStringLiteral("ExamTime")))};
}

int CountUnanswered(const QString& paperTable)
{
    db::Recordset q(DM1->ADOCn1);
    q.open(QStringLiteral("select A1 from ") + paperTable +
           QStringLiteral(" where E2_1 = '' or E2_1 is null"));
    return q.recordCount();
}

bool RecordExamAnswer(db::Recordset& paper, const QString& answer)
{
    if (answer.isEmpty()) {
        paper.setValue(QStringLiteral("E2_1"), QString());
        paper.post();
        return false;
    }
    if (answer != paper.text(QStringLiteral("E2_1"))) {
        const QString correct = paper.text(QStringLiteral("A2"));
        const QString previous = paper.text(QStringLiteral("E2"));
        const int firstToday = paper.date(QStringLiteral("E1")) != platform::today() ? 2 : 1;
        const int wrong = IsRightAnswer(answer, correct) ? 1 : 2;
        const int previousWrong = previous != correct ? 2 : 1;
        const int firstEver = previous.isEmpty() ? 2 : 1;
        DM1->LogAnswer(firstToday, wrong, previousWrong);
        DM1->CountChapterAnswer(paper.text(QStringLiteral("A10")), firstEver, wrong);
        const LawLists laws = BuildLawLists(paper);
        if (!laws.articles.isEmpty())
            DM1->CountLawAnswer(laws.articles, laws.keyPoints, laws.headings, firstEver, wrong);
        UpdateBankAnswer(paper.text(QStringLiteral("A1")), answer);
    }
    // Written even when unchanged, as the paper row follows this paper's answers.
    paper.setValue(QStringLiteral("E2_1"), answer);
    paper.setValue(QStringLiteral("E2"), answer);
    paper.setValue(QStringLiteral("E1"), platform::today());
    paper.post();
    return true;
}

void UpdateBankAnswer(const QString& key, const QString& answer)
{
    db::Recordset& bank = DM1->Cn1Query_tm;
    if (!bank.isOpen() || !bank.locate(QStringLiteral("A1"), key)) return;
    const QString correct = bank.text(QStringLiteral("A2"));
    const bool wrong = !IsRightAnswer(answer, correct);
    qint64 e4 = bank.integer(QStringLiteral("E4"));
    if (!bank.text(QStringLiteral("E2")).isEmpty()) {
        if (wrong)
            e4 -= 1;
        else if (e4 < 0)
            e4 += 1;
    } else {
        e4 = wrong ? -3 : 0;
    }
    bank.setValue(QStringLiteral("E4"), e4);
    bank.setValue(QStringLiteral("E3"), bank.integer(QStringLiteral("E3")) + 1);
    bank.setValue(QStringLiteral("E2_1"), answer);
    bank.setValue(QStringLiteral("E2"), answer);
    bank.setValue(QStringLiteral("E1"), platform::today());
    bank.post();
}

double ScorePaper(const QString& paperTable, int kind)
{
    const QString p = paperTable;
    const QString k = QString::number(kind);
    db::Recordset q(DM1->ADOCn1);
    q.open(QStringLiteral("select sum(tab_tx") + k + QStringLiteral(".B3) as ZFS from ") + p +
           QStringLiteral(",tab_tx") + k + QStringLiteral(" where ") + p + QStringLiteral(".A13 = tab_tx") +
           k + QStringLiteral(".A1 and ") + p + QStringLiteral(".A2 = ") + p + QStringLiteral(".E2_1"));
    return q.isEmpty() ? 0.0 : q.number(QStringLiteral("ZFS"));
}

bool WriteScoreRow(const QString& paperTable, double score, const QString& usedTime)
{
    db::Table& cj = DM1->Cn1Table_cj;
    cj.openIfClosed();
    if (!cj.locate(QStringLiteral("A1"), paperTable)) return false;
    cj.setValue(QStringLiteral("A6"), score);
    cj.setValue(QStringLiteral("D2"), usedTime);
    cj.post();
    return true;
}

QString ScoreText(double score)
{
    return QString::number(score, 'f', 6).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QString TypeLine(int kind, int typeCode)
{
    db::Table* found = nullptr;
    try {
        found = &typeTable(kind);
    } catch (const std::exception&) {
        return {}; // no type table for this kind: no line
    }
    db::Table& tx = *found;
    if (!tx.locate(QStringLiteral("A1"), typeCode)) return {};
    const qint64 count = tx.integer(QStringLiteral("B2"));
    const qint64 points = tx.integer(QStringLiteral("B3"));
    return tx.text(QStringLiteral("B1")) + u' ' + QStringLiteral("每题") + QString::number(points) +
           QStringLiteral("分 ") + QStringLiteral("共") + QString::number(points * count) +
           QStringLiteral("分");
}

void DiscardQuestion(db::Recordset& paper, bool discard)
{
    const QString key = paper.text(QStringLiteral("A1"));
    paper.setValue(QStringLiteral("F1"), discard ? 1 : 0);
    paper.setValue(QStringLiteral("E2"), discard ? QStringLiteral("zero") : QString());
    paper.post();
    db::Recordset& bank = DM1->ADOQuery3;
    bank.open(QStringLiteral("select * from tab_answ where a1=") + quoted(key));
    if (bank.isEmpty()) return;
    bank.setValue(QStringLiteral("F1"), discard ? 1 : 0);
    // Undoing keeps the bank row's "zero": only the paper row forgets it.
    if (discard) bank.setValue(QStringLiteral("E2"), QStringLiteral("zero"));
    bank.post();
}
