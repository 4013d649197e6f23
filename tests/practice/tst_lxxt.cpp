// Chapter practice: groups and paging, question buttons, grid pictures, type tabs, the
// per-question timer, discarding, opening and closing, and missing pictures.
#include "platform/desktop/modal.h"
#include "practice/lxxtcell.h"
#include "practice/questionpanel.h"
#include "practice/ubj.h"
#include "practice/ulxxt.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/udlg.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_questionpanel.h"
#include "ui_ubj.h"
#include "ui_udlg.h"
#include "ui_ulxxt.h"

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QString Chapter = QStringLiteral("310101");
const QStringList Pictures = {"qorvup.bmp",   "qorvdw.bmp",   "qorvyes.bmp",  "qorvno.bmp",
                              "qorvdw_r.bmp", "qorvdw_w.bmp", "qorvtxup.bmp", "qorvtxdw.bmp"};
// The catalog's statement for the new questions of a chapter.
QString newQuestionsSql(const QString& code)
{
    return QStringLiteral("select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,"
                          "f1,xx,csbs,ecount from tab_answ where (left(A10,%1) = '%2') and (E2 = '' or E2 "
                          "is null)  and (f1<>1)  order by a13,a10,xx,a1")
        .arg(code.size())
        .arg(code);
}
} // namespace

