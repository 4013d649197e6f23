// Answer pages, answer strings and judging, shared by every window that shows questions.
#pragma once

#include <QString>

// The pages of the answer notebook, in their fixed order.
enum AnswerPage {
    PageSingle = 0,     // 单选: one of A..F
    PageMultiple = 1,   // 多选: letters A..F in order
    PageFill = 2,       // 填空: trimmed text, blanks separated by ","
    PageJudge = 3,      // 判断: "A" for 对, "B" for 错
    PageSubjective = 4, // 主观: "0" 不会, "1" 会
    PageIndefinite = 5, // 配伍 / 不定项: letters A..F in order
    NoPage = 99,
};

// The page on which questions of a type code are answered; NoPage for unknown types.
int AnswerPageOf(int typeCode);
// Types whose answer is never revealed (self-assessed essays and the like).
bool IsNoRevealType(int typeCode);
// An answer is right exactly when it equals the correct answer, character for character.
inline bool IsRightAnswer(const QString& answer, const QString& correct)
{
    return answer == correct;
}
