// Client cursor behaviour: positions, filters with nulls, sort, locate, write-through edits, clones.
#include "platform/db/connection.h"
#include "platform/db/recordset.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRecordset : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::Connection> cn_;

    // Questions: key, type, chapter, flag (null for one row), last answer.
    void fill()
    {
        cn_->execute(QStringLiteral("delete * from q"));
        const struct {
            const char* a1;
            int a13;
            const char* a10;
            QVariant f1;
            QVariant e1;
        } rows[] = {
            {"q01", 61, "030101", 0, QDate(2026, 12, 1)},  {"q02", 65, "030102", 0, QVariant()},
            {"q03", 61, "031101", 1, QVariant()},          {"q04", 61, "041101", 0, QVariant()},
            {"q05", 61, "030201", QVariant(), QVariant()}, {"q06", 66, "030101", 2, QVariant()},
            {"Q07", 61, "3", 0, QDate(2026, 12, 11)},
        };
        for (const auto& r : rows)
            cn_->execute(
                QStringLiteral("insert into q (A1, A13, A10, F1, E1) values (:a1, :a13, :a10, :f1, :e1)"),
                {{"a1", QString::fromLatin1(r.a1)},
                 {"a13", r.a13},
                 {"a10", QString::fromLatin1(r.a10)},
                 {"f1", r.f1},
                 {"e1", r.e1}});
    }

    QStringList keys(db::Recordset& rs)
    {
        QStringList out;
        for (rs.first(); !rs.eof(); rs.next())
            out << rs.text(QStringLiteral("a1"));
        return out;
    }

