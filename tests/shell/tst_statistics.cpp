// The statistics kept at every saved answer: study log, chapter rows, study time, law counts.
#include "platform/system/clock.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "support/fakes.h"
#include "support/tempbank.h"

#include <QTest>

class TestStatistics : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<FakeClock> clock_;

    QVariant rz(const char* column)
    {
        return dm_->ADOCn1.scalar(
            QStringLiteral("select %1 from tab_rz where A1 = '2026-12-11'").arg(QLatin1String(column)));
    }
    QString kmmc(const char* code, const char* column)
    {
        return dm_->ADOCn1
            .scalar(QStringLiteral("select %1 from tab_kmmc where C1 = '%2'")
                        .arg(QLatin1String(column), QLatin1String(code)))
            .toString();
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        dm_ = std::make_unique<TDM1>(bank_->folder());
        QVERIFY(dm_->ConnectOk);
        DM1 = dm_.get();
        // A small tree: subject 3, part 30, section 3001, chapters 300101 and 300102; part 04 without
        // subject.
        const char* rows[][3] = {
            {"1", "3", "法律法规"},         {"2", "30", "安全生产法"},      {"3", "3001", "总则"},
            {"4", "300101", "第一章 总则"}, {"5", "300102", "第二章 保障"}, {"6", "04", "管理"},
            {"7", "0401", "制度"},          {"8", "040101", "第一章 责任"}, {"9", "xx", "说明"}};
        for (const auto& r : rows)
            dm_->ADOCn1.execute(
                QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, D1, D2, C6, C7) "
                               "values (:bh, :c1, :t, :n, 0, 0, 0, 0, '0', '0')"),
                {{"bh", QString::fromLatin1(r[0]).toInt()},
                 {"c1", QString::fromLatin1(r[1])},
                 {"t", QString::fromUtf8(r[2]) + QStringLiteral("（练习）")},
                 {"n", QString::fromUtf8(r[2])}});
    }
    void cleanup()
    {
        DM1 = nullptr;
        dm_.reset();
        bank_.reset();
        clock_.reset();
    }

    void firstAnswerOfTheDay_data()
    {
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("a3");
        QTest::newRow("right") << 1 << 0;
        QTest::newRow("wrong") << 2 << 1;
    }
    void firstAnswerOfTheDay()
    {
        QFETCH(int, wrong);
        QFETCH(int, a3);
        dm_->LogAnswer(2, wrong, 2);
        QCOMPARE(rz("A2").toInt(), 1);
        QCOMPARE(rz("B1").toInt(), 1);
        QCOMPARE(rz("A3").toInt(), a3);
        QCOMPARE(rz("B2").toInt(), a3);
        QCOMPARE(rz("A3").isNull(), wrong == 1); // other columns stay missing
        QVERIFY(rz("D1").isNull());
    }

    void wrongThenRightOnOneDay()
    {
        dm_->LogAnswer(2, 2, 2); // first answer today, wrong
        dm_->LogAnswer(1, 1, 2); // same question again, now right; it was wrong before
        QCOMPARE(rz("A2").toInt(), 2);
        QCOMPARE(rz("A3").toInt(), 1);
        QCOMPARE(rz("B1").toInt(), 1);
        QCOMPARE(rz("B2").toInt(), 0);
        dm_->LogAnswer(1, 2, 1); // right before, wrong now
        QCOMPARE(rz("B2").toInt(), 1);
        // Another day gets its own row.
        clock_->set(QDateTime(QDate(2026, 12, 12), QTime(8, 0)));
        dm_->LogAnswer(2, 1, 1);
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select count(*) from tab_rz")).toInt(), 2);
    }

    void chapterPrefixWalk()
    {
        dm_->CountChapterAnswer(QStringLiteral("300101"), 2, 2);
        dm_->CountChapterAnswer(QStringLiteral("300101"), 1, 1);
        for (const char* code : {"300101", "3001", "30", "3"}) {
            QCOMPARE(kmmc(code, "C4"), QStringLiteral("1"));
            QCOMPARE(kmmc(code, "D1"), QStringLiteral("2"));
            QCOMPARE(kmmc(code, "D2"), QStringLiteral("1"));
        }
        for (const char* code : {"300102", "04", "0401", "040101", "xx"})
            QCOMPARE(kmmc(code, "D1"), QStringLiteral("0"));
        // A code whose subject row is missing counts into the rows that exist.
        dm_->CountChapterAnswer(QStringLiteral("040101"), 2, 1);
        for (const char* code : {"040101", "0401", "04"})
            QCOMPARE(kmmc(code, "D1"), QStringLiteral("1"));
    }

    void studyTimeSums_data()
    {
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("expected");
        QTest::newRow("minutes carry") << "01:20:40"
                                       << "0:45:30"
                                       << "02:06:10";
        QTest::newRow("hours pass 99") << "00:00:02"
                                       << "99:59:59"
                                       << "100:00:01";
        QTest::newRow("nothing logged") << ""
                                        << "0:00:09"
                                        << "00:00:09";
    }
    void studyTimeSums()
    {
        QFETCH(QString, logged);
        QFETCH(QString, added);
        QFETCH(QString, expected);
        dm_->ADOCn1.execute(
            QStringLiteral("insert into tab_rz (A1, A2, A3, D1) values ('2026-12-11', 4, 1, :d)"),
            {{"d", logged.isEmpty() ? QVariant() : QVariant(logged)}});
        dm_->AddStudyTime(added);
        QCOMPARE(rz("D1").toString(), expected);
        QCOMPARE(rz("A4").toString(), QStringLiteral("75.00"));
    }

    void studyTimeWithoutALogRowOnlyScoresChapters()
    {
        dm_->ADOCn1.execute(QStringLiteral("update tab_kmmc set D1 = 3, D2 = 1 where C1 = '300101'"));
        dm_->ADOCn1.execute(QStringLiteral("update tab_kmmc set D1 = 4, D2 = 4 where C1 = '30'"));
        dm_->AddStudyTime(QStringLiteral("0:10:00"));
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select count(*) from tab_rz")).toInt(), 0);
        QCOMPARE(kmmc("300101", "C6"), QStringLiteral("66.67"));
        QCOMPARE(kmmc("30", "C6"), QStringLiteral("0.00"));
        QCOMPARE(kmmc("300102", "C6"), QStringLiteral("0"));
    }

    void chapterTitleFollowsTheCurrentRow()
    {
        dm_->Cn1Table_kmmc.openIfClosed();
        QCOMPARE(CurrentChapterTitle, QStringLiteral("法律法规（练习）"));
        QVERIFY(dm_->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("300102")));
        QCOMPARE(CurrentChapterTitle, QStringLiteral("第二章 保障（练习）"));
    }

    void lawCounts()
    {
        dm_->ADOCn1.execute(
            QStringLiteral("insert into tab_fgmc (id, n, q, q1, q2, q4) values ('01', '法', 0, 0, 0, 0)"));
        dm_->ADOCn1.execute(
            QStringLiteral("insert into tab_fgmc (id, n, q, q1, q2, q4) values ('0101', 'x', 0, 0, 0, 0)"));
        dm_->ADOCn1.execute(QStringLiteral(
            "insert into tab_fgmc (id, n, q, q1, q2, q4) values ('010101', '要点', 0, 0, 0, 0)"));
        for (const char* f : {"010101001", "010101002"})
            dm_->ADOCn1.execute(QStringLiteral("insert into tab_rule (id, ftid, sn, q, q1, q2, q4) values "
                                               "('010101', :f, '条', 0, 0, 0, 0)"),
                                {{"f", QString::fromLatin1(f)}});
        const QStringList articles{QStringLiteral("010101001"), QStringLiteral("010101002")};
        const QString keyPoints = TDM1::CodeList({QStringLiteral("010101"), QStringLiteral("010101")});
        const QString headings = TDM1::CodeList({QStringLiteral("01"), QStringLiteral("01")});
        dm_->CountLawAnswer(TDM1::CodeList(articles), keyPoints, headings, 2, 2);
        dm_->CountLawAnswer(TDM1::CodeList(articles), keyPoints, headings, 1, 1);
        auto fg = [&](const char* id, const char* col) {
            return dm_->ADOCn1
                .scalar(QStringLiteral("select %1 from tab_fgmc where id='%2'")
                            .arg(QLatin1String(col), QLatin1String(id)))
                .toInt();
        };
        QCOMPARE(fg("010101", "q2"), 2); // once per statement, not once per list entry
        QCOMPARE(fg("01", "q2"), 2);
        QCOMPARE(fg("01", "q1"), 1);
        QCOMPARE(fg("01", "q4"), 1);
        QCOMPARE(fg("0101", "q2"), 0);
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select sum(q2) from tab_rule")).toInt(), 4);
        QCOMPARE(TDM1::CodeList({QStringLiteral("a'b")}), QStringLiteral("('a''b')"));
    }
};

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
