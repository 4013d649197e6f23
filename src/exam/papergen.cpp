#include "papergen.h"

#include "platform/db/recordset.h"
#include "platform/db/table.h"
#include "platform/system/clock.h"
#include "shell/common.h"
#include "shell/dm.h"

#include <set>

namespace {

QString quoted(QString text)
{
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

QString PaperKindTitle(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("综合知识模拟试卷");
    case 2:
        return QStringLiteral("专业知识（一）模拟试卷");
    case 3:
        return QStringLiteral("专业知识（二）模拟试卷");
    case 4:
        return QStringLiteral("综合分析题专项模拟");
    case 5:
        return QStringLiteral("案例分析题专项模拟");
    default:
        return {};
    }
}

QString CandidateFilter(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("(Left(A10,1) = '3') and");
    case 2:
        return QStringLiteral("(Left(A10,2) = '10' or Left(A10,2) = '11' or Left(A10,2) = '04') and");
    case 3:
        return QStringLiteral("(Left(A10,2) = '05' or Left(A10,2) = '08' or Left(A10,2) = '07') and");
    case 4:
        return QStringLiteral(
            "(Left(A10,2) = '10' or Left(A10,2) = '11' or Left(A10,2) = '05' or Left(A10,2) = "
            "'08' or Left(A10,2) = '07' or Left(A10,2) = '04') and");
    case 5:
        return QStringLiteral("(Left(A10,2) = '05') and");
    default:
        return {};
    }
}

std::vector<DrawStep> DrawPlan(int kind)
{
    switch (kind) {
    case 1:
        return {{61, 30, "3"}, {65, 40, "3"}, {66, 20, "3"}};
    case 2:
        return {{61, 20, "10"}, {61, 17, "11"}, {61, 13, "04"}, {62, 12, "10"}, {62, 11, "11"},
                {62, 7, "04"},  {65, 8, "10"},  {65, 7, "11"},  {65, 5, "04"}};
    case 3:
        return {{61, 23, "05"}, {61, 10, "08"}, {61, 17, "07"}, {62, 14, "05"}, {62, 6, "08"},
                {62, 10, "07"}, {65, 8, "05"},  {65, 4, "08"},  {65, 8, "07"}};
    case 4:
        return {{70, 2, "10"}, {70, 2, "11"}, {70, 2, "05"}, {70, 1, "08"}, {70, 2, "07"}, {70, 1, "04"}};
    case 5:
        return {{64, 6, "05"}};
    default:
        return {};
    }
}

PaperSlot NextPaperSlot()
{
    db::Recordset& q = DM1->Cn1Query1;
    q.open(QStringLiteral("select * from tab_cj order by A3_1 desc"));
    PaperSlot slot;
    if (!q.isEmpty()) {
        slot.number = int(q.integer(QStringLiteral("A3_1"))) + 1;
        slot.table = QStringLiteral("tab_exam") +
                     QString::number(q.text(QStringLiteral("A1")).mid(8).trimmed().toInt() + 1);
    }
    return slot;
}

QString PaperName(const QDate& day, int kind, int number)
{
    return day.toString(QStringLiteral("yyyy年MM月dd日")) + PaperKindTitle(kind) + u'[' +
           QString::number(number) + u']';
}

QString PaperTableDdl(const QString& table)
{
    return QStringLiteral("CREATE TABLE ") + table +
           QStringLiteral(
               "(A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A2_1 SMALLINT,K3 TEXT(12),K4 TEXT(12),"
               "K5 TEXT(12),K6 TEXT(12),K7 TEXT(12),K8 TEXT(12),K9 TEXT(12),K10 TEXT(12),K11 TEXT(12),"
               "K12 TEXT(12),A10 TEXT(6),A13 SMALLINT,A14 MEMO,E1 DATETIME,E2 TEXT(100),E2_1 TEXT(100),"
               "E3 SMALLINT,E4 SMALLINT,jx IMAGE,csbs TEXT(2),F1 SMALLINT)");
}

