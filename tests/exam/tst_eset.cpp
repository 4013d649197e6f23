// Exam settings: lowest kept score against full marks, the time allowed, defaults and saving.
#include "exam/ueset.h"
#include "platform/db/connection.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "support/fakes.h"
#include "support/menuwindow.h"
#include "support/tempbank.h"
#include "ui_ueset.h"

#include <QTest>

class TestEset : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;

    // Full marks = 30 x 1 + 40 x 2 + extra x 1.
    void setTypes(int extra)
    {
        auto& cn = DM1->ADOCn1;
        cn.execute(QStringLiteral("delete * from tab_tx1"));
        cn.execute(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (61, 'a', 30, 1, 1), "
                                  "(65, 'b', 40, 2, 1), (66, 'c', :n, 1, 1)"),
                   {{"n", extra}});
        DM1->Cn1Table_tx.close();
    }
    QVariant plan(const char* c)
    {
        return DM1->ADOCn1.scalar(QStringLiteral("select %1 from tab_plan").arg(QLatin1String(c)));
    }

    // Opens the window from the menu, lets act() work on it, then closes it with "关闭".
    void run(const std::function<void(TFrmEset&)>& act)
    {
        RunMenuWindow<TFrmEset>(*dialogs_, QStringLiteral("szks"), "suiButton2", act);
        QVERIFY(FrmEset == nullptr);
    }

private slots:
    void init()
    {
        ResetGlobals();
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
        DM1->ADOCn1.execute(QStringLiteral("update tab_plan set LeastMark = 60, ExamTime = 5430"));
        DM1->Cn1Table_plan.close();
        setTypes(0);
    }
    void cleanup()
    {
        StopProgram();
        dialogs_.reset();
        bank_.reset();
    }

    void showsAndSaves()
    {
        QString shown;
        bool defaultsEnabled = false;
        run([&](TFrmEset& w) {
            shown = w.ui->suiNumberEdit1->text() + u'|' + w.ui->suiNumberEdit2->text();
            defaultsEnabled = w.ui->suiButton1->isEnabled();
            w.ui->suiButton1->click(); // neither box checked: nothing changes
            w.ui->suiNumberEdit2->setText(QStringLiteral("90"));
        });
        QCOMPARE(shown, QStringLiteral("60|90")); // 5430 seconds show as 90 minutes
        QVERIFY(defaultsEnabled);
        QCOMPARE(plan("LeastMark").toInt(), 60);
        QCOMPARE(plan("ExamTime").toInt(), 5400);
        QVERIFY(dialogs_->messages().empty());
    }

    void scoreAboveFullMarks()
    {
        QString after;
        run([&](TFrmEset& w) {
            w.ui->suiNumberEdit1->setText(QStringLiteral("120"));
            after = w.ui->suiNumberEdit1->text();
        });
        QCOMPARE(after, QStringLiteral("110"));
        QCOMPARE(dialogs_->messages().size(), size_t(1));
        QCOMPARE(dialogs_->messages()[0].text, QStringLiteral("最低分数不能超过总分数！"));
        QCOMPARE(dialogs_->messages()[0].title, QStringLiteral("提示"));
        QCOMPARE(plan("LeastMark").toInt(), 110);
    }

    void defaults_data()
    {
        QTest::addColumn<bool>("scoreBox");
        QTest::addColumn<bool>("timeBox");
        QTest::addColumn<QString>("expected");
        QTest::newRow("score only") << true << false << "55|90";
        QTest::newRow("time only") << false << true << "60|120";
        QTest::newRow("both") << true << true << "55|120";
    }
    void defaults()
    {
        QFETCH(bool, scoreBox);
        QFETCH(bool, timeBox);
        QFETCH(QString, expected);
        setTypes(1); // full marks 111: half is 55
        QString got;
        bool enabledAfterUnchecking = true;
        run([&](TFrmEset& w) {
            if (scoreBox) w.ui->suiCheckBox1->click();
            if (timeBox) w.ui->suiCheckBox2->click();
            w.ui->suiButton1->click();
            got = w.ui->suiNumberEdit1->text() + u'|' + w.ui->suiNumberEdit2->text();
            if (scoreBox) w.ui->suiCheckBox1->click();
            if (timeBox) w.ui->suiCheckBox2->click();
            enabledAfterUnchecking = w.ui->suiButton1->isEnabled();
        });
        QCOMPARE(got, expected);
        QVERIFY(!enabledAfterUnchecking);
    }

    void emptyFields()
    {
        QString score;
        run([&](TFrmEset& w) {
            w.ui->suiNumberEdit1->clear();
            score = w.ui->suiNumberEdit1->text();
            w.ui->suiNumberEdit2->clear(); // an empty time keeps the stored one
        });
        QCOMPARE(score, QStringLiteral("0"));
        QCOMPARE(plan("LeastMark").toInt(), 0);
        QCOMPARE(plan("ExamTime").toInt(), 5400);
        QVERIFY(dialogs_->messages().empty());
    }
};

QTEST_MAIN(TestEset)
#include "tst_eset.moc"