class TestLxxt : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<TFrmLxxt> w_;

    // Adds questions q001.. of a type to the chapter; correct answer "B", four options.
    void addQuestions(int count, int type, int from = 1, int f1 = 0)
    {
        for (int i = from; i < from + count; ++i) {
            const QString key = QStringLiteral("q%1").arg(i, 3, 10, QLatin1Char('0'));
            dm_->ADOCn1.execute(
                QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, E2_1, E3, E4, F1, "
                               "xx, ecount) values (:k, 'B', 4, :c, :t, 'C', 0, 0, :f, :x, 0)"),
                {{"k", key}, {"c", Chapter}, {"t", type}, {"f", f1}, {"x", i}});
            dm_->ADOCn1.execute(QStringLiteral("insert into tab_exer (A1, A15) values (:k, :t)"),
                                {{"k", key}, {"t", QByteArray("{\\rtf1 question}")}});
        }
    }
    TFrmLxxt& open()
    {
        QuestionSql = newQuestionsSql(Chapter);
        w_ = std::make_unique<TFrmLxxt>();
        FrmLxxt = w_.get();
        if (!w_->OpenPractice()) qFatal("no questions");
        w_->show();
        return *w_;
    }
    QPushButton* button(const char* name) { return w_->findChild<QPushButton*>(QLatin1String(name)); }
    QString cellState(int n) { return w_->cell(n)->property("cellState").toString(); }
    QVariant col(const QString& key, const char* c)
    {
        return dm_->ADOCn1.scalar(QStringLiteral("select %1 from tab_answ where A1=:k").arg(QLatin1String(c)),
                                  {{"k", key}});
    }
    // A key pressed on the window, as the learner does (letters, Backspace, Enter).
    void press(Qt::Key key) { QTest::keyClick(w_.get(), key); }
    PictureButton* tab(int code)
    {
        for (PictureButton* t : w_->typeTabs())
            if (t->property("code").toInt() == code) return t;
        return nullptr;
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>();
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        QDir(bank_->folder()).mkpath(QStringLiteral("pic"));
        for (const QString& p : Pictures)
            QVERIFY(QFile::copy(QStringLiteral(PREPDESK_SOURCE_DIR "/assets/pic/") + p,
                                bank_->folder() + QStringLiteral("pic/") + p));
        dm_ = std::make_unique<TDM1>(bank_->folder());
        DM1 = dm_.get();
        dm_->ADOCn1.execute(QStringLiteral(
            "insert into tab_tx1 (A1, B1, B2, B3, [time]) values (21, '填空题', 5, 1, 1.0), "
            "(61, '单项选择题', 20, 1, 1.0), (65, '多项选择题', 10, 2, 1.5), (71, '简答题', 2, 10, 5.0)"));
        dm_->ADOCn1.execute(QStringLiteral("insert into tab_kmmc (bh, C1, C2, C3, C4, D1, D2) values "
                                           "(1, '3', 'S', 0, 0, 0, 0), (2, '310101', 'C', 0, 0, 0, 0)"));
        dialogs_ = std::make_unique<ScriptedDialogs>();
    }
    void cleanup()
    {
        w_.reset();
        dialogs_.reset();
        DM1 = nullptr;
        dm_.reset();
        bank_.reset();
        clock_.reset();
    }

    void groups_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("45: 20, 20, 5") << 45 << QList<int>{20, 20, 5};
        QTest::newRow("exactly 20") << 20 << QList<int>{20};
        QTest::newRow("21: 20, 1") << 21 << QList<int>{20, 1};
        QTest::newRow("3") << 3 << QList<int>{3};
    }
    void groups()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, sizes);
        addQuestions(count, 61);
        TFrmLxxt& w = open();
        const int groups = int(sizes.size());
        QCOMPARE(w.ui->LbGroups->text(), QStringLiteral("共%1组%2道题").arg(groups).arg(count));
        auto check = [&](int g) {
            QCOMPARE(w.ui->LbGroup->text(), QStringLiteral("第%1组").arg(g));
            for (int n = 1; n <= 20; ++n)
                QCOMPARE(w.cell(n)->isEnabled(), n <= sizes[g - 1]);
            QCOMPARE(button("BtnPrevGroup")->isEnabled(), g > 1);
            QCOMPARE(button("BtnNextGroup")->isEnabled(), g < groups);
            // The group's first question is shown, as cell 1.
            QCOMPARE(w.currentRecord(), (g - 1) * 20 + 1);
            QVERIFY(w.cell(1)->isChecked());
            QVERIFY(w.ui->LbQuestion->text().startsWith(QStringLiteral("第1题")));
        };
        check(1);
        for (int g = 2; g <= groups; ++g) {
            button("BtnNextGroup")->click();
            check(g);
        }
        for (int g = groups - 1; g >= 1; --g) {
            button("BtnPrevGroup")->click();
            check(g);
        }
    }

    void questionButtonsAcrossGroups()
    {
        addQuestions(45, 61);
        TFrmLxxt& w = open();
        QVERIFY(!button("BtnPrev")->isEnabled());
        QVERIFY(button("BtnNext")->isEnabled());
        w.cell(20)->click();
        QCOMPARE(w.currentRecord(), 20);
        QCOMPARE(w.ui->LbQuestion->text(), QStringLiteral("第20题（第1次出现）"));
        button("BtnNext")->click(); // question 21, cell 1 of group 2
        QCOMPARE(w.currentRecord(), 21);
        QCOMPARE(w.ui->LbGroup->text(), QStringLiteral("第2组"));
        QVERIFY(w.cell(1)->isChecked());
        QVERIFY(button("BtnPrevGroup")->isEnabled());
        button("BtnPrev")->click(); // the first question of group 1, not the 20th
        QCOMPARE(w.currentRecord(), 1);
        QCOMPARE(w.ui->LbGroup->text(), QStringLiteral("第1组"));
        QVERIFY(!button("BtnPrevGroup")->isEnabled());
        QVERIFY(button("BtnNextGroup")->isEnabled());
        // Within a group the buttons step by one.
        button("BtnNext")->click();
        button("BtnNext")->click();
        QCOMPARE(w.currentRecord(), 3);
        QVERIFY(w.cell(3)->isChecked());
        button("BtnPrev")->click();
        QCOMPARE(w.currentRecord(), 2);
        // The last record: "下一题" disabled, and pressing it anyway does nothing.
        button("BtnNextGroup")->click();
        button("BtnNextGroup")->click();
        w.cell(5)->click();
        QCOMPARE(w.currentRecord(), 45);
        QVERIFY(!button("BtnNext")->isEnabled());
        QVERIFY(button("BtnPrev")->isEnabled());
    }

    void keysAndGridPictures_data()
    {
        QTest::addColumn<int>("key"); // 0: no answer
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("stored");
        QTest::newRow("right") << int(Qt::Key_B) << "right"
                               << "B";
        QTest::newRow("wrong") << int(Qt::Key_A) << "wrong"
                               << "A";
        QTest::newRow("unanswered") << 0 << "unanswered"
                                    << "";
    }
    void keysAndGridPictures()
    {
        QFETCH(int, key);
        QFETCH(QString, state);
        QFETCH(QString, stored);
        addQuestions(3, 61);
        TFrmLxxt& w = open();
        QCOMPARE(w.ui->Panel->page(), 0);
        if (key) press(Qt::Key(key));
        press(Qt::Key_Return); // "下一题"
        QCOMPARE(w.currentRecord(), 2);
        QCOMPARE(cellState(1), state);
        QCOMPARE(col("q001", "E2_1").toString(), stored);
        press(Qt::Key_Backspace); // "上一题": the answer comes back on screen
        QCOMPARE(w.currentRecord(), 1);
        QCOMPARE(w.cell(1)->property("pressedState").toString(), state);
        QCOMPARE(w.ui->Panel->ReadAnswerControls(0, 4), stored);
        press(Qt::Key_Backspace); // disabled on record 1: stays
        QCOMPARE(w.currentRecord(), 1);
        // "完成" gives the pressed picture and leaves the released one alone.
        press(Qt::Key_B);
        button("BtnDone")->click();
        QCOMPARE(w.cell(1)->property("pressedState").toString(), QStringLiteral("right"));
        QCOMPARE(cellState(1), state);
        QVERIFY(button("BtnReveal")->isEnabled());
    }

    void doneWithoutAnswer()
    {
        addQuestions(2, 61);
        open();
        QStringList shown;
        dialogs_->answerDialog([&](QDialog& d) {
            shown << static_cast<TFrmDlg&>(d).ui->fcLabel1->text();
            return 1;
        });
        button("BtnDone")->click();
        QCOMPARE(shown, QStringList{QStringLiteral("请先做出答案！")});
        QCOMPARE(col("q001", "E3").toInt(), 0);
    }

    void typeTabs()
    {
        addQuestions(3, 61);
        addQuestions(2, 65, 4);
        addQuestions(1, 71, 6);
        TFrmLxxt& w = open();
        const QList<PictureButton*> tabs = w.typeTabs();
        QCOMPARE(tabs.size(), 5);
        QCOMPARE(tabs.first()->text(), QStringLiteral("任意"));
        QVERIFY(tabs.first()->isChecked());
        QVERIFY(!tab(21)->isEnabled()); // no fill-in question in the set
        QVERIFY(tab(61)->isEnabled() && tab(65)->isEnabled() && tab(71)->isEnabled());
        QCOMPARE(w.ui->LbGroups->text(), QStringLiteral("共1组6道题"));
        QCOMPARE(w.ui->Panel->ui->SubjPageSide->text(), QStringLiteral("主\n观"));

        press(Qt::Key_A); // wrong answer on q001, then change the tab: saved silently
        tab(65)->click();
        QCOMPARE(dialogs_->dialogTitles(), QStringList());
        QCOMPARE(col("q001", "E2_1").toString(), QStringLiteral("A"));
        QCOMPARE(col("q001", "E3").toInt(), 1);
        QCOMPARE(w.ui->LbGroups->text(), QStringLiteral("共1组2道题"));
        QCOMPARE(w.currentRecord(), 1);
        QCOMPARE(DM1->Cn1Query_tm.text("a1"), QStringLiteral("q004"));
        QCOMPARE(w.ui->Panel->page(), 1);
        QVERIFY(!w.cell(3)->isEnabled());
        QVERIFY(button("BtnNext")->isEnabled()); // record 1 of the tab's 2
        w.cell(2)->click();
        QVERIFY(!button("BtnNext")->isEnabled()); // the last of the tab
        tab(71)->click();
        QCOMPARE(w.ui->Panel->ui->SubjPageSide->text(), QStringLiteral("简\n答"));
        // Back on "任意": the wrong answer shows on its cell.
        tabs.first()->click();
        QCOMPARE(w.ui->LbGroups->text(), QStringLiteral("共1组6道题"));
        QCOMPARE(cellState(1), QStringLiteral("wrong"));
    }

    void questionTimer()
    {
        addQuestions(2, 61);
        addQuestions(1, 99, 3); // a type missing from the type table
        TypeIds = {61, 65};
        TypeIntervals = {IntervalOfMinutes(0.01), IntervalOfMinutes(1.5)};
        QStringList shown;
        dialogs_->answerDialog([&](QDialog& d) {
            shown << static_cast<TFrmDlg&>(d).ui->fcLabel1->text();
            return 1;
        });
        TFrmLxxt& w = open();
        QCOMPARE(w.questionTimer()->interval(), 6);
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), QStringLiteral("到时间了"));
        QTRY_COMPARE(col("q001", "csbs").toString(), QStringLiteral("Y"));
        QVERIFY(!w.questionTimer()->isActive());
        QCOMPARE(w.ui->Gauge->value(), 100);
        QCOMPARE(dialogs_->unanswered(), 0); // the message came once
        QCOMPARE(col("q002", "csbs").toString(), QString());
        w.cell(3)->click(); // another question restarts the gauge with its type's interval
        QCOMPARE(w.ui->Gauge->value(), 0);
        QCOMPARE(w.questionTimer()->interval(), 600);
        QVERIFY(w.questionTimer()->isActive());
    }

    void discardAndRestore_data()
    {
        QTest::addColumn<int>("f1");
        QTest::addColumn<QString>("firstNotice");
        QTest::newRow("ordinary") << 0 << "";
        QTest::newRow("added by the learner") << 2 << "本题是您加入的题目！";
    }
    void discardAndRestore()
    {
        QFETCH(int, f1);
        QFETCH(QString, firstNotice);
        addQuestions(2, 61, 1, f1);
        TFrmLxxt& w = open();
        QCOMPARE(w.ui->LbNotice->text(), firstNotice);
        button("BtnDiscard")->click();
        QCOMPARE(col("q001", "F1").toInt(), 1);
        QCOMPARE(col("q001", "E2").toString(), QStringLiteral("zero"));
        QCOMPARE(w.ui->LbNotice->text(), QStringLiteral("本题已被您作废！"));
        QCOMPARE(button("BtnDiscard")->text(), QStringLiteral("取消作废"));
        button("BtnNext")->click(); // a discarded question stays in the list
        button("BtnPrev")->click();
        QCOMPARE(w.ui->LbNotice->text(), QStringLiteral("本题已被您作废！"));
        QCOMPARE(button("BtnDiscard")->text(), QStringLiteral("取消作废"));
        button("BtnDiscard")->click();
        QCOMPARE(col("q001", "F1").toInt(), 0);
        QCOMPARE(col("q001", "E2").toString(), QStringLiteral("zero"));
        QCOMPARE(w.ui->LbNotice->text(), QStringLiteral("本题曾被作废，现已被您取消！"));
        QCOMPARE(button("BtnDiscard")->text(), QStringLiteral("题目作废"));
        button("BtnNext")->click();
        button("BtnPrev")->click();
        QCOMPARE(w.ui->LbNotice->text(), QString()); // no longer "added by the learner"
    }

    void editedNotice()
    {
        addQuestions(2, 61);
        dm_->ADOCn1.execute(QStringLiteral("update tab_answ set ecount=2 where A1='q002'"));
        TFrmLxxt& w = open();
        QCOMPARE(w.ui->LbEdited->text(), QString());
        button("BtnNext")->click();
        QCOMPARE(w.ui->LbEdited->text(), QStringLiteral("本题被您修改过"));
        button("BtnPrev")->click();
        QCOMPARE(w.ui->LbEdited->text(), QString());
    }

    void openingEmptiesVisitAnswers()
    {
        addQuestions(2, 61);
        dm_->ADOCn1.execute(
            QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, E2_1, E2, F1) values "
                           "('other', 'B', 4, '320101', 61, 'B', 'B', 0)"));
        TFrmLxxt& w = open();
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select count(*) from tab_answ where E2_1 <> ''")).toInt(),
                 0);
        QCOMPARE(cellState(1), QStringLiteral("unanswered"));
        QCOMPARE(cellState(2), QStringLiteral("unanswered"));
        QCOMPARE(FirstQuestionId, QStringLiteral("q001"));
        QCOMPARE(w.ui->LbTitle->text(), CurrentChapterTitle);
        QCOMPARE(w.ui->LbClock->text(), QStringLiteral("0:00:00"));
        QVERIFY(!button("BtnLaw")->isEnabled());
    }

    void emptySet()
    {
        QuestionSql = newQuestionsSql(Chapter);
        TFrmLxxt w;
        QVERIFY(!w.OpenPractice());
    }

    void closing()
    {
        addQuestions(2, 61);
        dm_->ADOCn1.execute(QStringLiteral("insert into tab_rz (A1, A2, A3, B1, B2, A4, D1) values "
                                           "('2026-12-11', 0, 0, 0, 0, '0', '0:10:00')"));
        QuestionSql = newQuestionsSql(Chapter);
        TFrmLxxt w;
        QVERIFY(w.OpenPractice());
        dialogs_->answerDialog([&](QDialog& d) {
            d.show();
            QTest::keyClick(&d, Qt::Key_B);
            clock_->advance(65'000);
            w.findChild<QPushButton*>(QStringLiteral("BtnClose"))->click();
            return d.result();
        });
        desktop::execModal(w);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.ui->LbClock->text(), QStringLiteral("0:01:05"));
        QCOMPARE(dm_->ADOCn1.scalar(QStringLiteral("select D1 from tab_rz")).toString(),
                 SecondsToTime(10 * 60 + 65)); // the 10 minutes logged before and this visit
        QCOMPARE(col("q001", "E2_1").toString(), QStringLiteral("B")); // the question on screen
        QCOMPARE(col("q001", "E3").toInt(), 1);
        QVERIFY(!dm_->Cn1Query_tm.isOpen());
        QVERIFY(!dm_->Cn1Table_tx.isOpen());
    }

    void notesAndSettings()
    {
        addQuestions(2, 61);
        TFrmLxxt& w = open();
        dialogs_->answerDialog([&](QDialog& d) {
            static_cast<TFrmBj&>(d).ui->DBMemo1->insertPlainText(QStringLiteral("记住"));
            d.accept();
            return d.result();
        });
        button("BtnNotes")->click();
        QCOMPARE(button("BtnNotes")->text(), QStringLiteral("有内容"));
        QCOMPARE(col("q001", "A14").toString(), QStringLiteral("记住"));
        button("BtnNext")->click();
        QCOMPARE(button("BtnNotes")->text(), QStringLiteral("笔记"));
        ConfigMode = 1;
        button("BtnSettings")->click();
        QCOMPARE(dialogs_->dialogTitles().last(), QStringLiteral("系统设置"));
        QCOMPARE(ConfigMode, 0);
        QCOMPARE(w.currentRecord(), 2);
    }

    void arrangements_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QSize>("size");
        QTest::newRow("800") << "800" << QSize(800, 600);
        QTest::newRow("1024") << "1024" << QSize(1024, 768);
    }
    void arrangements()
    {
        QFETCH(QString, mode);
        QFETCH(QSize, size);
        ScreenMode = mode;
        addQuestions(1, 61);
        TFrmLxxt& w = open();
        QCOMPARE(w.size(), size);
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!w.ui->Panel->ui->Panel2->isVisible());
        // Every control lies inside the window.
        for (QWidget* c : w.findChildren<QPushButton*>())
            QVERIFY2(QRect(QPoint(0, 0), size).contains(QRect(c->mapTo(&w, QPoint(0, 0)), c->size())),
                     qPrintable(c->objectName()));
    }

    void missingPicture_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& p : Pictures)
            QTest::newRow(qPrintable(p)) << p;
    }
    void missingPicture()
    {
        QFETCH(QString, file);
        addQuestions(1, 61);
        QVERIFY(QFile::remove(bank_->folder() + QStringLiteral("pic/") + file));
        QStringList shown;
        dialogs_->answerDialog([&](QDialog& d) {
            auto& dlg = static_cast<TFrmDlg&>(d);
            shown << dlg.ui->Label1->text() + u'/' + dlg.ui->fcLabel1->text();
            return 1;
        });
        QuestionSql = newQuestionsSql(Chapter);
        TFrmLxxt w;
        QVERIFY(!w.OpenPractice());
        QCOMPARE(shown, QStringList{QStringLiteral("错误/无法提取资源文件！")});
    }
};

QTEST_MAIN(TestLxxt)
#include "tst_lxxt.moc"
