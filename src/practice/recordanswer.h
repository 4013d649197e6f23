// Saving a practice answer: the question's row, its learning record and the study statistics.
#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QuestionPanel;
namespace db {
class Recordset;
}

enum RecordMode { RecordNavigate = 0, RecordCheck = 1, RecordSilent = 2 };
enum CellState { CellUnanswered, CellRight, CellWrong };

// What the calling form shows in return.
struct AnswerFeedback {
    // Sets the released (pressed = false) or pressed picture of grid cell 1..20.
    std::function<void(int cell, bool pressed, CellState state)> setCellPicture;
    QAbstractButton* explanation = nullptr; // "解析"
    QAbstractButton* lawPoints = nullptr;   // "考点"
    QAbstractButton* reveal = nullptr;      // "答案"
    bool hasExplanation = false;            // the question's jx is not null
    QString emptyMessage = QStringLiteral("请先做出答案！");
};

// Saves the answer of the question at a 1-based record number of the question list, read from
// the panel's page; mode decides the feedback. groupFirst..groupLast: the records of the grid.
void RecordAnswer(db::Recordset& list, const QuestionPanel& panel, int recordNumber, int page, int mode,
                  int groupFirst, int groupLast, const AnswerFeedback& feedback);

// The three law-article lists of the current row: full codes, first 6 and first 2 characters,
// each "('a','b')"; built from k3 upward, stopping at the first empty one. Empty when none.
struct LawLists {
    QString articles, keyPoints, headings;
};
LawLists BuildLawLists(const db::Recordset& row);
