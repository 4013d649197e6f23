// The exam's logic apart from its widgets: the pausable clock, recording answers in the paper
// and the bank, counting, marking and discarding.
#pragma once

#include <QString>

namespace db {
class Recordset;
}

// Wall-clock time with pause: switching counting off freezes the elapsed time, switching it
// on continues from the frozen value. Reads platform::steadyMs, so tests can drive it.
class ExamClock {
public:
    void reset();
    void setCounting(bool on);
    bool counting() const { return counting_; }
    qint64 elapsedMs() const;
    // Hours without a leading zero, two-digit minutes and seconds: "0:00:00".
    QString text() const;

private:
    bool counting_ = false;
    qint64 frozen_ = 0;  // elapsed time up to the last switch-off
    qint64 started_ = 0; // steady time of the last switch-on
};

// Elapsed text for whole seconds, as the clock shows it.
QString ClockText(qint64 seconds);

// LeastMark and ExamTime of the first tab_plan row.
struct ExamPlan {
    int leastMark = 0;
    int examTime = 0;
};
ExamPlan ReadExamPlan();
// Time is up when the elapsed whole seconds reach or pass the limit; 0 or less: no limit.
inline bool TimeIsUp(qint64 seconds, int examTime)
{
    return examTime > 0 && seconds >= examTime;
}

// Questions of the paper with no answer in this paper.
int CountUnanswered(const QString& paperTable);

// Records an answer for the paper's current row (step 3 and 4 of saving an exam answer):
// counts a new or changed answer in the statistics and the bank row, then writes the paper
// row. True when the answer is not empty.
bool RecordExamAnswer(db::Recordset& paper, const QString& answer);
// Applies an answer to the question's row of the open candidate list (the bank).
void UpdateBankAnswer(const QString& key, const QString& answer);

// The score: points of the paper's type table for every answer equal to the correct one.
double ScorePaper(const QString& paperTable, int kind);
// Writes score and time used into the paper's tab_cj row; false when there is none.
bool WriteScoreRow(const QString& paperTable, double score, const QString& usedTime);
// A score as a plain decimal number without trailing zeros ("87", "87.5").
QString ScoreText(double score);

// The type line of a question type in a kind's type table; empty when the type is missing.
QString TypeLine(int kind, int typeCode);

// Marks the question of the paper's current row as discarded (or undoes it) in the paper and
// in the bank.
void DiscardQuestion(db::Recordset& paper, bool discard);
