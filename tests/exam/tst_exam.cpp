// The exam window: taking a paper, saving answers, the clock with pause, hand-in and its three
// outcomes, time-up, marking, review and deletion of a paper below the lowest kept score.
#include "exam/papergen.h"
#include "exam/uexam.h"
#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "practice/answer.h"
#include "practice/questionpanel.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/udlg.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_udlg.h"
#include "ui_uexam.h"

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

// How the learner treats a paper position.
enum class Give { Right, Wrong, Nothing };

// A wrong answer of the same kind as the correct one: another letter, or another value.
QString wrongFor(const QString& correct, int page)
{
    if (page == PageSubjective) return correct == u"1" ? QStringLiteral("0") : QStringLiteral("1");
    if (page == PageSingle) return correct == u"A" ? QStringLiteral("B") : QStringLiteral("A");
    return correct == u"AB" ? QStringLiteral("AC") : QStringLiteral("AB");
}

} // namespace

class TestExam : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<ScriptedRandom> random_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<TFrmExam> exam_;
    QString table_;
    QStringList asked_;    // texts of the hand-in questions
    QStringList captions_; // their three button captions

    QVariant sql(const QString& s) { return dm_->ADOCn1.scalar(s); }
    int count(const QString& table, const QString& where = QStringLiteral("1=1"))
    {
        return sql(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
    }
    bool tableExists(const QString& t)
    {
        for (const QString& u : dm_->ADOCn1.userTables())
            if (u.compare(t, Qt::CaseInsensitive) == 0) return true;
        return false;
    }
    db::Recordset& paper() { return dm_->Cn1Query_exam; }

    // Generates a paper of a kind as the menu does and shows the exam window in taking mode.
    void startPaper(int kind)
    {
        PaperKind = kind;
        const PaperSlot slot = NextPaperSlot();
        const QString name = PaperName(QDate(2026, 12, 11), kind, slot.number);
        CreatePaper(slot, name, QDate(2026, 12, 11));
        table_ = slot.table;
        exam_ = std::make_unique<TFrmExam>();
        FrmExam = exam_.get();
        QVERIFY(exam_->picturesLoaded());
        exam_->SetUpExam(slot.table, name, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
        QVERIFY(exam_->OpenPaper());
        exam_->show();
        QCOMPARE(exam_->ExamMode, QStringLiteral("new"));
        QCOMPARE(exam_->currentPosition(), 1);
    }
    // Shows a position through the answer sheet, as a click on it does.
    void go(int position)
    {
        exam_->fcBG_th()->button(position)->click();
        QCOMPARE(exam_->currentPosition(), position);
    }
    // Puts an answer into the controls of the question on screen.
    void give(const QString& answer)
    {
        paper().setRecNo(exam_->currentPosition());
        const int page = AnswerPageOf(int(paper().integer(QStringLiteral("A13"))));
        exam_->ui->Panel->LoadAnswerControls(page, answer, int(paper().integer(QStringLiteral("A2_1"))));
    }
    // Answers positions by plan (others untouched) and returns the points the right ones earn.
    int answerByPlan(const std::vector<std::pair<int, Give>>& plan)
    {
        int points = 0;
        for (const auto& [pos, how] : plan) {
            go(pos);
            paper().setRecNo(pos);
            const QString correct = paper().text(QStringLiteral("A2"));
            const int type = int(paper().integer(QStringLiteral("A13")));
            if (how == Give::Right) {
                give(correct);
                points += sql(QStringLiteral("select B3 from tab_tx%1 where A1=%2").arg(PaperKind).arg(type))
                              .toInt();
            } else if (how == Give::Wrong) {
                give(wrongFor(correct, AnswerPageOf(type)));
            }
        }
        return points;
    }
    // The next hand-in question is answered with button 1 (确定), 2 (作废) or 3 (取消).
    void answerHandIn(int button, qint64 advanceWhileAsked = 0)
    {
        dialogs_->answerDialog([this, button, advanceWhileAsked](QDialog& d) {
            auto& dlg = static_cast<TFrmDlg&>(d);
            asked_ << dlg.ui->fcLabel1->text();
            captions_ << dlg.ui->fcShapeBtn1->text() + dlg.ui->fcShapeBtn2->text() +
                             dlg.ui->fcShapeBtn3->text();
            clock_->advance(advanceWhileAsked);
            return button;
        });
    }
    void setPlan(int leastMark, int examTime)
    {
        dm_->ADOCn1.execute(
            QStringLiteral("update tab_plan set LeastMark=%1, ExamTime=%2").arg(leastMark).arg(examTime));
        dm_->Cn1Table_plan.close();
    }
    QString studyTime()
    {
        return sql(QStringLiteral("select D1 from tab_rz where A1='2026-12-11'")).toString();
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        random_ = std::make_unique<ScriptedRandom>(11);
        dialogs_ = std::make_unique<ScriptedDialogs>();
        asked_.clear();
        captions_.clear();
        bank_ = std::make_unique<TempBank>(QStringLiteral("sample.mdb"));
        bank_->installPictures();
        dm_ = std::make_unique<TDM1>(bank_->folder());
        DM1 = dm_.get();
        // A fresh learner: no earlier answers in the bank, a study-log row for today, no limit.
        dm_->ADOCn1.execute(QStringLiteral("update tab_answ set E1=NULL, E2=NULL, E2_1=NULL, E3=0, E4=0"));
        dm_->ADOCn1.execute(QStringLiteral("delete from tab_rz"));
        dm_->ADOCn1.execute(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, A4, D1) values "
                                           "('2026-12-11', 0, 0, 0, 0, '', '0:00:00')"));
        setPlan(0, 0);
    }
    void cleanup()
    {
        if (exam_ && exam_->isVisible()) exam_->accept();
        exam_.reset();
        FrmExam = nullptr;
        DM1 = nullptr;
        dm_.reset();
        bank_.reset();
        dialogs_.reset();
        random_.reset();
        clock_.reset();
    }

    // One position per question; spare positions are disabled; the ends stop the navigation.
    void answerSheetPositions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("positions");
        QTest::newRow("kind 1") << 1 << 90 << 90;
        QTest::newRow("kind 2") << 2 << 100 << 100;
        QTest::newRow("kind 4") << 4 << 10 << 90;
    }
    void answerSheetPositions()
    {
        QFETCH(int, kind);
        QFETCH(int, questions);
        QFETCH(int, positions);
        startPaper(kind);
        QCOMPARE(paper().recordCount(), questions);
        QCOMPARE(exam_->fcBG_th()->buttonCount(), positions);
        QCOMPARE(exam_->GridSize, positions);
        for (int i = 1; i <= positions; ++i) {
            const SheetButton* b = exam_->fcBG_th()->button(i);
            QCOMPARE(b->isEnabled(), i <= questions);
            QCOMPARE(b->tag, i <= questions ? i : 0);
            QCOMPARE(b->state, QStringLiteral("up"));
        }
        QVERIFY(!exam_->ui->epEfTrBtn1->isEnabled());
        go(questions - 1);
        exam_->ui->epEfTrBtn2->click();
        QCOMPARE(exam_->currentPosition(), questions);
        QCOMPARE(exam_->ui->Label5->text(), QString::number(questions));
        QVERIFY(!exam_->ui->epEfTrBtn2->isEnabled());
        QVERIFY(exam_->ui->epEfTrBtn1->isEnabled());
        // Questions come by type code, then key.
        paper().setRecNo(1);
        QCOMPARE(paper().integer(QStringLiteral("A13")),
                 sql(QStringLiteral("select min(A13) from %1").arg(table_)).toLongLong());
    }

    // The type line reads name, points per question and points of the type.
    void typeLine()
    {
        startPaper(1);
        paper().setRecNo(1);
        const int type = int(paper().integer(QStringLiteral("A13")));
        const QString name = sql(QStringLiteral("select B1 from tab_tx1 where A1=%1").arg(type)).toString();
        const int b2 = sql(QStringLiteral("select B2 from tab_tx1 where A1=%1").arg(type)).toInt();
        const int b3 = sql(QStringLiteral("select B3 from tab_tx1 where A1=%1").arg(type)).toInt();
        QCOMPARE(exam_->ui->Label7->text(), name + QStringLiteral(" 每题%1分 共%2分").arg(b3).arg(b2 * b3));
        dm_->ADOCn1.execute(QStringLiteral("delete from tab_tx1 where A1=%1").arg(type));
        dm_->Cn1Table_tx.close();
        go(2);
        QVERIFY(exam_->ui->Label7->text().isEmpty());
    }

    // Leaving a question records it: the sheet, the paper row, the bank row and the statistics;
    // leaving it again unchanged counts nothing; a cleared answer is unanswered again.
    void savingAnswers()
    {
        startPaper(1);
        paper().setRecNo(5);
        const QString key = paper().text(QStringLiteral("A1"));
        const QString correct = paper().text(QStringLiteral("A2"));
        const QString wrong = wrongFor(correct, PageSingle);
        auto bank = [&](const char* c) {
            return sql(QStringLiteral("select %1 from tab_answ where A1='%2'").arg(QLatin1String(c), key));
        };
        go(5);
        give(wrong);
        go(6);
        QCOMPARE(exam_->fcBG_th()->button(5)->state, QStringLiteral("answered"));
        QCOMPARE(sql(QStringLiteral("select E2_1 from %1 where A1='%2'").arg(table_, key)).toString(), wrong);
        QCOMPARE(bank("E3").toInt(), 1);
        QCOMPARE(bank("E4").toInt(), -3); // the first answer ever, wrong
        QCOMPARE(bank("E2").toString(), wrong);
        QCOMPARE(sql(QStringLiteral("select A2 from tab_rz")).toInt(), 1);
        QCOMPARE(sql(QStringLiteral("select A3 from tab_rz")).toInt(), 1);
        go(5); // back and away without a change
        go(6);
        QCOMPARE(bank("E3").toInt(), 1);
        QCOMPARE(sql(QStringLiteral("select A2 from tab_rz")).toInt(), 1);
        go(5); // changed to the right answer: counted again, the error weight rises by one
        give(correct);
        go(6);
        QCOMPARE(bank("E3").toInt(), 2);
        QCOMPARE(bank("E4").toInt(), -2);
        QCOMPARE(sql(QStringLiteral("select A2 from tab_rz")).toInt(), 2);
        QCOMPARE(sql(QStringLiteral("select A3 from tab_rz")).toInt(), 1);
        go(5); // cleared
        give(QString());
        go(6);
        QCOMPARE(exam_->fcBG_th()->button(5)->state, QStringLiteral("up"));
        QVERIFY(
            sql(QStringLiteral("select E2_1 from %1 where A1='%2'").arg(table_, key)).toString().isEmpty());
        QCOMPARE(bank("E3").toInt(), 2);
    }

    // Hand-in "确定": the exact score, the time used, the study log, and the review that follows.
    void handInMarksThePaper()
    {
        startPaper(1);
        // One multiple-choice question whose correct answer is stored as "CA": "AC" is not it.
        int multi = 0;
        for (int i = 1; i <= paper().recordCount() && !multi; ++i) {
            paper().setRecNo(i);
            if (paper().integer(QStringLiteral("A13")) == 65) multi = i;
        }
        QVERIFY(multi > 0);
        paper().setRecNo(multi);
        dm_->ADOCn1.execute(QStringLiteral("update %1 set A2='CA' where A1='%2'")
                                .arg(table_, paper().text(QStringLiteral("A1"))));
        paper().requery();
        const int points = answerByPlan({{1, Give::Right},
                                         {2, Give::Wrong},
                                         {3, Give::Right},
                                         {multi, Give::Nothing},
                                         {multi + 1, Give::Right},
                                         {80, Give::Right},
                                         {81, Give::Wrong},
                                         {90, Give::Right}});
        go(multi);
        give(QStringLiteral("AC"));
        go(multi + 2);
        QVERIFY(points > 0);
        clock_->advance(65'000);
        exam_->KZTimeCounter1Timer();
        QCOMPARE(exam_->ui->epLb_time1->text(), QStringLiteral("0:01:05"));
        answerHandIn(1);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(asked_, QStringList{QStringLiteral("你还有82道题未做，确定要交卷吗？")});
        QCOMPARE(sql(QStringLiteral("select A6 from tab_cj where A1='%1'").arg(table_)).toDouble(),
                 double(points));
        QCOMPARE(sql(QStringLiteral("select D2 from tab_cj where A1='%1'").arg(table_)).toString(),
                 QStringLiteral("0:01:05"));
        QCOMPARE(studyTime(), QStringLiteral("00:01:05"));
        QCOMPARE(sql(QStringLiteral("select A2 from tab_rz")).toInt(), 8);
        // Review: right and wrong pictures, the score, the time, answers locked.
        QCOMPARE(exam_->ExamMode, QStringLiteral("old"));
        QCOMPARE(exam_->windowTitle(), QStringLiteral("查阅试卷"));
        QCOMPARE(exam_->PaperScore, double(points));
        QCOMPARE(exam_->ui->Lb_zfs->text(), QStringLiteral("得分：%1 分").arg(points));
        QCOMPARE(exam_->ui->epLb_time2->text(), QStringLiteral("0:01:05"));
        QCOMPARE(exam_->ui->Notebook_Time->currentWidget(), exam_->ui->TimeReview);
        QVERIFY(!exam_->ui->epEfTrBtn3->isEnabled());
        QVERIFY(exam_->ui->epEfTrBtn13->isHidden());
        QVERIFY(!exam_->ticksEnabled());
        const std::vector<std::pair<int, QString>> states{
            {1, "right"},  {2, "wrong"},  {3, "right"},  {multi, "wrong"}, {multi + 1, "right"},
            {80, "right"}, {81, "wrong"}, {90, "right"}, {50, "wrong"}};
        for (const auto& [pos, state] : states)
            QCOMPARE(exam_->fcBG_th()->button(pos)->state, state);
        // Closing a paper at or above the lowest kept score keeps it.
        exam_->ui->epEfTrBtn7->click();
        QVERIFY(!exam_->isVisible());
        QVERIFY(tableExists(table_));
    }

    // "作废" deletes the paper and logs the time only when fewer than 50 are left; "取消" goes on
    // with the clock as it was when "交卷" was pressed.
    void handInOutcomes_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("answered");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("logged");
        QTest::newRow("作废, 49 left") << 2 << 41 << true << "00:00:30";
        QTest::newRow("作废, 50 left") << 2 << 40 << true << "0:00:00";
        QTest::newRow("取消") << 3 << 40 << false << "0:00:00";
    }
    void handInOutcomes()
    {
        QFETCH(int, button);
        QFETCH(int, answered);
        QFETCH(bool, deleted);
        QFETCH(QString, logged);
        startPaper(1);
        std::vector<std::pair<int, Give>> plan;
        for (int i = 1; i <= answered; ++i)
            plan.emplace_back(i, i % 2 ? Give::Right : Give::Wrong);
        answerByPlan(plan);
        clock_->advance(30'000);
        answerHandIn(button, 20'000);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(asked_, QStringList{QStringLiteral("你还有%1道题未做，确定要交卷吗？").arg(90 - answered)});
        QCOMPARE(captions_, QStringList{QStringLiteral("确定作废取消")});
        QCOMPARE(!tableExists(table_), deleted);
        QCOMPARE(count(QStringLiteral("tab_cj"), QStringLiteral("A1='%1'").arg(table_)), deleted ? 0 : 1);
        QCOMPARE(exam_->isVisible(), !deleted);
        QCOMPARE(studyTime(), logged);
        if (!deleted) {
            // Still taking, counting from 30 s: the time in the question was not counted.
            QCOMPARE(exam_->ExamMode, QStringLiteral("new"));
            QVERIFY(exam_->KZTimeCounter1().counting());
            clock_->advance(5'000);
            exam_->KZTimeCounter1Timer();
            QCOMPARE(exam_->ui->epLb_time1->text(), QStringLiteral("0:00:35"));
        }
    }

    // A paper with nothing answered goes without a question, at hand-in and at time-up.
    void nothingAnsweredIsDeleted_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("timeUp");
        QTest::newRow("kind 1, hand-in") << 1 << false;
        QTest::newRow("kind 4, hand-in") << 4 << false;
        QTest::newRow("kind 1, time up") << 1 << true;
    }
    void nothingAnsweredIsDeleted()
    {
        QFETCH(int, kind);
        QFETCH(bool, timeUp);
        if (timeUp) setPlan(0, 60);
        startPaper(kind);
        go(3);
        if (timeUp) {
            clock_->advance(60'000);
            exam_->KZTimeCounter1Timer();
            QCOMPARE(dialogs_->messages().size(), size_t(1));
            QCOMPARE(dialogs_->messages().front().text, QStringLiteral("很遗憾，考试时间到了！"));
        } else {
            exam_->ui->epEfTrBtn3->click();
        }
        QVERIFY(asked_.isEmpty());
        QVERIFY(dialogs_->dialogTitles().isEmpty());
        QVERIFY(!tableExists(table_));
        QCOMPARE(count(QStringLiteral("tab_cj"), QStringLiteral("A1='%1'").arg(table_)), 0);
        QVERIFY(!exam_->isVisible());
    }

    // Paused time is not counted; pausing locks the answers and covers the question.
    void pauseExcludesTime()
    {
        startPaper(1);
        answerByPlan({{1, Give::Right}});
        go(2);
        clock_->advance(10'000);
        exam_->ui->epEfTrBtn13->click();
        QCOMPARE(exam_->ui->epEfTrBtn13->text(), QStringLiteral("继续考试"));
        QVERIFY(!exam_->ticksEnabled());
        QVERIFY(exam_->suiPanel1()->isVisible());
        QVERIFY(exam_->epRunPanel1()->running());
        for (QWidget* w :
             {static_cast<QWidget*>(exam_->ui->epEfTrBtn3), static_cast<QWidget*>(exam_->ui->epEfTrBtn5),
              static_cast<QWidget*>(exam_->ui->epEfTrBtn7), static_cast<QWidget*>(exam_->ui->epEfTrBtn1),
              static_cast<QWidget*>(exam_->ui->epEfTrBtn2), static_cast<QWidget*>(exam_->fcBG_th())})
            QVERIFY(!w->isEnabled());
        clock_->advance(600'000);
        QCOMPARE(exam_->KZTimeCounter1().text(), QStringLiteral("0:00:10"));
        exam_->ui->epEfTrBtn13->click();
        QCOMPARE(exam_->ui->epEfTrBtn13->text(), QStringLiteral("暂停考试"));
        QVERIFY(exam_->ticksEnabled());
        QVERIFY(!exam_->suiPanel1()->isVisible());
        QVERIFY(exam_->ui->epEfTrBtn1->isEnabled());
        QVERIFY(exam_->ui->epEfTrBtn2->isEnabled());
        clock_->advance(5'000);
        answerHandIn(1);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(sql(QStringLiteral("select D2 from tab_cj where A1='%1'").arg(table_)).toString(),
                 QStringLiteral("0:00:15"));
    }

    // Time-up at ExamTime (reached or passed) marks the paper; 0 is no limit.
    void timeUpMarks_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<bool>("up");
        QTest::newRow("reached") << 90 << 90 << true;
        QTest::newRow("stepped over") << 90 << 92 << true;
        QTest::newRow("one second short") << 90 << 89 << false;
        QTest::newRow("no limit") << 0 << 100000 << false;
    }
    void timeUpMarks()
    {
        QFETCH(int, limit);
        QFETCH(int, elapsed);
        QFETCH(bool, up);
        setPlan(0, limit);
        startPaper(1);
        const int points = answerByPlan({{1, Give::Right}, {2, Give::Wrong}});
        give(paper().text(QStringLiteral("A2"))); // the question on screen is saved at time-up
        clock_->advance(qint64(elapsed) * 1000);
        exam_->KZTimeCounter1Timer();
        QCOMPARE(exam_->ExamMode, up ? QStringLiteral("old") : QStringLiteral("new"));
        QCOMPARE(int(dialogs_->messages().size()), up ? 1 : 0);
        if (!up) return;
        paper().setRecNo(2);
        const int second = sql(QStringLiteral("select B3 from tab_tx1 where A1=%1")
                                   .arg(paper().integer(QStringLiteral("A13"))))
                               .toInt();
        QCOMPARE(sql(QStringLiteral("select A6 from tab_cj where A1='%1'").arg(table_)).toDouble(),
                 double(points + second));
        QCOMPARE(sql(QStringLiteral("select D2 from tab_cj where A1='%1'").arg(table_)).toString(),
                 ClockText(elapsed));
    }

    // Below the lowest kept score the paper goes when its review closes; at it, it stays.
    void belowLeastMark_data()
    {
        QTest::addColumn<int>("above");
        QTest::addColumn<bool>("kept");
        QTest::newRow("least mark one above the score") << 1 << false;
        QTest::newRow("least mark equal to the score") << 0 << true;
    }
    void belowLeastMark()
    {
        QFETCH(int, above);
        QFETCH(bool, kept);
        startPaper(1);
        const int points =
            answerByPlan({{1, Give::Right}, {31, Give::Right}, {71, Give::Right}, {4, Give::Wrong}});
        setPlan(points + above, 0);
        answerHandIn(1);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(exam_->ExamMode, QStringLiteral("old"));
        QCOMPARE(exam_->BelowLeast, !kept);
        QVERIFY(tableExists(table_));
        exam_->ui->epEfTrBtn7->click();
        QCOMPARE(tableExists(table_), kept);
        QCOMPARE(count(QStringLiteral("tab_cj"), QStringLiteral("A1='%1'").arg(table_)), kept ? 1 : 0);
    }

    // A marking failure brings the window back in taking mode with its answers and its clock.
    void markingFailureResumesTaking()
    {
        startPaper(1);
        const int points = answerByPlan({{1, Give::Right}, {2, Give::Wrong}, {3, Give::Right}});
        go(4);
        clock_->advance(42'000);
        PaperKind = 9; // no type table of this kind: the score statement fails
        answerHandIn(1);
        QStringList errors;
        dialogs_->answerDialog([&errors](QDialog& d) {
            errors << static_cast<TFrmDlg&>(d).ui->fcLabel1->text();
            return 3;
        });
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(errors, QStringList{QStringLiteral("发生错误！")});
        QCOMPARE(exam_->ExamMode, QStringLiteral("new"));
        QVERIFY(exam_->isVisible());
        QCOMPARE(exam_->windowOpacity(), 1.0);
        QVERIFY(exam_->ticksEnabled());
        QVERIFY(exam_->KZTimeCounter1().counting());
        QVERIFY(exam_->ui->epEfTrBtn3->isEnabled());
        QCOMPARE(count(table_, QStringLiteral("E2_1 <> ''")), 3);
        QCOMPARE(exam_->fcBG_th()->button(2)->state, QStringLiteral("answered"));
        QCOMPARE(exam_->fcBG_th()->button(4)->state, QStringLiteral("up"));
        QVERIFY(sql(QStringLiteral("select A6 from tab_cj where A1='%1'").arg(table_)).isNull());
        clock_->advance(3'000);
        PaperKind = 1;
        answerHandIn(1);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(exam_->ExamMode, QStringLiteral("old"));
        QCOMPARE(sql(QStringLiteral("select A6 from tab_cj where A1='%1'").arg(table_)).toDouble(),
                 double(points));
        QCOMPARE(sql(QStringLiteral("select D2 from tab_cj where A1='%1'").arg(table_)).toString(),
                 QStringLiteral("0:00:45"));
    }

    // Review: discarding and undoing in paper and bank, revealing the answer, the discard notice.
    void reviewActions()
    {
        startPaper(1);
        answerByPlan({{1, Give::Wrong}});
        answerHandIn(1);
        exam_->ui->epEfTrBtn3->click();
        QCOMPARE(exam_->ExamMode, QStringLiteral("old"));
        QVERIFY(!exam_->ui->Panel->findChild<QWidget*>(QStringLiteral("Notebook1"))->isEnabled());
        go(2);
        paper().setRecNo(2);
        const QString key = paper().text(QStringLiteral("A1"));
        auto val = [&](const QString& t, const char* c) {
            return sql(QStringLiteral("select %1 from %2 where A1='%3'").arg(QLatin1String(c), t, key))
                .toString();
        };
        QVERIFY(exam_->ui->epEfTrBtn12->isEnabled());
        exam_->ui->epEfTrBtn12->click();
        QCOMPARE(exam_->ui->Label1->text(), QStringLiteral("本题已被您作废！"));
        QCOMPARE(exam_->ui->epEfTrBtn12->text(), QStringLiteral("取消作废"));
        QCOMPARE(val(table_, "F1"), QStringLiteral("1"));
        QCOMPARE(val(QStringLiteral("tab_answ"), "F1"), QStringLiteral("1"));
        QCOMPARE(val(QStringLiteral("tab_answ"), "E2"), QStringLiteral("zero"));
        go(3);
        go(2); // shown again: the notice comes from the paper row
        QCOMPARE(exam_->ui->Label1->text(), QStringLiteral("本题已被您作废！"));
        exam_->ui->epEfTrBtn12->click();
        QCOMPARE(exam_->ui->Label1->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
        QCOMPARE(val(table_, "F1"), QStringLiteral("0"));
        QVERIFY(val(table_, "E2").isEmpty());
        QCOMPARE(val(QStringLiteral("tab_answ"), "F1"), QStringLiteral("0"));
        QCOMPARE(val(QStringLiteral("tab_answ"), "E2"), QStringLiteral("zero"));
        // "答案" opens the reveal panel with the correct answer; another question shuts it.
        QVERIFY(exam_->ui->epEfTrBtn6->isEnabled());
        exam_->ui->epEfTrBtn6->click();
        QCOMPARE(exam_->ui->epEfTrBtn6->text(), QStringLiteral("返回"));
        QVERIFY(exam_->ui->Panel->answerPanelOpen());
        go(3);
        QCOMPARE(exam_->ui->epEfTrBtn6->text(), QStringLiteral("答案"));
        QVERIFY(!exam_->ui->Panel->answerPanelOpen());
    }

    // Taking mode: review-only buttons are off; the window reads "正在答卷" and counts.
    void takingModeSetUp()
    {
        startPaper(1);
        QCOMPARE(exam_->windowTitle(), QStringLiteral("正在答卷"));
        QCOMPARE(exam_->ui->epLabel2->text(),
                 sql(QStringLiteral("select A3 from tab_cj where A1='%1'").arg(table_)).toString());
        for (QPushButton* b : {exam_->ui->epEfTrBtn4, exam_->ui->epEfTrBtn6, exam_->ui->epEfTrBtn9,
                               exam_->ui->epEfTrBtn10, exam_->ui->epEfTrBtn12})
            QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
        QVERIFY(exam_->ui->epEfTrBtn5->isEnabled());
        QVERIFY(exam_->ticksEnabled());
        QCOMPARE(exam_->ui->Notebook_Time->currentWidget(), exam_->ui->TimeTaking);
        QVERIFY(count(table_, QStringLiteral("E2_1 <> ''")) == 0);
    }
};

QTEST_MAIN(TestExam)
#include "tst_exam.moc"