void CreatePaper(const PaperSlot& slot, const QString& name, const QDate& day)
{
    // A leftover table of this name goes first, so that clearing it can never take the
    // new paper's score row with it.
    DropPaperTable(slot.table);
    db::Table& cj = DM1->Cn1Table_cj;
    cj.openIfClosed();
    cj.append();
    cj.setValue(QStringLiteral("A1"), slot.table);
    cj.setValue(QStringLiteral("A3"), name);
    cj.setValue(QStringLiteral("A3_1"), slot.number);
    cj.setValue(QStringLiteral("D1"), day);
    cj.post();
    DM1->ADOCn1.execute(PaperTableDdl(slot.table));
    AllowZeroLength(slot.table, DM1->ADOCn1.connectionString());
}

QString DrawQuestions(db::Recordset& candidates, int type, int count, const QString& prefix)
{
    candidates.setFiltered(false);
    candidates.setFilter(QStringLiteral("A13=") + QString::number(type) + QStringLiteral(" and a10 like ") +
                         quoted(prefix + u'*') + QStringLiteral(" and f1<>1"));
    candidates.setFiltered(true);
    const int eligible = candidates.recordCount();
    if (eligible == 0 || count <= 0) return {};
    std::vector<int> taken;
    if (count >= eligible) {
        // Not enough for the plan: the paper takes every eligible question.
        for (int i = 1; i <= eligible; ++i)
            taken.push_back(i);
    } else {
        std::set<int> seen;
        while (int(taken.size()) < count) {
            const int pos = platform::randomBetween(1, eligible);
            if (seen.insert(pos).second) taken.push_back(pos);
        }
    }
    QStringList terms;
    for (int pos : taken) {
        candidates.setRecNo(pos);
        terms << QStringLiteral("a.A1=") + quoted(candidates.text(QStringLiteral("A1")));
    }
    return terms.join(QStringLiteral(" or "));
}

void InsertPaperQuestions(const QString& table, const QString& condition)
{
    if (condition.isEmpty()) return;
    DM1->Cn1Query1.execSql(
        QStringLiteral("insert into ") + table +
        QStringLiteral(
            "(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,E3,E4,JX,CSBS,F1)") +
        QStringLiteral(
            " Select a.a1 as a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,b.jx "
            "as jx,a.csbs as csbs,a.f1 as f1 ") +
        QStringLiteral(" from tab_answ a,tab_exer b where a.a1=b.a1 and (") + condition + u')');
}

void FillPaperType(db::Recordset& candidates, int kind, const QString& table, int type)
{
    for (const DrawStep& step : DrawPlan(kind))
        if (step.type == type)
            InsertPaperQuestions(table, DrawQuestions(candidates, step.type, step.count, step.prefix));
}

DrawResult DrawPaper(int kind, const QString& table)
{
    db::Recordset& candidates = DM1->Cn1Query_tm;
    candidates.setFiltered(false);
    candidates.setFilter(QString());
    if (kind < 1 || kind > 5) return DrawResult::Ok;
    candidates.open(QStringLiteral("select * from tab_answ where ") + CandidateFilter(kind) +
                    QStringLiteral(" (f1 <> 1) order by E3"));
    if (candidates.isEmpty()) return DrawResult::NoCandidates;
    db::Table& tx = DM1->Cn1Table_tx;
    const QString types = QStringLiteral("tab_tx") + QString::number(kind);
    if (tx.tableName() != types || !tx.isOpen()) {
        tx.setTableName(types);
        tx.open();
    }
    for (tx.first(); !tx.eof(); tx.next()) {
        if (tx.integer(QStringLiteral("B2")) > 0)
            FillPaperType(candidates, kind, table, int(tx.integer(QStringLiteral("A1"))));
    }
    candidates.setFiltered(false);
    candidates.setFilter(QString());
    return DrawResult::Ok;
}
