#include "recordanswer.h"

#include "answer.h"
#include "platform/db/recordset.h"
#include "platform/system/clock.h"
#include "questionpanel.h"
#include "shell/common.h"
#include "shell/dm.h"

#include <QAbstractButton>

LawLists BuildLawLists(const db::Recordset& row)
{
    QStringList full, six, two;
    for (int k = 3; k <= 12; ++k) {
        const QString field = QStringLiteral("k%1").arg(k);
        if (!row.hasField(field)) break;
        const QString code = row.text(field);
        if (code.isEmpty()) break;
        full << code;
        six << code.left(6);
        two << code.left(2);
    }
    if (full.isEmpty()) return {};
    return {TDM1::CodeList(full), TDM1::CodeList(six), TDM1::CodeList(two)};
}

void RecordAnswer(db::Recordset& list, const QuestionPanel& panel, int recordNumber, int page, int mode,
                  int groupFirst, int groupLast, const AnswerFeedback& fb)
{
    if (recordNumber <= 0) return;
    list.setRecNo(recordNumber);
    const QString correct = list.text(QStringLiteral("A2"));
    const QString answer = panel.ReadAnswerControls(page, list);
    const int cell = recordNumber % 20 == 0 ? 20 : recordNumber % 20;
    const bool inGroup = recordNumber >= groupFirst && recordNumber <= groupLast;

    if (answer.isEmpty()) {
        list.setValue(QStringLiteral("E2_1"), QString());
        list.post();
        if (mode == RecordCheck)
            ShowDlg(QStringLiteral("提示"), fb.emptyMessage, 1, 1, QStringLiteral("NO"));
        else if (mode == RecordNavigate && inGroup && fb.setCellPicture)
            fb.setCellPicture(recordNumber - groupFirst + 1, false, CellUnanswered);
        return;
    }

    list.edit();
    if (answer != list.text(QStringLiteral("E2_1"))) {
        const QDate today = platform::today();
        const QString previous = list.text(QStringLiteral("E2"));
        const bool wrong = !IsRightAnswer(answer, correct);
        const bool firstEver = previous.isEmpty();
        const int firstToday = list.date(QStringLiteral("E1")) != today ? 2 : 1;
        const int previousWrong = previous != correct ? 2 : 1;
        int e4 = int(list.integer(QStringLiteral("E4")));
        if (firstEver)
            e4 = wrong ? -3 : 0;
        else if (wrong)
            e4 -= 1;
        else if (e4 < 0)
            e4 += 1;
        list.setValue(QStringLiteral("E4"), e4);
        list.setValue(QStringLiteral("E3"), list.integer(QStringLiteral("E3")) + 1);
        const QString chapter = list.text(QStringLiteral("A10"));
        const LawLists laws = BuildLawLists(list);
        DM1->LogAnswer(firstToday, wrong ? 2 : 1, previousWrong);
        DM1->CountChapterAnswer(chapter, firstEver ? 2 : 1, wrong ? 2 : 1);
        if (!laws.articles.isEmpty())
            DM1->CountLawAnswer(laws.articles, laws.keyPoints, laws.headings, firstEver ? 2 : 1,
                                wrong ? 2 : 1);
    }
    list.setValue(QStringLiteral("E2_1"), answer);
    list.setValue(QStringLiteral("E2"), answer);
    list.setValue(QStringLiteral("E1"), platform::today());
    list.post();

    const CellState state = IsRightAnswer(list.text(QStringLiteral("E2_1")), correct) ? CellRight : CellWrong;
    if (mode == RecordCheck) {
        if (fb.lawPoints) fb.lawPoints->setEnabled(!list.text(QStringLiteral("k3")).trimmed().isEmpty());
        if (fb.explanation) fb.explanation->setEnabled(fb.hasExplanation);
        if (fb.setCellPicture) fb.setCellPicture(cell, true, state);
        if (fb.reveal) fb.reveal->setEnabled(!IsNoRevealType(int(list.integer(QStringLiteral("A13")))));
    } else if (mode == RecordNavigate && inGroup && fb.setCellPicture) {
        fb.setCellPicture(recordNumber - groupFirst + 1, false, state);
    }
}
