// Opening files, the password gate, transactions, another file's tables, and the catalogue.
#include "platform/db/connection.h"
#include "shell/schema.h"
#include "support/tempbank.h"

#include <QFile>
#include <QTest>

class TestConnection : public QObject {
    Q_OBJECT

    static QString cs(const QString& path, const QString& pw) { return schema::connectionString(path, pw); }

private slots:
    void connectionStringHasTheProviderForm()
    {
        const QString s = cs(QStringLiteral("/p/data/QB51846.mdb"), QStringLiteral("k3m9q2w7zt5rx8vb1nd6"));
        QVERIFY(
            s.startsWith(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/p/data/"
                                        "QB51846.mdb;Mode=Share Deny None;Extended Properties=\"\";")));
        QVERIFY(s.contains(
            QStringLiteral(";Jet OLEDB:Database Password=k3m9q2w7zt5rx8vb1nd6;Jet OLEDB:Engine Type=5;")));
        QVERIFY(
            s.endsWith(QStringLiteral("Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False")));
        QCOMPARE(s.count(u';'), 19);
        const auto parsed = db::ConnectionString::parse(s);
        QCOMPARE(parsed.dataSource, QStringLiteral("/p/data/QB51846.mdb"));
        QCOMPARE(parsed.password, QStringLiteral("k3m9q2w7zt5rx8vb1nd6"));
        QCOMPARE(db::ConnectionString::parse(cs(QStringLiteral("/u.mdb"), {})).password, QString());
    }

    void passwordGate_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("opens");
        QTest::newRow("right") << QString::fromLatin1(schema::BankPassword) << true;
        QTest::newRow("wrong") << QStringLiteral("k3m9q2w7zt5rx8vb1nd7") << false;
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("different case") << QString::fromLatin1(schema::BankPassword).toUpper() << false;
    }
    void passwordGate()
    {
        QFETCH(QString, password);
        QFETCH(bool, opens);
        TempBank bank;
        db::Connection cn;
        if (opens) {
            cn.open(cs(bank.path(), password));
            QVERIFY(cn.userTables().contains(QStringLiteral("tab_answ")));
            QVERIFY(!cn.userTables().contains(QStringLiteral("sys_gate")));
        } else {
            QVERIFY_THROWS_EXCEPTION(db::Error, cn.open(cs(bank.path(), password)));
            QVERIFY(!cn.isOpen());
        }
    }

    void unopenableFiles()
    {
        TempBank place;
        db::Connection cn;
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.open(cs(place.scratch(QStringLiteral("none.mdb")), {})));
        QVERIFY(!QFile::exists(place.scratch(QStringLiteral("none.mdb")))); // opening never creates
        QFile junk(place.scratch(QStringLiteral("junk.mdb")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'x'));
        junk.close();
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.open(cs(junk.fileName(), {})));
    }

    void durableSettings()
    {
        TempBank bank;
        db::Connection cn;
        cn.open(bank.connectionString());
        QCOMPARE(cn.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(cn.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2); // FULL
    }

    void failedStatementRollsBackTheTransaction()
    {
        TempBank bank;
        db::Connection cn;
        cn.open(bank.connectionString());
        const int before = cn.scalar(QStringLiteral("select count(*) from tab_sj")).toInt();
        cn.begin();
        cn.execute(QStringLiteral("insert into tab_sj(sjbs,cpbs) values(:sjbs,:cpbs)"),
                   {{"sjbs", QStringLiteral("升级包01")}, {"cpbs", QStringLiteral("QB51846")}});
        cn.execute(QStringLiteral("update tab_plan set PlanAmount = 5"));
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.execute(QStringLiteral("insert into tab_nothing values (1)")));
        cn.rollback();
        QCOMPARE(cn.transactionLevel(), 0);
        QCOMPARE(cn.scalar(QStringLiteral("select count(*) from tab_sj")).toInt(), before);
        QVERIFY(cn.scalar(QStringLiteral("select PlanAmount from tab_plan")).toInt() != 5);
        // A fresh connection sees the same.
        db::Connection other;
        other.open(bank.connectionString());
        QCOMPARE(other.scalar(QStringLiteral("select count(*) from tab_sj")).toInt(), before);
    }

    void nestedTransactions()
    {
        TempBank bank;
        db::Connection cn;
        cn.open(bank.connectionString());
        cn.begin();
        cn.execute(QStringLiteral("update tab_plan set PlanAmount = 7"));
        cn.begin();
        cn.execute(QStringLiteral("update tab_plan set PlanTime = 9"));
        cn.rollback();
        cn.commit();
        QCOMPARE(cn.scalar(QStringLiteral("select PlanAmount from tab_plan")).toInt(), 7);
        QVERIFY(cn.scalar(QStringLiteral("select PlanTime from tab_plan")).toInt() != 9);
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.commit());
    }

    void readsATableOfAnotherFile()
    {
        TempBank bank;
        // An update file: same layout, no password, one new chapter row.
        const QString update = bank.scratch(QStringLiteral("升级 O'Brien.mdb"));
        {
            db::Connection::create(update, {});
            db::Connection u;
            u.openFile(update, {});
            schema::createBankTables(u);
            u.execute(
                QStringLiteral("insert into tab_kmmc (bh, C1, C2) values (9999, '999999', '新增章节')"));
        }
        db::Connection cn;
        cn.open(bank.connectionString());
        const int before = cn.scalar(QStringLiteral("select count(*) from tab_kmmc")).toInt();
        QString quoted = update;
        quoted.replace(u'\'', QStringLiteral("''"));
        cn.begin();
        cn.execute(QStringLiteral("insert into tab_kmmc select * from tab_kmmc in '") + quoted + u'\'');
        cn.commit();
        QCOMPARE(cn.scalar(QStringLiteral("select count(*) from tab_kmmc")).toInt(), before + 1);
        QCOMPARE(cn.scalar(QStringLiteral("select C2 from tab_kmmc where C1='999999'")).toString(),
                 QStringLiteral("新增章节"));
        // The file was let go after the transaction: it can be removed and read again.
        QCOMPARE(cn.scalar(QStringLiteral("select count(*) from pragma_database_list")).toInt(), 1);
        QCOMPARE(cn.scalar(QStringLiteral("select count(*) from tab_sj in '") + quoted + u'\'').toInt(), 1);
        QVERIFY_THROWS_EXCEPTION(
            db::Error, cn.scalar(QStringLiteral("select count(*) from tab_sj in '/no/such/file.mdb'")));
    }

    void catalogue()
    {
        TempBank bank;
        db::Connection cn;
        cn.open(bank.connectionString());
        cn.execute(QStringLiteral("CREATE TABLE tab_exam3 (A1 TEXT(20) NOT NULL PRIMARY KEY, A2 TEXT(100), "
                                  "E2_1 TEXT(100), K3 TEXT(12))"));
        QVERIFY(cn.userTables().contains(QStringLiteral("tab_exam3")));
        cn.execute(QStringLiteral("insert into tab_exam3 (A1, A2) values ('q1', 'A')"));
        // Empty strings are refused until allowed, and only in the allowed columns.
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.execute(QStringLiteral("Update tab_exam3 set E2_1= ''")));
        QVERIFY_THROWS_EXCEPTION(db::Error,
                                 cn.allowZeroLength(QStringLiteral("tab_exam3"),
                                                    {QStringLiteral("E2_1"), QStringLiteral("nope")}));
        cn.allowZeroLength(QStringLiteral("tab_exam3"), {QStringLiteral("A2"), QStringLiteral("e2_1")});
        QCOMPARE(cn.execute(QStringLiteral("Update tab_exam3 set E2_1= ''")), 1);
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.execute(QStringLiteral("Update tab_exam3 set K3= ''")));
        QVERIFY_THROWS_EXCEPTION(db::Error,
                                 cn.allowZeroLength(QStringLiteral("tab_exam9"), {QStringLiteral("A2")}));
        cn.dropTable(QStringLiteral("TAB_EXAM3"));
        QVERIFY(!cn.tableExists(QStringLiteral("tab_exam3")));
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.dropTable(QStringLiteral("tab_exam3")));
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.dropTable(QStringLiteral("sys_gate")));
    }

    void binaryParameters()
    {
        TempBank bank;
        db::Connection cn;
        cn.open(bank.connectionString());
        QByteArray rtf("{\\rtf1\\ansi\\ansicpg936 \\'b0\\'b2\\'c8\\'ab}");
        rtf.append('\0').append("tail");
        cn.execute(QStringLiteral("insert into tab_exer (A1, A15) values (:A1, :A15)"),
                   {{"A1", QStringLiteral("ZZ0000000001")}, {"A15", rtf}});
        QCOMPARE(cn.scalar(QStringLiteral("select A15 from tab_exer where A1=:A1"),
                           {{"A1", QStringLiteral("zz0000000001")}})
                     .toByteArray(),
                 rtf);
        QVERIFY_THROWS_EXCEPTION(db::Error, cn.execute(QStringLiteral("select 1"), {{"nope", 1}}));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
