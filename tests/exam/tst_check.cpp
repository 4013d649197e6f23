// Score records: totals and pass mark, the tip line, deleting papers, reviewing one.
#include "exam/papergen.h"
#include "exam/ucheck.h"
#include "exam/uexam.h"
#include "platform/db/connection.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "support/fakes.h"
#include "support/menuwindow.h"
#include "support/tempbank.h"
#include "ui_ucheck.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

class TestCheck : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;

    void exec(const QString& s, const db::Params& p = {}) { DM1->ADOCn1.execute(s, p); }
    int scalar(const QString& s) { return DM1->ADOCn1.scalar(s).toInt(); }
    // Full marks: 30 x 1 + 40 x 2 + extra.
    void setFullMarks(int extra)
    {
        exec(QStringLiteral("delete * from tab_tx1"));
        exec(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (61, 'a', 30, 1, 1), "
                            "(65, 'b', 40, 2, 1), (66, 'c', :n, 1, 1)"),
             {{"n", extra}});
        DM1->Cn1Table_tx.close();
    }
    void addPaper(int n, const QVariant& score, bool withTable = true)
    {
        const QString table = QStringLiteral("tab_exam%1").arg(n);
        exec(QStringLiteral(
                 "insert into tab_cj (A1, A3, A3_1, D1, A6, D2) values (:a, :n, :k, '2026-12-11', :s, :d)"),
             {{"a", table},
              {"n", PaperName(QDate(2026, 12, 11), 1, n)},
              {"k", n},
              {"s", score},
              {"d", score.isNull() ? QVariant() : QVariant(QStringLiteral("1:02:03"))}});
        if (withTable) exec(PaperTableDdl(table));
    }
    // Opens the records from the menu; act() works on the open window.
    void run(const std::function<void(TFrmCheck&)>& act)
    {
        RunMenuWindow<TFrmCheck>(*dialogs_, QStringLiteral("cj"), "SpeedButton3", act);
        QVERIFY(FrmCheck == nullptr);
    }
    static QString board(TFrmCheck& w)
    {
        return QStringLiteral("%1|%2|%3")
            .arg(w.ui->epNumPanel1->intValue())
            .arg(w.ui->epNumPanel2->intValue())
            .arg(w.ui->epNumPanel3->intValue());
    }

private slots:
    void init()
    {
        ResetGlobals();
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
        exec(QStringLiteral("update tab_plan set LeastMark = 60"));
        DM1->Cn1Table_plan.close();
        setFullMarks(0);
    }
    void cleanup()
    {
        StopProgram();
        dialogs_.reset();
        bank_.reset();
    }

    void totals_data()
    {
        QTest::addColumn<int>("extra");
        QTest::addColumn<QVariantList>("scores");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pass mark 66") << 0 << QVariantList{66, 70, 65.5} << "3|2|67";
        QTest::newRow("pass mark 63") << -2 << QVariantList{63, 62.9} << "2|1|63";
        QTest::newRow("half goes to even") << 0 << QVariantList{80, 81, QVariant()} << "3|2|80";
        QTest::newRow("empty") << 0 << QVariantList{} << "0|0|0";
    }
    void totals()
    {
        QFETCH(int, extra);
        QFETCH(QVariantList, scores);
        QFETCH(QString, expected);
        setFullMarks(extra);
        for (int i = 0; i < scores.size(); ++i)
            addPaper(i + 1, scores[i]);
        QString got, tip, first;
        bool reviewEnabled = false;
        run([&](TFrmCheck& w) {
            got = board(w);
            tip = w.ui->Lbtip->text();
            reviewEnabled = w.ui->SpeedButton2->isEnabled();
            first = w.ui->DBGrid1->model()->rowCount() ? w.ui->DBGrid1->model()->index(0, 0).data().toString()
                                                       : QString();
            w.epEfTrBtn1Click(); // reviewing an empty list does nothing
        });
        QCOMPARE(got, expected);
        QCOMPARE(tip, QStringLiteral("[提示]：成绩少于 60 分的试卷，不被保留。"));
        QCOMPARE(reviewEnabled, !scores.isEmpty());
        if (!scores.isEmpty()) // newest first
            QCOMPARE(first, PaperName(QDate(2026, 12, 11), 1, int(scores.size())));
        else
            QVERIFY(dialogs_->dialogTitles().size() == 1);
    }

    void deleting_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("withTable");
        QTest::newRow("cancel") << false << true;
        QTest::newRow("ok") << true << true;
        QTest::newRow("ok, table already gone") << true << false;
    }
    void deleting()
    {
        QFETCH(bool, confirm);
        QFETCH(bool, withTable);
        addPaper(1, 75);
        addPaper(2, 80, withTable);
        dialogs_->answerMessage(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        run([](TFrmCheck& w) { w.SpeedButton4Click(); }); // the newest paper is selected
        QCOMPARE(dialogs_->messages().size(), size_t(1));
        QCOMPARE(dialogs_->messages()[0].text, QStringLiteral("即将删除试卷，要继续么？"));
        QCOMPARE(scalar(QStringLiteral("select count(*) from tab_cj where A1='tab_exam2'")), confirm ? 0 : 1);
        QCOMPARE(DM1->ADOCn1.tableExists(QStringLiteral("tab_exam2")), withTable && !confirm);
        QCOMPARE(scalar(QStringLiteral("select count(*) from tab_cj where A1='tab_exam1'")), 1);
    }

    void reviewing()
    {
        bank_->installPictures();
        addPaper(1, 75);
        exec(QStringLiteral("insert into tab_exam1 (A1, A2, A2_1, A10, A13, E2_1) values "
                            "('310101610001', 'B', 4, '310101', 61, 'B')"));
        exec(QStringLiteral("insert into tab_exer (A1, A15) values ('310101610001', :t)"),
             {{"t", QByteArray("{\\rtf1 question}")}});
        exec(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (64, 'x', 0, 1, 1)"));
        QString seen;
        bool shownAgain = false;
        run([&](TFrmCheck& w) {
            dialogs_->answerDialog([&](QDialog& d) {
                auto* found = qobject_cast<TFrmExam*>(&d);
                if (!found) return 0;
                auto& exam = *found;
                seen = QStringList{exam.ExamMode, exam.PaperTable, exam.UsedTime,
                                   QString::number(exam.PaperScore)}
                           .join(u'|');
                exam.findChild<QPushButton*>(QStringLiteral("epEfTrBtn7"))->click();
                return exam.result();
            });
            w.ui->SpeedButton2->click();
            shownAgain = w.isVisible();
        });
        QCOMPARE(seen, QStringLiteral("old|tab_exam1|1:02:03|75"));
        QVERIFY(shownAgain);
        QVERIFY(DM1->ADOCn1.tableExists(QStringLiteral("tab_exam1"))); // kept: 75 is not below 60
        QCOMPARE(scalar(QStringLiteral("select count(*) from tab_cj")), 1);
    }
};

QTEST_MAIN(TestCheck)
#include "tst_check.moc"
