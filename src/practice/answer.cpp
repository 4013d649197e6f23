#include "answer.h"

int AnswerPageOf(int typeCode)
{
    switch (typeCode) {
    case 61:
        return PageSingle;
    case 65:
        return PageMultiple;
    case 66:
    case 62:
        return PageIndefinite;
    case 21:
        return PageFill;
    case 31:
        return PageJudge;
    case 64:
    case 70:
    case 71:
    case 72:
    case 73:
    case 74:
        return PageSubjective;
    default:
        return NoPage;
    }
}

bool IsNoRevealType(int typeCode)
{
    return typeCode >= 71 && typeCode <= 74;
}
