// Menu commands: exact words, the quit check, settings in both modes, music, shell opens, about.
#include "platform/db/connection.h"
#include "platform/desktop/shellopen.h"
#include "platform/sound/soundcard.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "shell/uabout.h"
#include "shell/uconfig.h"
#include "shell/udlg.h"
#include "support/fakes.h"
#include "support/tempbank.h"
#include "ui_uabout.h"
#include "ui_uconfig.h"
#include "ui_udlg.h"

#include <QDoubleSpinBox>
#include <QTest>

class TestMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<TempBank> bank_;
    std::unique_ptr<ScriptedDialogs> dialogs_;
    std::unique_ptr<FakeClock> clock_;
    QStringList opened_;

    void sql(const QString& s, const db::Params& p = {}) { DM1->ADOCn1.execute(s, p); }

    // Answers the next message dialog of the program by pressing its visible button 3 or 1.
    void acceptNextDlg(QStringList* texts)
    {
        dialogs_->answerDialog([texts](QDialog& d) {
            auto& dlg = static_cast<TFrmDlg&>(d);
            *texts << dlg.ui->fcLabel1->text();
            return dlg.ui->fcShapeBtn3->isHidden() ? 1 : 3;
        });
    }

private slots:
    void init()
    {
        ResetGlobals();
        clock_ = std::make_unique<FakeClock>(QDateTime(QDate(2026, 12, 11), QTime(20, 0)));
        bank_ = std::make_unique<TempBank>(TempBank::EmptyBank{});
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(StartProgram(nullptr, bank_->folder()));
        const char* names[] = {"单项选择题", "多项选择题", "不定项选择题",
                               "配伍选择题", "案例分析题", "判断题"};
        const int codes[] = {61, 65, 66, 62, 64, 31};
        for (int k : {1, 3})
            for (int i = 0; i < 6; ++i)
                sql(QStringLiteral(
                        "insert into tab_tx%1 (A1, B1, B2, B3, [time]) values (:a, :b, 10, 1, 1.0)")
                        .arg(k),
                    {{"a", codes[i] + (k == 3 && i == 5 ? 10 : 0)},
                     {"b", QString::fromUtf8(names[i]) + u' '}});
        opened_.clear();
        desktop::setOpenHandler([this](const QString& p) {
            opened_ << p;
            return true;
        });
    }
    void cleanup()
    {
        desktop::setOpenHandler({});
        sound::setWaveOutputOverride(std::nullopt);
        StopProgram();
        dialogs_.reset();
        bank_.reset();
        clock_.reset();
    }

    void wordsAreExact()
    {
        for (const char* w : {"LX", "Quit", "ABOUT", "music ", "", "unknown"})
            FrmStart->ShockwaveFlash1FSCommand(QString::fromLatin1(w), QString());
        QVERIFY(FrmStart->isVisible());
        QVERIFY(dialogs_->messages().empty());
        QVERIFY(dialogs_->dialogTitles().isEmpty());
        QVERIFY(opened_.isEmpty());
    }

    void quitCheck_data()
    {
        QTest::addColumn<int>("mark");
        QTest::addColumn<int>("amount");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("logged"); // "answers|time" for today, or empty
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("closes");
        QTest::newRow("below, cancel")
            << 0 << 50 << 0 << "" << int(QMessageBox::Cancel) << "还未完成今日学习计划，要退出吗？" << false;
        QTest::newRow("below, ok") << 0 << 50 << 0 << "12|0:10:00" << int(QMessageBox::Ok)
                                   << "还未完成今日学习计划，要退出吗？" << true;
        QTest::newRow("no plan amount")
            << 0 << 0 << 0 << "" << int(QMessageBox::Ok) << "恭喜完成今日学习计划！" << true;
        QTest::newRow("above") << 0 << 2 << 0 << "5|0:10:00" << int(QMessageBox::Ok)
                               << "超额完成学习计划，要注意休息呦！" << true;
        QTest::newRow("minutes equal")
            << 1 << 0 << 30 << "3|0:30:59" << int(QMessageBox::Ok) << "恭喜完成今日学习计划！" << true;
        QTest::newRow("other mark") << 2 << 50 << 30 << "" << int(QMessageBox::Ok) << "" << false;
    }
    void quitCheck()
    {
        QFETCH(int, mark);
        QFETCH(int, amount);
        QFETCH(int, minutes);
        QFETCH(QString, logged);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        sql(QStringLiteral("update tab_plan set PlanMark=:m, PlanAmount=:a, PlanTime=:t"),
            {{"m", mark}, {"a", amount}, {"t", minutes}});
        if (!logged.isEmpty())
            sql(QStringLiteral("insert into tab_rz (A1, A2, D1) values ('2026-12-11', :n, :d)"),
                {{"n", logged.section(u'|', 0, 0).toInt()}, {"d", logged.section(u'|', 1)}});
        DM1->Cn1Table_rz.close(); // opened at start; the next reader opens it afresh
        dialogs_->answerMessage(QMessageBox::StandardButton(answer));
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
        if (message.isEmpty()) {
            QVERIFY(dialogs_->messages().empty());
        } else {
            QCOMPARE(dialogs_->messages().size(), size_t(1));
            QCOMPARE(dialogs_->messages()[0].text, message);
            QCOMPARE(dialogs_->messages()[0].title, QStringLiteral("提示"));
        }
        QCOMPARE(FrmStart->isVisible(), !closes);
        QCOMPARE(DM1->ADOCn1.isOpen(), !closes);
    }

    void answerTimesAreSavedOnClose()
    {
        PaperKind = 3;
        QStringList names;
        int lines = 0;
        bool musicHidden = false;
        dialogs_->answerDialog([&](QDialog& d) {
            auto& w = static_cast<TFrmConfig&>(d);
            w.show(); // what the modal loop would do first
            musicHidden = w.ui->MusicPanel->isHidden();
            lines = w.lineCount();
            if (w.timeField(3)) w.timeField(3)->setValue(2.5);
            w.ui->epFocusButton3->click();
            return w.result();
        });
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
        QVERIFY(musicHidden);
        QCOMPARE(lines, 6);
        QVERIFY(FrmConfig == nullptr);
        QCOMPARE(ConfigMode, 1);
        // Lines follow the table of kind 3 in type-code order; the third is type 62.
        QCOMPARE(TypeIds, (QVector<int>{41, 61, 62, 64, 65, 66}));
        QCOMPARE(TypeIntervals, (QVector<int>{600, 600, 1500, 600, 600, 600}));
        QCOMPARE(DM1->ADOCn1.scalar(QStringLiteral("select [time] from tab_tx3 where A1=62")).toDouble(),
                 2.5);
        QCOMPARE(DM1->ADOCn1.scalar(QStringLiteral("select [time] from tab_tx1 where A1=62")).toDouble(),
                 1.0);
    }

    void musicModeAndTunes()
    {
        sound::setWaveOutputOverride(false);
        QStringList shown;
        bool listHidden = false;
        QString afterSwitchOn, afterChoice, startState;
        dialogs_->answerDialog([&](QDialog& d) {
            auto& w = static_cast<TFrmConfig&>(d);
            w.show();
            listHidden = w.ui->ScrollBox1->isHidden() && !w.ui->MusicPanel->isHidden();
            startState = QStringLiteral("%1|%2|%3")
                             .arg(w.ui->FlatComboBox1->currentIndex())
                             .arg(w.ui->FlatComboBox1->count())
                             .arg(w.ui->RxSwitch1->isChecked());
            acceptNextDlg(&shown);
            w.ui->RxSwitch1->setChecked(false); // off: stops, but there is no sound card
            acceptNextDlg(&shown);
            w.ui->RxSwitch1->setChecked(true); // on with no tune chosen: the first tune
            afterSwitchOn = MusicFile;
            acceptNextDlg(&shown);
            w.ui->RxSwitch1->setChecked(false);
            acceptNextDlg(&shown);
            w.ui->FlatComboBox1->setCurrentIndex(2); // chosen while off: stored, not played
            afterChoice = MusicFile;
            w.ui->epFocusButton3->click();
            return w.result();
        });
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("music"), QString());
        QVERIFY(listHidden);
        QCOMPARE(startState, QStringLiteral("-1|6|1")); // no tune chosen, six tunes, switch on
        QCOMPARE(afterSwitchOn, AppPath + QStringLiteral("sound/乐曲01.mid"));
        QCOMPARE(afterChoice, AppPath + QStringLiteral("sound/乐曲03.mid"));
        QVERIFY(!MusicOn);
        QCOMPARE(shown.size(), 4);
        QCOMPARE(dialogs_->unanswered(), 0);
        for (const QString& t : shown)
            QCOMPARE(t, QStringLiteral("没发现声卡！"));
    }

    void unplayableTune()
    {
        sound::setWaveOutputOverride(true);
        QStringList shown;
        acceptNextDlg(&shown);
        FrmStart->PlayMusic(AppPath + QStringLiteral("sound/none.mid"), true);
        QCOMPARE(shown, QStringList{QStringLiteral("无法播放背景音乐！")});
    }

    void shellOpens()
    {
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("fg"), QString());
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("lxfs"), QString());
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("help"), QString());
        QCOMPARE(opened_, (QStringList{bank_->folder() + QStringLiteral("htm/Lexcorpus.htm"),
                                       bank_->folder() + QStringLiteral("htm/发行站及专业书店联系方式.htm"),
                                       bank_->folder() + QStringLiteral("zqhelp.chm")}));
    }

    void about()
    {
        bool noSystemButtons = false;
        QString caption, button;
        dialogs_->answerDialog([&](QDialog& d) {
            auto& w = static_cast<TFrmAbout&>(d);
            caption = w.windowTitle();
            button = w.ui->epEfTrBtn1->text();
            noSystemButtons = !(w.windowFlags() & Qt::WindowCloseButtonHint) &&
                              !(w.windowFlags() & Qt::WindowSystemMenuHint) &&
                              w.minimumSize() == w.maximumSize();
            w.ui->epEfTrBtn1->click();
            return w.result();
        });
        FrmStart->ShockwaveFlash1FSCommand(QStringLiteral("about"), QString());
        QCOMPARE(caption, QStringLiteral("关于"));
        QCOMPARE(button, QStringLiteral("关 闭"));
        QVERIFY(noSystemButtons);
        QVERIFY(FrmAbout == nullptr);
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
