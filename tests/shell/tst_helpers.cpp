// Shared helpers: the message dialog, durations, full marks, volume, and paper-table upkeep.
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/udlg.h"
#include "shell/uprogress.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_udlg.h"
#include "ui_uprogress.h"

#include <QPushButton>
#include <QTest>

class TestHelpers : public QObject {
    Q_OBJECT

    struct Seen {
        bool b1, b2, b3;
        QString c1, c2, c3;
        int width, page;
    };

    // Shows the dialog, records what it shows, and presses one button.
    static int show(ScriptedDialogs& dialogs, TFrmDlg& dlg, int layout, const QString& variant,
                    const char* press, Seen* seen, int page = 1)
    {
        dialogs.answerDialog([&, press](QDialog& d) {
            auto* f = static_cast<TFrmDlg*>(&d);
            *seen = {!f->ui->fcShapeBtn1->isHidden(),
                     !f->ui->fcShapeBtn2->isHidden(),
                     !f->ui->fcShapeBtn3->isHidden(),
                     f->ui->fcShapeBtn1->text(),
                     f->ui->fcShapeBtn2->text(),
                     f->ui->fcShapeBtn3->text(),
                     f->width(),
                     f->ui->epNoteBook1->currentIndex()};
            f->findChild<QPushButton*>(QLatin1String(press))->click();
            return f->result();
        });
        return dlg.ShowDlg(QStringLiteral("提示"), QStringLiteral("请先做出答案！"), layout, page, variant);
    }

private slots:
    void timeToSeconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("h:mm:ss") << "1:05:30" << qint64(3930);
        QTest::newRow("noon") << "12:00:00" << qint64(43200);
        QTest::newRow("short parts") << "2:3:4" << qint64(7384);
        QTest::newRow("third colon drops seconds") << "1:2:3:4" << qint64(3720);
        QTest::newRow("no colon") << "3600" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("one colon counts hours only") << "1:30" << qint64(3600);
        QTest::newRow("long hours") << "100:00:01" << qint64(360001);
        QTest::newRow("seconds take two characters") << "0:0:123" << qint64(12);
    }
    void timeToSeconds()
    {
        QFETCH(QString, text);
        QFETCH(qint64, seconds);
        QCOMPARE(TimeToSeconds(text), seconds);
    }

    void secondsToTime()
    {
        QCOMPARE(SecondsToTime(7570), QStringLiteral("02:06:10"));
        QCOMPARE(SecondsToTime(360001), QStringLiteral("100:00:01"));
        QCOMPARE(SecondsToTime(0), QStringLiteral("00:00:00"));
    }

    void dialogLayoutsAndVariants()
    {
        ScriptedDialogs dialogs;
        TFrmDlg dlg;
        Seen s{};
        QCOMPARE(dlg.windowTitle(), QStringLiteral("提示框"));
        QCOMPARE(show(dialogs, dlg, 0, QStringLiteral("NO"), "fcShapeBtn2", &s), 2);
        QVERIFY(s.b1 && s.b2 && !s.b3);
        QCOMPARE(s.c2, QStringLiteral("取消"));
        QCOMPARE(show(dialogs, dlg, 1, QStringLiteral("NO"), "fcShapeBtn3", &s, 2), 3);
        QVERIFY(!s.b1 && !s.b2 && s.b3);
        QCOMPARE(s.c3, QStringLiteral("确定"));
        QCOMPARE(s.page, 2);
        QCOMPARE(show(dialogs, dlg, 2, QStringLiteral("Exam"), "fcShapeBtn2", &s, 0), 2);
        QVERIFY(s.b1 && s.b2 && s.b3);
        QCOMPARE((QStringList{s.c1, s.c2, s.c3}), (QStringList{"确定", "作废", "取消"}));
        QCOMPARE(show(dialogs, dlg, 2, QStringLiteral("exam"), "fcShapeBtn1", &s), 1);
        QCOMPARE((QStringList{s.c1, s.c2, s.c3}), (QStringList{"确定", "取消", "确定"}));
        // Layout 3 narrows the window; the next call is back at the design width.
        show(dialogs, dlg, 3, QString(), "fcShapeBtn1", &s);
        QVERIFY(s.b1 && !s.b2 && !s.b3);
        QCOMPARE(s.width, 200);
        show(dialogs, dlg, 1, QString(), "fcShapeBtn3", &s);
        QCOMPARE(s.width, dlg.designWidth());
        // An unknown layout keeps the buttons of the previous call.
        show(dialogs, dlg, 0, QString(), "fcShapeBtn1", &s);
        show(dialogs, dlg, 7, QString(), "fcShapeBtn1", &s);
        QVERIFY(s.b1 && s.b2 && !s.b3);
        // The title goes to the strip and the caption; Escape does not answer.
        QCOMPARE(dlg.ui->Label1->text(), QStringLiteral("提示"));
        QCOMPARE(dlg.ui->fcLabel1->text(), QStringLiteral("请先做出答案！"));
        dlg.setResult(0);
        static_cast<QDialog&>(dlg).reject();
        QCOMPARE(dlg.result(), 0);
        QCOMPARE(dialogs.unanswered(), 0);
    }

    void progressNotice()
    {
        TFrmProgress p;
        QCOMPARE(p.notice(), QStringLiteral("请等待..."));
        p.ShowNotice(QStringLiteral("正在初始化数据..."));
        QVERIFY(p.isVisible());
        QVERIFY(!p.isModal());
        p.SetNotice(QStringLiteral("正在建立数据表..."));
        QCOMPARE(p.ui->Label1->text(), QStringLiteral("正在建立数据表..."));
        p.HideNotice();
        QVERIFY(!p.isVisible());
    }

    void waveVolume_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<uint>("word");
        QTest::newRow("0 is silent") << 0 << 0u;
        QTest::newRow("1 is silent") << 1 << 0u;
        QTest::newRow("start-up level") << 10 << 0x99999999u;
        QTest::newRow("16 is full") << 16 << 0xFFFFFFFFu;
        QTest::newRow("20 is full") << 20 << 0xFFFFFFFFu;
    }
    void waveVolume()
    {
        QFETCH(int, level);
        QFETCH(uint, word);
        QCOMPARE(SetWaveVolume(level), uint32_t(word));
        QCOMPARE(CurrentWaveVolume(), uint32_t(word));
    }

    void totalScoreAndPaperTables()
    {
        TempBank bank(TempBank::EmptyBank{});
        TDM1 dm(bank.folder());
        DM1 = &dm;
        QCOMPARE(TotalScore(), 0); // empty type table
        dm.Cn1Table_tx.close();
        dm.ADOCn1.execute(QStringLiteral(
            "insert into tab_tx1 (A1, B1, B2, B3, [time]) values (61, '单项选择题', 30, 1, 1)"));
        dm.ADOCn1.execute(QStringLiteral(
            "insert into tab_tx1 (A1, B1, B2, B3, [time]) values (65, '多项选择题', 40, 2, 1.5)"));
        QCOMPARE(TotalScore(), 110);

        // A paper table and its score row go together.
        dm.ADOCn1.execute(
            QStringLiteral("CREATE TABLE tab_exam1 (A1 TEXT(20) NOT NULL PRIMARY KEY, A2 TEXT(100), "
                           "A14 MEMO, E2 TEXT(100), E2_1 TEXT(100), csbs TEXT(2))"));
        AllowZeroLength(QStringLiteral("tab_exam1"), bank.connectionString());
        dm.ADOCn1.execute(QStringLiteral("insert into tab_exam1 (A1, E2_1) values ('k', '')"));
        for (const char* t : {"tab_exam1", "tab_exam2"})
            dm.ADOCn1.execute(
                QStringLiteral("insert into tab_cj (A1, A3, A3_1, D1) values (:t, '试卷', 1, '2026-12-11')"),
                {{"t", QString::fromLatin1(t)}});
        DropPaperTable(QStringLiteral("TAB_EXAM1"));
        QVERIFY(!dm.ADOCn1.tableExists(QStringLiteral("tab_exam1")));
        QCOMPARE(dm.ADOCn1.scalar(QStringLiteral("select count(*) from tab_cj where A1='tab_exam1'")).toInt(),
                 0);
        // A score row without a table is left alone.
        DropPaperTable(QStringLiteral("tab_exam2"));
        QCOMPARE(dm.ADOCn1.scalar(QStringLiteral("select count(*) from tab_cj where A1='tab_exam2'")).toInt(),
                 1);
        // A failure is silent.
        QVERIFY_THROWS_EXCEPTION(db::Error,
                                 AllowZeroLength(QStringLiteral("tab_exam9"), bank.connectionString()));
        DM1 = nullptr;
    }
};

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
