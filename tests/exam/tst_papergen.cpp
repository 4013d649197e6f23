// Mock paper generation: numbering and naming, the paper table, and the draws of each kind.
#include "exam/papergen.h"
#include "platform/db/connection.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "support/fakes.h"
#include "support/tempbank.h"

#include <QTest>

class TestPaperGen : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<TDM1> dm_;

    QVariant sql(const QString& s) { return dm_->ADOCn1.scalar(s); }
    int count(const QString& table, const QString& where = QStringLiteral("1=1"))
    {
        return sql(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
    }
    // Generates a paper of a kind into tab_exam1 and returns its number of rows.
    int generate(int kind)
    {
        const PaperSlot slot = NextPaperSlot();
        CreatePaper(slot, PaperName(QDate(2026, 12, 11), kind, slot.number), QDate(2026, 12, 11));
        if (DrawPaper(kind, slot.table) != DrawResult::Ok) return -1;
        return count(slot.table);
    }

private slots:
    void init()
    {
        ResetGlobals();
        bank_ = std::make_unique<TempBank>(QStringLiteral("sample.mdb"));
        dm_ = std::make_unique<TDM1>(bank_->folder());
        DM1 = dm_.get();
    }
    void cleanup()
    {
        DM1 = nullptr;
        dm_.reset();
        bank_.reset();
    }

    void numbering()
    {
        PaperSlot s = NextPaperSlot();
        QCOMPARE(s.number, 1);
        QCOMPARE(s.table, QStringLiteral("tab_exam1"));
        QCOMPARE(PaperName(QDate(2009, 3, 7), 1, 1), QStringLiteral("2009年03月07日综合知识模拟试卷[1]"));
        dm_->ADOCn1.execute(
            QStringLiteral("insert into tab_cj (A1, A3, A3_1, D1) values "
                           "('tab_exam3', 'x', 3, '2026-12-01'), ('tab_exam12 ', 'y', 12, '2026-12-02'), "
                           "('tab_exam40', 'z', 7, '2026-12-03')"));
        s = NextPaperSlot();
        QCOMPARE(s.number, 13);
        QCOMPARE(s.table, QStringLiteral("tab_exam13"));
    }

    void kindsDrawTheirPlans_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("types"); // type:count in paper order
        QTest::newRow("kind 1") << 1 << "61:30 65:40 66:20";
        QTest::newRow("kind 2") << 2 << "61:50 62:30 65:20";
        QTest::newRow("kind 3") << 3 << "61:50 62:30 65:20";
        QTest::newRow("kind 4") << 4 << "70:10";
        QTest::newRow("kind 5") << 5 << "64:6";
    }
    void kindsDrawTheirPlans()
    {
        QFETCH(int, kind);
        QFETCH(QString, types);
        ScriptedRandom random(7);
        int total = 0;
        for (const QString& t : types.split(u' '))
            total += t.section(u':', 1).toInt();
        QCOMPARE(generate(kind), total);
        QStringList got;
        for (const QString& t : types.split(u' '))
            got << t.section(u':', 0, 0) + u':' +
                       QString::number(count(QStringLiteral("tab_exam1"),
                                             QStringLiteral("A13=") + t.section(u':', 0, 0)));
        QCOMPARE(got.join(u' '), types);
        // Every question came from the kind's chapters with its explanation, none discarded.
        QCOMPARE(count(QStringLiteral("tab_exam1"), QStringLiteral("F1 = 1")), 0);
        QCOMPARE(count(QStringLiteral("tab_exam1 p, tab_exer e"),
                       QStringLiteral("p.A1 = e.A1 and (p.jx is e.jx)")),
                 total);
        QCOMPARE(sql(QStringLiteral("select A3 from tab_cj where A1='tab_exam1'")).toString(),
                 QStringLiteral("2026年12月11日") + PaperKindTitle(kind) + QStringLiteral("[1]"));
        QVERIFY(!dm_->Cn1Query_tm.filtered());
        // The paper's answer columns take empty strings, as the exam writes them.
        dm_->ADOCn1.execute(QStringLiteral("Update tab_exam1 set E2_1= ''"));
    }

    void discardedNeverDrawnLearnersOwnMayBe()
    {
        ScriptedRandom random(3);
        // Leave four case questions of part 05 eligible (one the learner's own); the rest are discarded.
        dm_->ADOCn1.execute(QStringLiteral("update tab_answ set F1 = 1 where A13 = 64"));
        dm_->ADOCn1.execute(
            QStringLiteral("update tab_answ set F1 = 0 where A1 in (select A1 from tab_answ where A13 = 64 "
                           "order by A1 limit 4)"));
        dm_->ADOCn1.execute(
            QStringLiteral("update tab_answ set F1 = 2 where A1 in (select A1 from tab_answ where A13 = 64 "
                           "order by A1 limit 1)"));
        QCOMPARE(generate(5), 4); // fewer eligible than planned: all of them
        QCOMPARE(count(QStringLiteral("tab_exam1"), QStringLiteral("F1 = 2")), 1);
    }

    void zeroCountTypeIsNotDrawn()
    {
        ScriptedRandom random(5);
        dm_->ADOCn1.execute(QStringLiteral("update tab_tx1 set B2 = 0 where A1 = 65"));
        QCOMPARE(generate(1), 50);
        QCOMPARE(count(QStringLiteral("tab_exam1"), QStringLiteral("A13 = 65")), 0);
    }

    void drawsAreUniformWithoutRepeats()
    {
        // A generator that keeps repeating itself still yields distinct rows.
        ScriptedRandom random(std::vector<int>{2, 2, 2, 1, 2, 1, 3});
        dm_->Cn1Query_tm.open(QStringLiteral("select * from tab_answ where ") + CandidateFilter(5) +
                              QStringLiteral(" (f1 <> 1) order by E3"));
        const QString condition = DrawQuestions(dm_->Cn1Query_tm, 64, 3, QStringLiteral("05"));
        QCOMPARE(condition.count(QStringLiteral("a.A1=")), 3);
        QCOMPARE(condition.count(QStringLiteral(" or ")), 2);
        QVERIFY(DrawQuestions(dm_->Cn1Query_tm, 64, 3, QStringLiteral("99")).isEmpty());
    }

    void leftoverTableIsReplacedKeepingTheNewScoreRow()
    {
        dm_->ADOCn1.execute(PaperTableDdl(QStringLiteral("tab_exam1")));
        dm_->ADOCn1.execute(QStringLiteral("insert into tab_exam1 (A1) values ('old')"));
        ScriptedRandom random(1);
        QCOMPARE(generate(5), 6);
        QCOMPARE(count(QStringLiteral("tab_exam1"), QStringLiteral("A1 = 'old'")), 0);
        QCOMPARE(count(QStringLiteral("tab_cj"), QStringLiteral("A1 = 'tab_exam1'")), 1);
    }
};

QTEST_MAIN(TestPaperGen)
#include "tst_papergen.moc"
