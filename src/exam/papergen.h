// Mock paper generation: naming and numbering a paper, its table, and the random draw of its
// questions by the fixed plan of each paper kind.
#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace db {
class Recordset;
}

struct DrawStep {
    int type;       // question type code (A13)
    int count;      // questions to draw
    QString prefix; // chapter-code prefix of the candidates
};

// The five paper kinds: title, candidate filter (the text placed after "where ") and draw plan.
QString PaperKindTitle(int kind);
QString CandidateFilter(int kind);
std::vector<DrawStep> DrawPlan(int kind);

// The next paper's number and table name, from the newest score row.
struct PaperSlot {
    int number = 1;
    QString table = QStringLiteral("tab_exam1");
};
PaperSlot NextPaperSlot();
// "2026年12月11日" + title + "[" + number + "]".
QString PaperName(const QDate& day, int kind, int number);
// The data-definition statement of a paper table.
QString PaperTableDdl(const QString& table);

// Records a new paper: clears a leftover table of that name (and only its own score row),
// appends the score row, creates the table and lets its answer columns hold empty strings.
// Throws on failure after the score row exists (the caller reports "建立数据表时发生错误！").
void CreatePaper(const PaperSlot& slot, const QString& name, const QDate& day);

// One draw on the open candidate list: filters it, takes count distinct rows uniformly at
// random (all of them when there are not enough) and returns "a.A1='k1' or a.A1='k2' ...";
// empty when none is eligible. The list is left filtered.
QString DrawQuestions(db::Recordset& candidates, int type, int count, const QString& prefix);
// Copies the drawn rows with their explanations into the paper table.
void InsertPaperQuestions(const QString& table, const QString& condition);
// All draws of the kind's plan for one type code.
void FillPaperType(db::Recordset& candidates, int kind, const QString& table, int type);

enum class DrawResult { Ok, NoCandidates };
// Opens the candidate list of the kind on the data module's question list and runs every
// draw of the types that the kind's type table gives a count above 0. Leaves the list open
// and unfiltered. Database failures propagate (the caller reports "提取数据时发生错误！").
DrawResult DrawPaper(int kind, const QString& table);
