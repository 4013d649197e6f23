// The start sequence: failures with their messages, the single copy, the main window's first show.
#include "platform/db/connection.h"
#include "platform/desktop/singleinstance.h"
#include "shell/common.h"
#include "shell/dm.h"
#include "shell/start.h"
#include "shell/startup.h"
#include "shell/udlg.h"
#include "shell/uprogress.h"
#include "support/fakes.h"
#include "support/tempbank.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void init() { ResetGlobals(); }
    void cleanup() { StopProgram(); }

    void unreachableBank_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("wrong password") << "password";
        QTest::newRow("not a database") << "junk";
    }
    void unreachableBank()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        const QString bank = dir.filePath(QStringLiteral("data/QB51846.mdb"));
        if (kind == u"password") {
            db::Connection::create(bank, QStringLiteral("another-password"));
        } else if (kind == u"junk") {
            QFile f(bank);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, '\x5a'));
        }
        ScriptedDialogs dialogs;
        QVERIFY(!StartProgram(nullptr, dir.path()));
        QCOMPARE(dialogs.messages().size(), size_t(1));
        QCOMPARE(dialogs.messages()[0].title, QStringLiteral("错误"));
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("无法连接数据库！"));
        QCOMPARE(dialogs.messages()[0].icon, QMessageBox::Critical);
        QVERIFY(DM1 == nullptr);
        QVERIFY(FrmStart == nullptr);
        if (kind == u"missing") QVERIFY(!QFile::exists(bank)); // nothing is created
    }

    void startsOnAGoodBank()
    {
        TempBank bank(TempBank::EmptyBank{});
        {
            db::Connection cn;
            cn.open(bank.connectionString());
            cn.execute(
                QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (61, 'a', 30, 1, 1)"));
            cn.execute(
                QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (71, 'b', 0, 5, 2.25)"));
            cn.execute(
                QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, [time]) values (65, 'c', 40, 2, 0.1)"));
        }
        ScriptedDialogs dialogs;
        FakeClock clock;
        QVERIFY(StartProgram(nullptr, bank.folder()));
        QVERIFY(dialogs.messages().empty());
        QVERIFY(FrmStart && FrmProgress && FrmDlg && DM1);
        QCOMPARE(AppPath, bank.folder());
        QVERIFY(FrmStart->isVisible());
        QVERIFY(!FrmStart->terminationRequested());
        QVERIFY(FrmStart->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(ScreenMode == u"800" || ScreenMode == u"1024");
        QVERIFY(MusicOn);
        QCOMPARE(PaperKind, 1);
        QCOMPARE(CurrentWaveVolume(), 0x99999999u);
        QCOMPARE(TypeIds, (QVector<int>{61, 71, 65}));
        QCOMPARE(TypeIntervals, (QVector<int>{600, 1350, 60}));
        // Closing the main window closes the connection.
        FrmStart->close();
        QVERIFY(!DM1->ADOCn1.isOpen());
    }

    void dailyLimit_data()
    {
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("ends");
        QTest::newRow("just under a day") << "23:59:59" << false;
        QTest::newRow("a whole day") << "24:00:00" << true;
    }
    void dailyLimit()
    {
        QFETCH(QString, logged);
        QFETCH(bool, ends);
        TempBank bank(TempBank::EmptyBank{});
        {
            db::Connection cn;
            cn.open(bank.connectionString());
            cn.execute(QStringLiteral("insert into tab_rz (A1, A2, D1) values ('2026-12-11', 3, :d)"),
                       {{"d", logged}});
        }
        ScriptedDialogs dialogs;
        FakeClock clock;
        QVERIFY(StartProgram(nullptr, bank.folder()));
        QCOMPARE(FrmStart->terminationRequested(), ends);
        QVERIFY(dialogs.messages().empty());
    }

    void emptyTypeTableKeepsTheTimings()
    {
        TempBank bank(TempBank::EmptyBank{});
        TypeIds = {1};
        TypeIntervals = {2};
        ScriptedDialogs dialogs;
        QVERIFY(StartProgram(nullptr, bank.folder()));
        QCOMPARE(TypeIds, QVector<int>{1});
        QCOMPARE(TypeIntervals, QVector<int>{2});
    }

    void secondCopyActivatesTheFirst()
    {
        QTemporaryDir locks;
        desktop::SingleInstance first(QStringLiteral("Orvanta"), locks.path());
        QSignalSpy asked(&first, &desktop::SingleInstance::activationRequested);
        QVERIFY(!first.activateRunningInstance());
        desktop::SingleInstance second(QStringLiteral("Orvanta"), locks.path());
        QVERIFY(second.activateRunningInstance());
        QTRY_COMPARE(asked.count(), 1);
        // Another program's key does not block.
        desktop::SingleInstance other(QStringLiteral("Other"), locks.path());
        QVERIFY(!other.activateRunningInstance());
    }

    void secondCopyEndsWithoutShowingAnything()
    {
        QTemporaryDir locks;
        desktop::SingleInstance first(QStringLiteral("Orvanta"), locks.path());
        QVERIFY(!first.activateRunningInstance());
        desktop::SingleInstance second(QStringLiteral("Orvanta"), locks.path());
        TempBank bank(TempBank::EmptyBank{});
        ScriptedDialogs dialogs;
        QVERIFY(!StartProgram(&second, bank.folder()));
        QVERIFY(DM1 == nullptr && FrmStart == nullptr);
        QVERIFY(dialogs.messages().empty());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
