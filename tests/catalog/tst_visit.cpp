// A whole practice visit as a learner makes it: menu "lx" -> catalog -> "练习新题" on a chapter ->
// three answers (one wrong) -> "关闭"; then the wrong one is in "错题重做".
#include "catalog/ukmmc.h"
#include "platform/db/connection.h"
#include "practice/answer.h"
#include "practice/questionpanel.h"
#include "practice/ulxxt.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "support/fakes.h"
#include "support/tempbank.h"

#include <QDir>
#include <QLCDNumber>
#include <QPushButton>
#include <QTest>

namespace {

QString wrongAnswer(int page, const QString& right)
{
    switch (page) {
    case PageFill:
        return right + QStringLiteral("错");
    case PageJudge:
        return right == u"A" ? QStringLiteral("B") : QStringLiteral("A");
    case PageSubjective:
        return QStringLiteral("0");
    default:
        return right.startsWith(u'A') ? QStringLiteral("B") : QStringLiteral("A");
    }
}

QPushButton* button(QWidget& w, const char* name)
{
    return w.findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

class TestVisit : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FakeClock> clock_;
    QStringList answered_;
    QString wrongKey_;
    int practiceRows_ = 0;
    int boardOk_ = -1;

    QVariant sql(const QString& s) { return DM1->ADOCn1.scalar(s); }

    // Opens the catalog from the menu, selects a chapter, launches a mode and lets practise()
    // work in the practice window before it is closed with "关闭".
    void visit(const char* launch, const std::function<void(TFrmLxxt&, QuestionPanel&)>& practise)
    {
        dialogs_->answerDialog([this, launch, practise](QDialog& d) {
            d.show();
            DM1->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("310102"));
            dialogs_->answerDialog([practise](QDialog& pd) {
                auto& p = static_cast<TFrmLxxt&>(pd);
                p.show();
                practise(p, *p.findChild<QuestionPanel*>());
                button(p, "BtnClose")->click();
                return p.result();
            });
            button(d, launch)->click();
            boardOk_ = d.findChild<QLCDNumber*>(QStringLiteral("epNum_ok"))->intValue();
            button(d, "SpeedButton6")->click();
            return d.result();
        });
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("lx"), QString());
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(19, 0)));
        bank_ = std::make_unique<TempBank>();
        bank_->installPictures();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
    }
    void cleanup()
    {
        StopProgram();
        dialogs_.reset();
        bank_.reset();
        clock_.reset();
    }

    void newQuestionsThenWrongOnes()
    {
        visit("SpeedButton1", [this](TFrmLxxt&, QuestionPanel& panel) {
            db::Recordset& list = DM1->Cn1Query_tm;
            practiceRows_ = list.recordCount();
            for (int i = 0; i < 3; ++i) {
                const int page = panel.page();
                const QString right = list.text(QStringLiteral("A2"));
                const QString given = i == 1 ? wrongAnswer(page, right) : right;
                if (i == 1) wrongKey_ = list.text(QStringLiteral("A1"));
                answered_ << list.text(QStringLiteral("A1"));
                panel.LoadAnswerControls(page, given, int(list.integer(QStringLiteral("A2_1"))));
                clock_->advance(20000);
                button(*panel.window(), "BtnNext")->click();
            }
        });
        QVERIFY(practiceRows_ >= 3);
        QCOMPARE(dialogs_->unanswered(), 0);
        // The learning record of the three questions.
        for (const QString& key : answered_) {
            const QString where = QStringLiteral(" from tab_answ where A1='%1'").arg(key);
            QCOMPARE(sql(QStringLiteral("select E3") + where).toInt(), 1);
            QCOMPARE(sql(QStringLiteral("select E4") + where).toInt(), key == wrongKey_ ? -3 : 0);
            QCOMPARE(sql(QStringLiteral("select E1") + where).toString(), QStringLiteral("2026-12-11"));
        }
        // Today's log: three answers, one wrong, the visit's minute of study.
        QCOMPARE(sql(QStringLiteral("select A2 from tab_rz")).toInt(), 3);
        QCOMPARE(sql(QStringLiteral("select A3 from tab_rz")).toInt(), 1);
        QCOMPARE(sql(QStringLiteral("select B1 from tab_rz")).toInt(), 3);
        QCOMPARE(sql(QStringLiteral("select B2 from tab_rz")).toInt(), 1);
        QCOMPARE(sql(QStringLiteral("select D1 from tab_rz")).toString(), QStringLiteral("00:01:00"));
        QCOMPARE(sql(QStringLiteral("select A4 from tab_rz")).toString(), QStringLiteral("66.67"));
        // The chapter and every ancestor row.
        for (const char* code : {"310102", "3101", "31", "3"}) {
            const QString where = QStringLiteral(" from tab_kmmc where C1='%1'").arg(QLatin1String(code));
            QCOMPARE(sql(QStringLiteral("select C4") + where).toInt(), 3);
            QCOMPARE(sql(QStringLiteral("select D1") + where).toInt(), 3);
            QCOMPARE(sql(QStringLiteral("select D2") + where).toInt(), 1);
            QCOMPARE(sql(QStringLiteral("select C6") + where).toString(), QStringLiteral("66.67"));
        }
        QCOMPARE(boardOk_, 3); // the catalog came back with fresh figures

        // The wrong question is now the chapter's wrong-question set.
        QString onlyKey;
        int rows = 0;
        visit("SpeedButton2", [&](TFrmLxxt&, QuestionPanel&) {
            rows = DM1->Cn1Query_tm.recordCount();
            onlyKey = DM1->Cn1Query_tm.text(QStringLiteral("A1"));
        });
        QCOMPARE(rows, 1);
        QCOMPARE(onlyKey, wrongKey_);
    }
};

QTEST_MAIN(TestVisit)
#include "tst_visit.moc"
