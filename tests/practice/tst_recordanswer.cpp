// Saving practice answers: the learning record, counting once per opening, feedback by mode.
#include "platform/db/connection.h"
#include "practice/answer.h"
#include "practice/questionpanel.h"
#include "practice/recordanswer.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/udlg.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_udlg.h"

#include <QPushButton>
#include <QTest>

class TestRecordAnswer : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<QuestionPanel> panel_;
    std::vector<std::tuple<int, bool, CellState>> cells_;
    AnswerFeedback fb_;

    // Answers question q01 (single choice, correct "B") with a letter, in a mode.
    void answer(const QString& letter, int mode = RecordNavigate, int rec = 1)
    {
        panel_->setPage(PageSingle);
        panel_->LoadAnswerControls(PageSingle, letter, 4);
        RecordAnswer(dm_->Cn1Query_tm, *panel_, rec, PageSingle, mode, 1, 3, fb_);
    }
    QVariant col(const char* c, const char* key = "q01")
    {
        return dm_->ADOCn1.scalar(QStringLiteral("select %1 from tab_answ where A1='%2'")
                                      .arg(QLatin1String(c), QLatin1String(key)));
    }
    int rz(const char* c)
    {
        return dm_->ADOCn1.scalar(QStringLiteral("select %1 from tab_rz").arg(QLatin1String(c))).toInt();
    }
    int law(const char* table, const char* id, const char* c)
    {
        return dm_->ADOCn1
            .scalar(QStringLiteral("select %1 from %2 where %3='%4'")
                        .arg(QLatin1String(c), QLatin1String(table),
                             QLatin1String(qstrcmp(table, "tab_rule") == 0 ? "ftid" : "id"),
                             QLatin1String(id)))
            .toInt();
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        dm_ = std::make_unique<TDM1>(bank_->folder());
        DM1 = dm_.get();
        auto& cn = dm_->ADOCn1;
        cn.execute(QStringLiteral(
            "insert into tab_kmmc (bh, C1, C2, C3, C4, D1, D2) values "
            "(1, '3', 'S', 3, 0, 0, 0), (2, '31', 'P', 3, 0, 0, 0), (3, '3101', 'X', 3, 0, 0, 0), "
            "(4, '310101', 'C', 3, 0, 0, 0)"));
        cn.execute(
            QStringLiteral("insert into tab_fgmc (id, n, q, q1, q2, q4) values ('01', 'L', 0, 0, 0, 0), "
                           "('010101', 'K', 0, 0, 0, 0), ('010102', 'K2', 0, 0, 0, 0)"));
        cn.execute(QStringLiteral(
            "insert into tab_rule (id, ftid, sn, q, q1, q2, q4) values "
            "('010101', '010101003', 'a', 0, 0, 0, 0), ('010102', '010102001', 'b', 0, 0, 0, 0)"));
        cn.execute(
            QStringLiteral("insert into tab_answ (A1, A2, A2_1, K3, K4, A10, A13, E3, E4, F1, E2, E1) values "
                           "('q01', 'B', 4, '010101003', '010102001', '310101', 61, 0, 0, 0, NULL, NULL), "
                           "('q02', 'B', 4, NULL, '010101003', '310101', 61, 0, 0, 0, 'zero', '2026-12-01'), "
                           "('q03', '1', 1, NULL, NULL, '310101', 71, 0, 0, 0, NULL, NULL)"));
        dm_->Cn1Query_tm.open(QStringLiteral("select * from tab_answ order by A1"));
        panel_ = std::make_unique<QuestionPanel>();
        cells_.clear();
        fb_ = AnswerFeedback{};
        fb_.setCellPicture = [this](int cell, bool pressed, CellState s) {
            cells_.emplace_back(cell, pressed, s);
        };
    }
    void cleanup()
    {
        panel_.reset();
        DM1 = nullptr;
        dm_.reset();
        bank_.reset();
        clock_.reset();
    }

    void wrongQuestionCounter_data()
    {
        QTest::addColumn<QStringList>("answers"); // one per opening of the form
        QTest::addColumn<int>("e4");
        QTest::addColumn<int>("e3");
        QTest::newRow("first right") << QStringList{"B"} << 0 << 1;
        QTest::newRow("first wrong") << QStringList{"A"} << -3 << 1;
        QTest::newRow("first right then wrong") << QStringList{"B", "C"} << -1 << 2;
        QTest::newRow("wrong then three right") << QStringList{"A", "B", "B", "B"} << 0 << 4;
        QTest::newRow("wrong, right, wrong") << QStringList{"A", "B", "D"} << -3 << 3;
        QTest::newRow("right stays at zero") << QStringList{"B", "B"} << 0 << 2;
    }
    void wrongQuestionCounter()
    {
        QFETCH(QStringList, answers);
        QFETCH(int, e4);
        QFETCH(int, e3);
        for (const QString& a : answers) {
            dm_->Cn1Query_tm.execSql(QStringLiteral("Update tab_answ set E2_1= ''")); // a new opening
            dm_->Cn1Query_tm.open(QStringLiteral("select * from tab_answ order by A1"));
            answer(a);
        }
        QCOMPARE(col("E4").toInt(), e4);
        QCOMPARE(col("E3").toInt(), e3);
        QCOMPARE(col("E2").toString(), answers.last());
        QCOMPARE(col("E1").toString(), QStringLiteral("2026-12-11"));
    }

    void countedOncePerOpening()
    {
        answer(QStringLiteral("A"), RecordCheck);
        answer(QStringLiteral("A"), RecordCheck); // the same answer again: not counted
        QCOMPARE(col("E3").toInt(), 1);
        QCOMPARE(rz("A2"), 1);
        QCOMPARE(law("tab_rule", "010101003", "q2"), 1);
        clock_->advance(3600 * 1000);
        answer(QStringLiteral("B")); // changed: counted again, no longer first ever or first today
        QCOMPARE(col("E3").toInt(), 2);
        QCOMPARE(col("E4").toInt(), -2);
        QCOMPARE(rz("A2"), 2);
        QCOMPARE(rz("A3"), 1);
        QCOMPARE(rz("B1"), 1);
        QCOMPARE(rz("B2"), 0);
        const auto c = [&](const char* code, const char* column) {
            return dm_->ADOCn1
                .scalar(QStringLiteral("select %1 from tab_kmmc where C1='%2'")
                            .arg(QLatin1String(column), QLatin1String(code)))
                .toInt();
        };
        for (const char* code : {"310101", "3101", "31", "3"}) {
            QCOMPARE(c(code, "C4"), 1);
            QCOMPARE(c(code, "D1"), 2);
            QCOMPARE(c(code, "D2"), 1);
        }
        // Article, key points and heading: every statement counts each row once.
        QCOMPARE(law("tab_rule", "010102001", "q2"), 2);
        QCOMPARE(law("tab_fgmc", "01", "q2"), 2);
        QCOMPARE(law("tab_fgmc", "01", "q1"), 1);
        QCOMPARE(law("tab_fgmc", "010101", "q4"), 1);
    }

    void discardedQuestionIsPreviouslyWrongNotFirstEver()
    {
        answer(QStringLiteral("B"), RecordNavigate, 2);
        QCOMPARE(col("E4", "q02").toInt(), 0); // right with E4 0: unchanged
        QCOMPARE(rz("B1"), 1);
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select C4 from tab_kmmc where C1='310101'")).toInt(), 0);
        // K3 is empty, so K4 is never read: no law statistics.
        QCOMPARE(law("tab_rule", "010101003", "q2"), 0);
    }

    void emptyAnswers()
    {
        answer(QStringLiteral("A"));
        ScriptedDialogs dialogs;
        QStringList shown;
        dialogs.answerDialog([&](QDialog& d) {
            shown << static_cast<TFrmDlg&>(d).ui->fcLabel1->text();
            return 3;
        });
        answer(QString(), RecordCheck);
        QCOMPARE(shown, QStringList{QStringLiteral("请先做出答案！")});
        QCOMPARE(col("E2_1").toString(), QString());
        QCOMPARE(col("E2").toString(), QStringLiteral("A"));
        QCOMPARE(col("E3").toInt(), 1);
        cells_.clear();
        answer(QString(), RecordNavigate);
        QCOMPARE(cells_.size(), size_t(1));
        QCOMPARE(std::get<2>(cells_[0]), CellUnanswered);
        QCOMPARE(rz("A2"), 1);
    }

    void feedbackByMode()
    {
        QPushButton jx, kd, rev;
        fb_.explanation = &jx;
        fb_.lawPoints = &kd;
        fb_.reveal = &rev;
        jx.setEnabled(false);
        kd.setEnabled(false);
        rev.setEnabled(false);
        fb_.hasExplanation = true;
        answer(QStringLiteral("A"), RecordCheck);
        QCOMPARE(cells_.size(), size_t(1));
        QCOMPARE(cells_[0], std::make_tuple(1, true, CellWrong));
        QVERIFY(jx.isEnabled() && kd.isEnabled() && rev.isEnabled());
        cells_.clear();
        answer(QStringLiteral("B"), RecordNavigate);
        QCOMPARE(cells_[0], std::make_tuple(1, false, CellRight));
        cells_.clear();
        answer(QStringLiteral("C"), RecordSilent);
        QVERIFY(cells_.empty());
        QCOMPARE(col("E2").toString(), QStringLiteral("C"));
        // An essay type never reveals its answer.
        panel_->setPage(PageSubjective);
        panel_->LoadAnswerControls(PageSubjective, QStringLiteral("1"), 1);
        RecordAnswer(dm_->Cn1Query_tm, *panel_, 3, PageSubjective, RecordCheck, 1, 3, fb_);
        QVERIFY(!rev.isEnabled());
        QVERIFY(!kd.isEnabled());
        QCOMPARE(cells_.back(), std::make_tuple(3, true, CellRight));
        // Nothing happens for record 0.
        cells_.clear();
        RecordAnswer(dm_->Cn1Query_tm, *panel_, 0, PageSingle, RecordCheck, 1, 3, fb_);
        QVERIFY(cells_.empty());
    }

    void lawLists()
    {
        dm_->Cn1Query_tm.setRecNo(1);
        const LawLists l = BuildLawLists(dm_->Cn1Query_tm);
        QCOMPARE(l.articles, QStringLiteral("('010101003','010102001')"));
        QCOMPARE(l.keyPoints, QStringLiteral("('010101','010102')"));
        QCOMPARE(l.headings, QStringLiteral("('01','01')"));
        dm_->Cn1Query_tm.setRecNo(2);
        QVERIFY(BuildLawLists(dm_->Cn1Query_tm).articles.isEmpty());
    }
};

QTEST_MAIN(TestRecordAnswer)
#include "tst_recordanswer.moc"