private slots:
    void initTestCase()
    {
        path_ = dir_.filePath(QStringLiteral("r.db"));
        db::Connection::create(path_, {});
        cn_ = std::make_unique<db::Connection>();
        cn_->openFile(path_, {});
        cn_->execute(
            QStringLiteral("CREATE TABLE q (A1 TEXT(20) NOT NULL PRIMARY KEY, A13 SMALLINT, A10 TEXT(6), "
                           "F1 SMALLINT, E1 DATETIME, E2 TEXT(100), A14 MEMO)"));
        cn_->allowZeroLength(QStringLiteral("q"), {QStringLiteral("E2")});
    }
    void init() { fill(); }

    void navigation()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q order by A1"));
        QCOMPARE(rs.recordCount(), 7);
        QCOMPARE(rs.recNo(), 1);
        QVERIFY(rs.bof());
        QVERIFY(!rs.eof());
        rs.setRecNo(4);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q04"));
        rs.last();
        QVERIFY(rs.eof());
        rs.next(); // past the end: stays on the last row
        QCOMPARE(rs.recNo(), 7);
        QCOMPARE(rs.text(QStringLiteral("a1")), QStringLiteral("Q07"));
        rs.first();
        rs.prior();
        QVERIFY(rs.bof());
        QCOMPARE(rs.recNo(), 1);
        rs.setRecNo(99); // out of range: no move
        QCOMPARE(rs.recNo(), 1);
        QVERIFY(rs.isNull(QStringLiteral("E2")));
        QCOMPARE(rs.date(QStringLiteral("E1")), QDate(2026, 12, 1));
        QCOMPARE(rs.value(QStringLiteral("e1")).typeId(), QMetaType::QDate);
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.value(QStringLiteral("nope")));
        rs.open(QStringLiteral("select * from q where A1='none'"));
        QVERIFY(rs.isEmpty() && rs.bof() && rs.eof());
        QCOMPARE(rs.recNo(), 0);
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.value(QStringLiteral("A1")));
    }

    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("draw filter") << "A13=61 and a10 like '03*' and f1<>1" << QStringList{"q01"};
        QTest::newRow("null flag fails both tests")
            << "f1<>1 or f1=1" << QStringList{"q01", "q02", "q03", "q04", "q06", "Q07"};
        QTest::newRow("percent wildcard")
            << "a10 like '03%'" << QStringList{"q01", "q02", "q03", "q05", "q06"};
        QTest::newRow("text without case") << "A1='q07'" << QStringList{"Q07"};
        QTest::newRow("not equal text") << "a10<>'030101'" << QStringList{"q02", "q03", "q04", "q05", "Q07"};
        QTest::newRow("parentheses") << "(A13=65 or A13=66) and F1>=0" << QStringList{"q02", "q06"};
        QTest::newRow("is null") << "F1 = null" << QStringList{"q05"};
        QTest::newRow("date") << "E1 >= #2026-12-02#" << QStringList{"Q07"};
        QTest::newRow("not like") << "a10 not like '03*'" << QStringList{"q04", "Q07"};
    }
    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q order by A1"));
        rs.setFilter(filter);
        rs.setFiltered(true);
        QCOMPARE(keys(rs), expected);
        QCOMPARE(rs.recordCount(), expected.size());
        rs.setFiltered(false);
        QCOMPARE(rs.recordCount(), 7);
    }

    void recordNumbersCountWithinTheFilter()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q order by A1"));
        rs.setFiltered(true);
        rs.setFilter(QStringLiteral("A13=61"));
        QCOMPARE(rs.recordCount(), 5);
        rs.setRecNo(3);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q04"));
        rs.setRecNo(5);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07"));
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.setFilter(QStringLiteral("A13==")));
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.setFilter(QStringLiteral("nope=1")));
        QCOMPARE(rs.recordCount(), 5); // a bad filter leaves the old one in force
    }

    void sortAndLocate()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q"));
        rs.setSort(QStringLiteral("A13 DESC, A1 ASC"));
        QCOMPARE(keys(rs), (QStringList{"q06", "q02", "q01", "q03", "q04", "q05", "Q07"}));
        rs.setSort(QStringLiteral("F1"));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07")); // sorting keeps the current row
        rs.first();
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q05")); // null sorts first
        QVERIFY(rs.locate(QStringLiteral("A1"), QStringLiteral("q07")));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07"));
        QVERIFY(!rs.locate(QStringLiteral("A1"), QStringLiteral("q07"), db::Recordset::CaseSensitive));
        QVERIFY(rs.locate({QStringLiteral("A13"), QStringLiteral("A10")}, {66, QStringLiteral("030101")}));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q06"));
        QVERIFY(rs.locate(QStringLiteral("A10"), QStringLiteral("0411"), db::Recordset::PartialKey));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q04"));
        QVERIFY(rs.locate(QStringLiteral("E1"), QDate(2026, 12, 11)));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07"));
        QVERIFY(!rs.locate(QStringLiteral("A1"), QStringLiteral("zz")));
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07")); // a failed locate does not move
    }

    void editsAreWrittenThroughByKey()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select A1, E2, A14, F1 from q where A13 = 61 order by A1"));
        QVERIFY(rs.canModify());
        QSignalSpy changed(&rs, &db::Recordset::dataChanged);
        rs.setRecNo(2);
        rs.edit();
        rs.setValue(QStringLiteral("E2"), QStringLiteral("B"));
        rs.setValue(QStringLiteral("A14"), QStringLiteral("笔记：注意第十八条"));
        QCOMPARE(rs.text(QStringLiteral("E2")), QStringLiteral("B")); // the buffer is what the row shows
        rs.post();
        QVERIFY(changed.count() >= 2);
        QCOMPARE(rs.state(), db::Recordset::State::Browse);
        QCOMPARE(cn_->scalar(QStringLiteral("select E2 from q where A1='q03'")).toString(),
                 QStringLiteral("B"));
        QCOMPARE(cn_->scalar(QStringLiteral("select A14 from q where A1='q03'")).toString(),
                 QStringLiteral("笔记：注意第十八条"));
        // Setting a value while browsing starts an edit; moving posts it.
        rs.setValue(QStringLiteral("F1"), QStringLiteral("2"));
        QCOMPARE(rs.state(), db::Recordset::State::Edit);
        rs.next();
        QCOMPARE(cn_->scalar(QStringLiteral("select typeof(F1) || F1 from q where A1='q03'")).toString(),
                 QStringLiteral("integer2"));
        rs.setRecNo(2);
        QCOMPARE(rs.value(QStringLiteral("F1")).toInt(), 2); // re-read as stored
        // Cancel drops the buffer.
        rs.setValue(QStringLiteral("E2"), QStringLiteral("C"));
        rs.cancel();
        QCOMPARE(rs.text(QStringLiteral("E2")), QStringLiteral("B"));
        // A refused value leaves the row in edit and the table unchanged.
        rs.setValue(QStringLiteral("E2"), QString(101, u'x'));
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.post());
        QCOMPARE(rs.state(), db::Recordset::State::Edit);
        rs.cancel();
        QCOMPARE(cn_->scalar(QStringLiteral("select E2 from q where A1='q03'")).toString(),
                 QStringLiteral("B"));
    }

    void appendAndDelete()
    {
        db::Recordset rs(*cn_);
        rs.openTable(QStringLiteral("q"));
        rs.setSort(QStringLiteral("A1"));
        rs.append();
        rs.setValue(QStringLiteral("A1"), QStringLiteral("q08"));
        rs.setValue(QStringLiteral("E1"), QDate(2026, 12, 12));
        rs.post();
        QCOMPARE(rs.recordCount(), 8);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q08"));
        QCOMPARE(rs.date(QStringLiteral("E1")), QDate(2026, 12, 12));
        QVERIFY(rs.isNull(QStringLiteral("A13")));
        QCOMPARE(cn_->scalar(QStringLiteral("select E1 from q where A1='q08'")).toString(),
                 QStringLiteral("2026-12-12"));
        // A duplicate key is refused; nothing is added.
        rs.append();
        rs.setValue(QStringLiteral("A1"), QStringLiteral("Q01"));
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.post());
        rs.cancel();
        QCOMPARE(cn_->scalar(QStringLiteral("select count(*) from q")).toInt(), 8);
        // Delete moves to the next row; deleting the last moves to the new last.
        QVERIFY(rs.locate(QStringLiteral("A1"), QStringLiteral("q02")));
        rs.remove();
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q03"));
        rs.last();
        rs.remove();
        QCOMPARE(rs.recordCount(), 6);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("Q07"));
        QCOMPARE(cn_->scalar(QStringLiteral("select count(*) from q where A1 in ('q02','q08')")).toInt(), 0);
    }

    void readOnlyStatements()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select A13, count(*) as c from q group by A13"));
        QVERIFY(!rs.canModify());
        QVERIFY_THROWS_EXCEPTION(db::Error, rs.edit());
        rs.open(QStringLiteral("select a.A1, b.A1 as other from q a, q b where a.A1 = b.A1"));
        QVERIFY(!rs.canModify());
        QCOMPARE(rs.recordCount(), 7);
    }

    void clonesShareRowsNotCursors()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q order by A1"));
        rs.setRecNo(3);
        auto copy = rs.clone();
        QCOMPARE(copy->recNo(), 1);
        QCOMPARE(rs.recNo(), 3);
        copy->setRecNo(5);
        QCOMPARE(rs.text(QStringLiteral("A1")), QStringLiteral("q03"));
        // An edit through the clone is seen by the original.
        copy->setRecNo(3);
        copy->setValue(QStringLiteral("E2"), QStringLiteral("AC"));
        copy->post();
        QCOMPARE(rs.text(QStringLiteral("E2")), QStringLiteral("AC"));
        // A delete through the original keeps the clone on its row.
        copy->setRecNo(6);
        rs.setRecNo(1);
        rs.remove();
        QCOMPARE(copy->recordCount(), 6);
        QCOMPARE(copy->text(QStringLiteral("A1")), QStringLiteral("q06"));
    }

    void requerySeesOtherWriters()
    {
        db::Recordset rs(*cn_);
        rs.open(QStringLiteral("select * from q where A13 = :t order by A1"), {{"t", 61}});
        rs.setFilter(QStringLiteral("F1 = 0"));
        rs.setFiltered(true);
        QCOMPARE(rs.recordCount(), 3);
        cn_->execute(QStringLiteral("update q set F1 = 0 where A1 = 'q03'"));
        QCOMPARE(rs.recordCount(), 3);
        QSignalSpy reset(&rs, &db::Recordset::reset);
        rs.requery();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(rs.recordCount(), 4);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
