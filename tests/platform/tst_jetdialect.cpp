// Jet functions and statement forms, evaluated by the engine.
#include "platform/db/connection.h"
#include "platform/db/jetdialect.h"
#include "support/tempbank.h"

#include <QTemporaryDir>
#include <QTest>

class TestJetDialect : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    db::Connection cn_;

private slots:
    void initTestCase()
    {
        const QString path = dir_.filePath(QStringLiteral("d.db"));
        db::Connection::create(path, {});
        cn_.openFile(path, {});
        cn_.execute(
            QStringLiteral("CREATE TABLE t (A1 TEXT(20) NOT NULL PRIMARY KEY, A10 TEXT(6), n INTEGER)"));
        cn_.allowZeroLength(QStringLiteral("t"), {QStringLiteral("A10")});
        cn_.execute(QStringLiteral("insert into t values ('US0000000012', '030101', 1)"));
        cn_.execute(QStringLiteral("insert into t values ('US0000000107', '030102', 2)"));
        cn_.execute(QStringLiteral("insert into t values ('abc', '041101', 3)"));
    }

    void expressions_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariant>("expected");
        auto row = [](const char* name, const char* sql, QVariant v) {
            QTest::newRow(name) << QString::fromUtf8(sql) << v;
        };
        row("Left ascii", "select Left('030101', 2)", QString("03"));
        row("Left chinese", "select Left('安全生产法', 2)", QString("安全"));
        row("Right chinese", "select Right('安全生产法', 3)", QString("生产法"));
        row("Right longer than text", "select Right('法规', 5)", QString("法规"));
        row("Left zero", "select Left('abc', 0)", QString(""));
        row("Mid from 2", "select Mid('第十八条规定', 2, 3)", QString("十八条"));
        row("Mid to end", "select Mid('第十八条', 3)", QString("八条"));
        row("len counts characters", "select len('应急管理部')", QVariant(qlonglong(5)));
        row("len mixed", "select LEN('A安全1')", QVariant(qlonglong(4)));
        row("len null", "select len(null)", QVariant());
        row("CINT half to even down", "select CINT(2.5)", QVariant(qlonglong(2)));
        row("CINT half to even up", "select CINT(3.5)", QVariant(qlonglong(4)));
        row("CINT negative half", "select CINT(-2.5)", QVariant(qlonglong(-2)));
        row("CINT of text", "select CINT('0107')", QVariant(qlonglong(107)));
        row("CINT of Right", "select CINT(Right('US0000000107', 4))", QVariant(qlonglong(107)));
        row("Rtrim", "select Rtrim('第一条   ')", QString("第一条"));
        row("UCase", "select UCase('ab')", QString("AB"));
        row("date literal", "select #2026-12-11#", QString("2026-12-11"));
        row("us date literal", "select #12/1/2026#", QString("2026-12-01"));
        row("double-quoted string", "select \"文本\"", QString("文本"));
        row("text compares without case", "select count(*) from t where A1 = 'ABC'", QVariant(qlonglong(1)));
        row("text in list without case", "select count(*) from t where A1 in ('ABC','us0000000012')",
            QVariant(qlonglong(2)));
        row("max of user keys", "select MAX(CINT(Right(A1,4))) as r4m from tab where Left(A1,1) = 'U'",
            QVariant(qlonglong(107)));
        row("left in a where clause",
            "select count(*) from t where (Left(A10,1) = '0') and Left(A10,2) = '03'",
            QVariant(qlonglong(2)));
    }
    void expressions()
    {
        QFETCH(QString, sql);
        QFETCH(QVariant, expected);
        sql.replace(QStringLiteral("from tab "), QStringLiteral("from t "));
        const QVariant got = cn_.scalar(sql);
        if (!expected.isValid()) {
            QVERIFY2(got.isNull() || !got.isValid(), qPrintable(got.toString()));
            return;
        }
        QCOMPARE(got.toString(), expected.toString());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("CINT overflow") << QStringLiteral("select CINT(40000)");
        QTest::newRow("CINT of words") << QStringLiteral("select CINT('abc')");
        QTest::newRow("negative Left") << QStringLiteral("select Left('abc', -1)");
        QTest::newRow("unterminated string") << QStringLiteral("select 'abc");
        QTest::newRow("second statement") << QStringLiteral("select 1; delete from t");
        QTest::newRow("unknown column") << QStringLiteral("select nope from t");
    }
    void failures()
    {
        QFETCH(QString, sql);
        QVERIFY_THROWS_EXCEPTION(db::Error, cn_.scalar(sql));
        QCOMPARE(cn_.scalar(QStringLiteral("select count(*) from t")).toInt(), 3);
    }

    void deleteStar()
    {
        cn_.begin();
        QCOMPARE(cn_.execute(QStringLiteral("delete * from t where A1='abc'")), 1);
        QCOMPARE(cn_.scalar(QStringLiteral("select count(*) from t")).toInt(), 2);
        cn_.rollback();
        QCOMPARE(cn_.scalar(QStringLiteral("select count(*) from t")).toInt(), 3);
    }

    void translationLeavesStringsAlone()
    {
        const auto tr = db::jet::translate(
            QStringLiteral("select 'Left(x) in ''y''' from t where a in ('p')"),
            [](const QString&) -> QString { throw db::Error(QStringLiteral("must not attach")); });
        QCOMPARE(tr.sql, QStringLiteral("select 'Left(x) in ''y''' from t where a in ('p')"));
        QVERIFY(!tr.usesOtherFile);
    }

    void paperTableTypes()
    {
        // The exam paper layout: every Jet type it uses, the key, and the text limits.
        cn_.execute(QStringLiteral(
            "CREATE TABLE tab_exam1(A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A2_1 SMALLINT,K3 TEXT(12),"
            "A10 TEXT(6),A13 SMALLINT,A14 MEMO,E1 DATETIME,E3 SMALLINT,jx IMAGE,csbs TEXT(2),A6 DOUBLE,n "
            "INTEGER)"));
        cn_.execute(QStringLiteral("insert into tab_exam1 (A1,A2,A2_1,A13,A14,E1,jx,A6,n) values "
                                   "(:a1,'AC',5,65,:memo,:d,:jx,:f,:n)"),
                    {{"a1", QStringLiteral("030101650001")},
                     {"memo", QString(5000, QChar(u'记'))},
                     {"d", QDate(2026, 12, 11)},
                     {"jx", QByteArray("{\\rtf1 \\'b0\\'b2}")},
                     {"f", 87.5},
                     {"n", 70000}});
        QCOMPARE(cn_.scalar(QStringLiteral("select typeof(A2_1) from tab_exam1")).toString(),
                 QStringLiteral("integer"));
        QCOMPARE(cn_.scalar(QStringLiteral("select E1 from tab_exam1")).toString(),
                 QStringLiteral("2026-12-11"));
        QCOMPARE(cn_.scalar(QStringLiteral("select jx from tab_exam1")).toByteArray(),
                 QByteArray("{\\rtf1 \\'b0\\'b2}"));
        QCOMPARE(cn_.scalar(QStringLiteral("select len(A14) from tab_exam1")).toInt(), 5000);
        QCOMPARE(cn_.scalar(QStringLiteral("select count(*) from tab_exam1 where a1='030101650001'")).toInt(),
                 1);
        // Too long for TEXT(2), outside SMALLINT, duplicate key, missing key: all refused.
        QVERIFY_THROWS_EXCEPTION(db::Error, cn_.execute(QStringLiteral("update tab_exam1 set csbs='YYY'")));
        QVERIFY_THROWS_EXCEPTION(db::Error, cn_.execute(QStringLiteral("update tab_exam1 set A13=40000")));
        QVERIFY_THROWS_EXCEPTION(
            db::Error, cn_.execute(QStringLiteral("insert into tab_exam1 (A1) values ('030101650001')")));
        QVERIFY_THROWS_EXCEPTION(db::Error,
                                 cn_.execute(QStringLiteral("insert into tab_exam1 (A2) values ('A')")));
        cn_.dropTable(QStringLiteral("tab_exam1"));
    }
};

QTEST_GUILESS_MAIN(TestJetDialect)
#include "tst_jetdialect.moc"
