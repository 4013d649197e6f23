// Mock papers from the menu: "mnks" ... "mnks5" generate a paper and open it for taking.
#include "exam/uexam.h"
#include "platform/db/connection.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "shell/uprogress.h"
#include "support/fakes.h"
#include "support/tempbank.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

class TestMnks : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FakeClock> clock_;
    std::unique_ptr<ScriptedRandom> random_;

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(15, 0)));
        random_ = std::make_unique<ScriptedRandom>(11);
        bank_ = std::make_unique<TempBank>(QStringLiteral("sample.mdb"));
        bank_->installPictures();
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
    }
    void cleanup()
    {
        StopProgram();
        dialogs_.reset();
        bank_.reset();
        random_.reset();
        clock_.reset();
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("questions");
        QTest::addColumn<QString>("title");
        QTest::newRow("mnks") << "mnks" << 1 << 90 << "综合知识模拟试卷";
        QTest::newRow("mnks2") << "mnks2" << 2 << 100 << "专业知识（一）模拟试卷";
        QTest::newRow("mnks3") << "mnks3" << 3 << 100 << "专业知识（二）模拟试卷";
        QTest::newRow("mnks4") << "mnks4" << 4 << 10 << "综合分析题专项模拟";
        QTest::newRow("mnks5") << "mnks5" << 5 << 6 << "案例分析题专项模拟";
    }
    void kinds()
    {
        QFETCH(QString, word);
        QFETCH(int, kind);
        QFETCH(int, questions);
        QFETCH(QString, title);
        QString seen;
        int rows = -1;
        bool outOfOrder = false;
        dialogs_->answerDialog([&](QDialog& d) {
            auto* exam = qobject_cast<TFrmExam*>(&d);
            if (!exam) return 0;
            exam->show();
            seen = exam->ExamMode + u'|' + exam->PaperTable + u'|' + exam->PaperName;
            rows = DM1->Cn1Query_exam.recordCount();
            // Numbered by type, then by key; nothing answered yet in this paper.
            db::Recordset& paper = DM1->Cn1Query_exam;
            QString previous;
            for (int i = 1; i <= paper.recordCount(); ++i) {
                paper.setRecNo(i);
                const QString sortKey =
                    QStringLiteral("%1|").arg(paper.integer(QStringLiteral("A13")), 3, 10, QLatin1Char('0')) +
                    paper.text(QStringLiteral("A1"));
                if (sortKey <= previous || !paper.text(QStringLiteral("E2_1")).isEmpty()) outOfOrder = true;
                previous = sortKey;
            }
            // Closing a paper with nothing answered hands it in, and it is deleted without asking.
            exam->findChild<QPushButton*>(QStringLiteral("epEfTrBtn7"))->click();
            return exam->result();
        });
        FrmStart->ShockwaveFlash1FSCommand(word, QString());
        QCOMPARE(seen, QStringLiteral("new|tab_exam1|2026年12月11日") + title + QStringLiteral("[1]"));
        QCOMPARE(rows, questions);
        QVERIFY(!outOfOrder);
        QCOMPARE(PaperKind, kind); // the kind just run stays current
        QVERIFY(FrmExam == nullptr);
        QVERIFY(!DM1->ADOCn1.tableExists(QStringLiteral("tab_exam1")));
        QCOMPARE(DM1->ADOCn1.scalar(QStringLiteral("select count(*) from tab_cj")).toInt(), 0);
        QVERIFY(!FrmProgress || !FrmProgress->isVisible());
    }
};

QTEST_MAIN(TestMnks)
#include "tst_mnks.moc"
