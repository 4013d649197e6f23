// The question panel: loading and reading every answer page, keys, reveal, button states, stems.
#include "platform/db/connection.h"
#include "platform/db/table.h"
#include "practice/answer.h"
#include "practice/questionpanel.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_questionpanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class TestQuestionPanel : public QObject {
    Q_OBJECT

    QString shownLetters(QuestionPanel& p, int page)
    {
        QString out;
        for (int i = 0; i < 6; ++i)
            if (!p.optionButton(page, i)->isHidden()) out += p.optionButton(page, i)->text();
        return out;
    }

private slots:
    void answerPages()
    {
        QCOMPARE(AnswerPageOf(61), int(PageSingle));
        QCOMPARE(AnswerPageOf(65), int(PageMultiple));
        QCOMPARE(AnswerPageOf(66), int(PageIndefinite));
        QCOMPARE(AnswerPageOf(62), int(PageIndefinite));
        QCOMPARE(AnswerPageOf(21), int(PageFill));
        QCOMPARE(AnswerPageOf(31), int(PageJudge));
        for (int t : {64, 70, 71, 72, 73, 74})
            QCOMPARE(AnswerPageOf(t), int(PageSubjective));
        QCOMPARE(AnswerPageOf(99), int(NoPage));
        QVERIFY(IsNoRevealType(71) && IsNoRevealType(74) && !IsNoRevealType(70));
    }

    void loadAndRead_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("read");
        QTest::newRow("single") << 0 << "B" << 4 << "ABCD"
                                << "B";
        QTest::newRow("single E hidden by three options") << 0 << "E" << 3 << "ABC"
                                                          << "";
        QTest::newRow("multiple stored ACD") << 1 << "ACD" << 5 << "ABCDE"
                                             << "ACD";
        QTest::newRow("multiple stored CA reads AC") << 1 << "CA" << 4 << "ABCD"
                                                     << "AC";
        QTest::newRow("multiple beyond options") << 1 << "AE" << 3 << "ABC"
                                                 << "A";
        QTest::newRow("indefinite") << 5 << "BD" << 6 << "ABCDEF"
                                    << "BD";
        QTest::newRow("fill") << 2 << "12,5" << 1 << ""
                              << "12,5";
        QTest::newRow("judge A") << 3 << "A" << 2 << "对错"
                                 << "A";
        QTest::newRow("judge B") << 3 << "B" << 2 << "对错"
                                 << "B";
        QTest::newRow("judge other releases both") << 3 << "C" << 2 << "对错"
                                                   << "";
        QTest::newRow("subjective knows") << 4 << "1" << 1 << ""
                                          << "1";
        QTest::newRow("subjective does not know") << 4 << "0" << 1 << ""
                                                  << "0";
        QTest::newRow("subjective nothing") << 4 << "" << 1 << ""
                                            << "";
        QTest::newRow("empty single") << 0 << "" << 4 << "ABCD"
                                      << "";
    }
    void loadAndRead()
    {
        QFETCH(int, page);
        QFETCH(QString, stored);
        QFETCH(int, options);
        QFETCH(QString, shown);
        QFETCH(QString, read);
        QuestionPanel p;
        // A previous question left everything pressed: loading must reset it.
        p.LoadAnswerControls(page, QStringLiteral("ABCDEF"), 6);
        p.LoadAnswerControls(page, stored, options);
        if (page == 0 || page == 1 || page == 5) QCOMPARE(shownLetters(p, page), shown);
        QCOMPARE(p.ReadAnswerControls(page, options), read);
    }

    void fillInIsTrimmedOnlyAtTheEnds()
    {
        QuestionPanel p;
        p.ui->FlatEdit1->setText(QStringLiteral("  12,5  "));
        QCOMPARE(p.ReadAnswerControls(PageFill, 1), QStringLiteral("12,5"));
        p.ui->FlatEdit1->setText(QStringLiteral("12, 5"));
        QVERIFY(!IsRightAnswer(p.ReadAnswerControls(PageFill, 1), QStringLiteral("12,5")));
        p.ui->FlatComboBox1->setCurrentIndex(1);
        QCOMPARE(p.ReadAnswerControls(PageSubjective, 1), QStringLiteral("1"));
    }

    void keys()
    {
        QuestionPanel p;
        QPushButton prev, next;
        int prevClicks = 0, nextClicks = 0;
        connect(&prev, &QPushButton::clicked, [&] { ++prevClicks; });
        connect(&next, &QPushButton::clicked, [&] { ++nextClicks; });
        p.setNavigationButtons(&prev, &next);
        p.setPage(PageSingle);
        p.LoadAnswerControls(PageSingle, QString(), 4);
        QVERIFY(p.HandleKey(Qt::Key_B));
        QCOMPARE(p.ReadAnswerControls(PageSingle, 4), QStringLiteral("B"));
        p.HandleKey(Qt::Key_E); // the hidden option goes down and releases B
        QCOMPARE(p.ReadAnswerControls(PageSingle, 4), QString());
        p.HandleKey(Qt::Key_Return);
        p.HandleKey(Qt::Key_Backspace);
        next.setEnabled(false);
        p.HandleKey(Qt::Key_Enter);
        QCOMPARE(nextClicks, 1);
        QCOMPARE(prevClicks, 1);
        p.setPage(PageMultiple);
        p.LoadAnswerControls(PageMultiple, QString(), 5);
        p.HandleKey(Qt::Key_C);
        p.HandleKey(Qt::Key_A);
        p.HandleKey(Qt::Key_D);
        p.HandleKey(Qt::Key_D);
        QCOMPARE(p.ReadAnswerControls(PageMultiple, 5), QStringLiteral("AC"));
        p.setPage(PageJudge);
        QVERIFY(!p.HandleKey(Qt::Key_A));
        QVERIFY(!p.HandleKey(Qt::Key_Return));
        QCOMPARE(nextClicks, 1);
    }

    void reveal_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("correct");
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("right");
        QTest::addColumn<bool>("same");
        QTest::newRow("single right") << 0 << "C"
                                      << "C"
                                      << "C"
                                      << "C" << true;
        QTest::newRow("nothing chosen") << 0 << ""
                                        << "C"
                                        << ""
                                        << "C" << false;
        QTest::newRow("multiple wrong") << 1 << "AB"
                                        << "ABD"
                                        << "AB"
                                        << "ABD" << false;
        QTest::newRow("judge in words") << 3 << "B"
                                        << "B"
                                        << "错"
                                        << "错" << true;
        QTest::newRow("fill shows the text") << 2 << "应急预案"
                                             << "应急预案"
                                             << "应急预案"
                                             << "应急预案" << true;
        QTest::newRow("subjective in words") << 4 << "0"
                                             << "1"
                                             << "不会"
                                             << "会" << false;
        QTest::newRow("subjective knows") << 4 << "1"
                                          << "1"
                                          << "会"
                                          << "会" << true;
    }
    void reveal()
    {
        QFETCH(int, page);
        QFETCH(QString, answer);
        QFETCH(QString, correct);
        QFETCH(QString, mine);
        QFETCH(QString, right);
        QFETCH(bool, same);
        QuestionPanel p;
        QPushButton revealButton(QStringLiteral("答案"));
        p.setButtons(nullptr, nullptr, &revealButton, nullptr);
        p.resize(600, 400);
        p.show();
        p.setPage(page);
        p.LoadAnswerControls(page, answer, 5);
        p.RevealAnswer(correct);
        QVERIFY(p.answerPanelOpen());
        QCOMPARE(p.ui->Panel2->width(), p.ui->TextArea->width());
        QCOMPARE(revealButton.text(), QStringLiteral("返回"));
        QCOMPARE(p.ui->Memo1->text(), mine);
        QCOMPARE(p.ui->Memo2->text(), right);
        QCOMPARE(p.ui->Lb_answtip->text(),
                 same ? QStringLiteral("恭喜你，做对了！") : QStringLiteral("很遗憾，做错了，请继续努力！"));
        p.RevealAnswer(correct); // "返回" slides it shut
        QVERIFY(!p.answerPanelOpen());
        QCOMPARE(revealButton.text(), QStringLiteral("答案"));
        p.RevealAnswer(correct);
        p.ShutAnswerPanel(); // another question: shut at once
        QCOMPARE(p.ui->Panel2->width(), 0);
        QCOMPARE(revealButton.text(), QStringLiteral("答案"));
    }

    void buttonsAndStems()
    {
        TempBank bank(TempBank::EmptyBank{});
        TDM1 dm(bank.folder());
        DM1 = &dm;
        ScriptedDialogs dialogs;
        dm.ADOCn1.execute(
            QStringLiteral("insert into tab_answ (A1, A2, A2_1, K3, A10, A13, A14, E2_1) values "
                           "('310101610001', 'B', 4, '010101003', '310101', 61, '  ', 'B'), "
                           "('310101710001', '1', 1, NULL, '310101', 71, '要点', 'A'), "
                           "('0501010064000001-01', '1', 1, NULL, '050101', 64, NULL, NULL)"));
        dm.ADOCn1.execute(QStringLiteral("insert into tab_exer (A1, A15, jx) values (:a, :t, :j)"),
                          {{"a", QStringLiteral("310101610001")},
                           {"t", QByteArray("{\\rtf1 question one}")},
                           {"j", QByteArray("{\\rtf1 why}")}});
        dm.ADOCn1.execute(QStringLiteral("insert into tab_exer (A1, A15) values ('0501010064000001-01', :t)"),
                          {{"t", QByteArray("{\\rtf1 sub question}")}});
        dm.ADOCn1.execute(QStringLiteral("insert into tab_title (A1, A15) values ('0501010064000001', :t)"),
                          {{"t", QByteArray("{\\rtf1\\ansi\\ansicpg936 \\'b0\\'b8\\'c0\\'fd}")}});
        QuestionPanel p;
        QPushButton jx, kd, rev, notes;
        p.setButtons(&jx, &kd, &rev, &notes);
        p.setTextSources(&dm.Cn1DS_nr, &dm.Cn1Query2, &dm.Cn1DS2);
        p.resize(700, 500);
        p.show();
        db::Recordset& list = dm.Cn1Query_tm;
        list.open(QStringLiteral("select * from tab_answ order by A1"));
        auto showRow = [&](int rec) {
            list.setRecNo(rec);
            dm.cn1query_nr.open(QStringLiteral("select * from tab_exer where A1=:A1"),
                                {{"A1", list.text(QStringLiteral("A1"))}});
            p.ShowQuestionText(list.text(QStringLiteral("A1")));
            p.UpdateQuestionButtons(list, !dm.cn1query_nr.isEmpty() &&
                                              !dm.cn1query_nr.isNull(QStringLiteral("jx")));
        };
        showRow(1); // the shared-stem question: stem above, sub-question below
        QVERIFY(!p.ui->Re2->isHidden());
        QCOMPARE(p.ui->FlatSplitter1->sizes().value(1), 150);
        QCOMPARE(p.ui->Re1->toPlainText(), QStringLiteral("案例"));
        QCOMPARE(p.ui->Re2->toPlainText(), QStringLiteral("sub question"));
        QVERIFY(!jx.isEnabled() && !kd.isEnabled() && !rev.isEnabled()); // not answered in this opening
        QCOMPARE(notes.text(), QStringLiteral("笔记"));
        p.ui->FlatSplitter1->setSizes({200, 220}); // the learner drags the splitter
        const int dragged = p.ui->FlatSplitter1->sizes().value(1);
        QVERIFY(dragged != 150);
        showRow(1);
        QCOMPARE(p.ui->FlatSplitter1->sizes().value(1), dragged);
        showRow(2); // stand-alone, answered: all three enabled; a blank note reads 笔记
        QVERIFY(p.ui->Re2->isHidden());
        QCOMPARE(p.ui->Re1->toPlainText(), QStringLiteral("question one"));
        QVERIFY(jx.isEnabled() && kd.isEnabled() && rev.isEnabled());
        QCOMPARE(notes.text(), QStringLiteral("笔记"));
        showRow(3); // an essay type: never revealed; a note reads 有内容
        QVERIFY(!rev.isEnabled() && !kd.isEnabled());
        QCOMPARE(notes.text(), QStringLiteral("有内容"));
        showRow(1); // back to a shared stem after a stand-alone: height 150 again
        QCOMPARE(p.ui->FlatSplitter1->sizes().value(1), 150);
        QVERIFY(dialogs.messages().empty() && dialogs.dialogTitles().isEmpty());
        DM1 = nullptr;
    }
};

QTEST_MAIN(TestQuestionPanel)
#include "tst_questionpanel.moc"
