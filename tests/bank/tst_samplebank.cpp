// Checks the banks built by make-bank: enough candidates for every paper draw, complete
// texts and stems, statistics that agree with the questions, well-formed answers and
// article links, and content fixed by the seed.
#include "platform/db/connection.h"
#include "shell/schema.h"

#include <sqlite3.h>

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString Null = QStringLiteral("<null>");

// All rows of a query as text; null as <null>, binary values in hex.
QList<QStringList> query(db::Connection& cn, const QString& sql)
{
    sqlite3_stmt* st = cn.prepare(sql);
    QList<QStringList> rows;
    bool row = false;
    for (cn.step(st, &row); row; cn.step(st, &row)) {
        QStringList r;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_NULL:
                r << Null;
                break;
            case SQLITE_BLOB:
                r << QString::fromLatin1(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                                    sqlite3_column_bytes(st, i))
                                             .toHex());
                break;
            default:
                r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
            }
        }
        rows << r;
    }
    return rows;
}

std::unique_ptr<db::Connection> openBank(const QString& path)
{
    auto cn = std::make_unique<db::Connection>();
    cn->openFile(path, QString::fromLatin1(schema::BankPassword));
    return cn;
}

// Every user table's rows, sorted, so that two banks can be compared whole.
QMap<QString, QStringList> dump(db::Connection& cn)
{
    QMap<QString, QStringList> tables;
    for (const QString& t : cn.userTables()) {
        QStringList lines;
        for (const QStringList& r : query(cn, QStringLiteral("select * from ") + t))
            lines << r.join(QLatin1Char('\t'));
        lines.sort();
        tables.insert(t, lines);
    }
    return tables;
}

int runMakeBank(const QStringList& args, QString* errors = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(PREPDESK_MAKE_BANK), args);
    if (!p.waitForFinished(120000)) return -1;
    if (errors) *errors = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

enum class AnswerRule { Letter, Letters, Judgement, FillIn, SelfAssessed };

} // namespace

Q_DECLARE_METATYPE(AnswerRule)

class TstSampleBank : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsHaveEnoughCandidates_data();
    void drawsHaveEnoughCandidates();
    void everyQuestionHasTextAndStem();
    void chapterCountsMatchQuestions();
    void lawCountsMatchLinks();
    void linksFillFromK3WithoutGaps();
    void answersFitTheirType_data();
    void answersFitTheirType();
    void sameSeedGivesSameBank();
    void refusesToOverwrite();

private:
    QHash<QString, std::shared_ptr<db::Connection>> banks_; // by file name
    db::Connection& sample() { return *banks_.value(QStringLiteral("sample.mdb")); }
};

void TstSampleBank::initTestCase()
{
    for (const char* name : {"sample.mdb", "small.mdb"}) {
        const QString path = QStringLiteral(PREPDESK_FIXTURE_DIR "/") + QLatin1String(name);
        QVERIFY2(QFile::exists(path), qPrintable(path + " is missing: build the fixture banks first"));
        banks_.insert(QLatin1String(name), openBank(path));
    }
}

void TstSampleBank::drawsHaveEnoughCandidates_data()
{
    QTest::addColumn<QString>("bank");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("minimum");

    // The draw plans of the five paper kinds: (kind, type, prefix, questions per paper).
    // The sample bank holds at least three times each draw.
    struct Draw {
        int kind, type;
        const char* prefix;
        int count;
    };
    const Draw plans[] = {
        {1, 61, "3", 30},  {1, 65, "3", 40},  {1, 66, "3", 20},  {2, 61, "10", 20}, {2, 61, "11", 17},
        {2, 61, "04", 13}, {2, 62, "10", 12}, {2, 62, "11", 11}, {2, 62, "04", 7},  {2, 65, "10", 8},
        {2, 65, "11", 7},  {2, 65, "04", 5},  {3, 61, "05", 23}, {3, 61, "08", 10}, {3, 61, "07", 17},
        {3, 62, "05", 14}, {3, 62, "08", 6},  {3, 62, "07", 10}, {3, 65, "05", 8},  {3, 65, "08", 4},
        {3, 65, "07", 8},  {4, 70, "10", 2},  {4, 70, "11", 2},  {4, 70, "05", 2},  {4, 70, "08", 1},
        {4, 70, "07", 2},  {4, 70, "04", 1},  {5, 64, "05", 6},
    };
    for (const Draw& d : plans)
        QTest::addRow("sample kind %d: %d from %s", d.kind, d.type, d.prefix)
            << QStringLiteral("sample.mdb") << d.type << QString::fromLatin1(d.prefix) << 3 * d.count;

    // What the small fixture bank promises to the tests that draw from it.
    QTest::newRow("small: 61 from 3") << QStringLiteral("small.mdb") << 61 << QStringLiteral("3") << 12;
    QTest::newRow("small: 65 from 3") << QStringLiteral("small.mdb") << 65 << QStringLiteral("3") << 12;
    QTest::newRow("small: 66 from 3") << QStringLiteral("small.mdb") << 66 << QStringLiteral("3") << 6;
    for (const char* part : {"10", "11", "04", "05", "07", "08"}) {
        for (auto [type, minimum] : {std::pair{61, 5}, std::pair{65, 3}, std::pair{62, 3}, std::pair{70, 3}})
            QTest::addRow("small: %d from %s", type, part)
                << QStringLiteral("small.mdb") << type << QString::fromLatin1(part) << minimum;
    }
    QTest::newRow("small: 64 from 05") << QStringLiteral("small.mdb") << 64 << QStringLiteral("05") << 3;
}

void TstSampleBank::drawsHaveEnoughCandidates()
{
    QFETCH(QString, bank);
    QFETCH(int, type);
    QFETCH(QString, prefix);
    QFETCH(int, minimum);
    const int n = banks_.value(bank)
                      ->scalar("select count(*) from tab_answ where A13 = :t and A10 like :p and (F1 <> 1)",
                               {{"t", type}, {"p", prefix + QLatin1Char('%')}})
                      .toInt();
    QVERIFY2(n >= minimum, qPrintable(QStringLiteral("%1 candidates, need %2").arg(n).arg(minimum)));
}

void TstSampleBank::everyQuestionHasTextAndStem()
{
    auto& cn = sample();
    QCOMPARE(
        query(cn, "select A1 from tab_answ where A1 not in (select A1 from tab_exer where A15 is not null)"),
        QList<QStringList>());
    QCOMPARE(
        query(
            cn,
            "select A1 from tab_answ where A1 like '%-%' and Left(A1, 16) not in (select A1 from tab_title)"),
        QList<QStringList>());

    // Stand-alone keys have 12 characters; grouped types are always sub-questions of a stem.
    static const QRegularExpression standAlone(QStringLiteral("^\\d{12}$"));
    static const QRegularExpression subQuestion(QStringLiteral("^\\d{16}-\\d{1,3}$"));
    const auto rows = query(cn, "select A1, A13 from tab_answ");
    QVERIFY(rows.size() > 1000);
    for (const QStringList& r : rows) {
        const int type = r[1].toInt();
        const bool grouped = type == 62 || type == 64 || type == 70;
        QVERIFY2((grouped ? subQuestion : standAlone).match(r[0]).hasMatch(), qPrintable(r.join(' ')));
    }
}

void TstSampleBank::chapterCountsMatchQuestions()
{
    for (const QString& bank : banks_.keys()) {
        auto& cn = *banks_.value(bank);
        const auto chapters = query(cn, "select A10 from tab_answ");
        const auto rows = query(cn, "select C1, C3, C4, D1, D2, C6 from tab_kmmc");
        QSet<QString> codes;
        int hidden = 0;
        for (const QStringList& r : rows) {
            codes.insert(r[0]);
            hidden += r[0] == QLatin1String("xx");
            int expected = 0;
            for (const QStringList& c : chapters)
                expected += c[0].startsWith(r[0]);
            QVERIFY2(
                r[1].toInt() == expected,
                qPrintable(QStringLiteral("%1 %2: C3 %3, questions %4").arg(bank, r[0], r[1]).arg(expected)));
            QCOMPARE(r.mid(2), (QStringList{"0", "0", "0", "0"}));
        }
        QCOMPARE(hidden, 1);
        for (const QStringList& c : chapters) // each question sits in a chapter row with its section and part
            QVERIFY2(codes.contains(c[0]) && codes.contains(c[0].left(4)) && codes.contains(c[0].left(2)),
                     qPrintable(bank + ' ' + c[0]));
    }
}

void TstSampleBank::lawCountsMatchLinks()
{
    for (const QString& bank : banks_.keys()) {
        auto& cn = *banks_.value(bank);
        QHash<QString, int> perArticle, perRow;
        for (QStringList links :
             query(cn, "select K3, K4, K5, K6, K7, K8, K9, K10, K11, K12 from tab_answ")) {
            links.removeAll(Null);
            QSet<QString> rows; // a key point or heading counts a question once
            for (const QString& l : links) {
                ++perArticle[l];
                rows << l.left(6) << l.left(2);
            }
            for (const QString& r : rows)
                ++perRow[r];
        }
        int linked = 0;
        for (const QStringList& a : query(cn, "select ftid, id, q, q1, q2, q4 from tab_rule")) {
            QVERIFY2(a[0].startsWith(a[1]), qPrintable(a.join(' ')));
            QVERIFY2(a[2].toInt() == perArticle.value(a[0]), qPrintable(bank + ' ' + a.join(' ')));
            QCOMPARE(a.mid(3), (QStringList{"0", "0", "0"}));
            linked += perArticle.value(a[0]);
        }
        int links = 0;
        for (int n : std::as_const(perArticle))
            links += n;
        QVERIFY2(linked == links, "a question links an article code that tab_rule does not hold");
        QVERIFY(links > 0);
        for (const QStringList& r : query(cn, "select id, q from tab_fgmc"))
            QVERIFY2(r[1].toInt() == perRow.value(r[0]), qPrintable(bank + ' ' + r.join(' ')));
    }
}

void TstSampleBank::linksFillFromK3WithoutGaps()
{
    for (const QStringList& r :
         query(sample(), "select A1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12 from tab_answ")) {
        bool ended = false;
        for (const QString& k : r.mid(1)) {
            QVERIFY2(k.trimmed() != QString() || k.isNull(), qPrintable("empty link in " + r[0]));
            if (k == Null)
                ended = true;
            else
                QVERIFY2(!ended, qPrintable("gap in the links of " + r[0]));
        }
    }
}

void TstSampleBank::answersFitTheirType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<AnswerRule>("rule");
    QTest::addColumn<QList<int>>("optionCounts");
    QTest::addColumn<int>("minLetters");

    QTest::newRow("61 single choice") << 61 << AnswerRule::Letter << QList<int>{4, 5} << 1;
    QTest::newRow("62 matching") << 62 << AnswerRule::Letter << QList<int>{5} << 1;
    QTest::newRow("65 multiple choice") << 65 << AnswerRule::Letters << QList<int>{5} << 2;
    QTest::newRow("66 indefinite choice") << 66 << AnswerRule::Letters << QList<int>{4, 5} << 1;
    QTest::newRow("31 judgement") << 31 << AnswerRule::Judgement << QList<int>{2} << 1;
    QTest::newRow("21 fill-in") << 21 << AnswerRule::FillIn << QList<int>{1} << 0;
    for (int type : {64, 70, 71, 72, 73, 74})
        QTest::addRow("%d self-assessed", type) << type << AnswerRule::SelfAssessed << QList<int>{1} << 0;
}

void TstSampleBank::answersFitTheirType()
{
    QFETCH(int, type);
    QFETCH(AnswerRule, rule);
    QFETCH(QList<int>, optionCounts);
    QFETCH(int, minLetters);

    const auto rows =
        query(sample(), QStringLiteral("select A1, A2, A2_1 from tab_answ where A13 = %1").arg(type));
    QVERIFY2(!rows.isEmpty(), "no question of this type");
    for (const QStringList& r : rows) {
        const QString& answer = r[1];
        const int options = r[2].toInt();
        const QByteArray where = (r[0] + QLatin1Char(' ') + answer + QLatin1Char(' ') + r[2]).toUtf8();
        QVERIFY2(optionCounts.contains(options), where);
        switch (rule) {
        case AnswerRule::Letter:
        case AnswerRule::Letters: {
            // Letters among the options shown, in order and without repeats.
            QVERIFY2(answer.size() >= minLetters && (rule == AnswerRule::Letters || answer.size() == 1),
                     where);
            for (int i = 0; i < answer.size(); ++i) {
                QVERIFY2(answer[i] >= u'A' && answer[i].unicode() < u'A' + options, where);
                QVERIFY2(i == 0 || answer[i - 1] < answer[i], where);
            }
            break;
        }
        case AnswerRule::Judgement:
            QVERIFY2(answer == QLatin1String("A") || answer == QLatin1String("B"), where);
            break;
        case AnswerRule::FillIn:
            for (const QString& part : answer.split(QLatin1Char(',')))
                QVERIFY2(!part.isEmpty() && part == part.trimmed(), where);
            break;
        case AnswerRule::SelfAssessed:
            QCOMPARE(answer, QStringLiteral("1"));
            break;
        }
    }
}

void TstSampleBank::sameSeedGivesSameBank()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString a = dir.filePath("a.mdb"), b = dir.filePath("b.mdb"), c = dir.filePath("c.mdb");
    QCOMPARE(runMakeBank({"--out", a}), 0);
    QCOMPARE(runMakeBank({"--out", b}), 0);
    QCOMPARE(runMakeBank({"--out", c, "--seed", "7"}), 0);

    const auto first = dump(*openBank(a));
    const auto second = dump(*openBank(b));
    QVERIFY(first.contains("tab_answ") && first.value("tab_answ").size() > 1000);
    QCOMPARE(first.keys(), second.keys());
    for (const QString& table : first.keys())
        QVERIFY2(first.value(table) == second.value(table), qPrintable(table + " differs between two runs"));
    // The generated bank is the sample fixture, and another seed composes other papers.
    QCOMPARE(first.value("tab_answ"), dump(sample()).value("tab_answ"));
    QVERIFY(dump(*openBank(c)).value("tab_exer") != first.value("tab_exer"));
}

void TstSampleBank::refusesToOverwrite()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("progress.mdb");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the learner's progress");
    }
    QString errors;
    QCOMPARE(runMakeBank({"--small", "--out", path}, &errors), 2);
    QVERIFY2(errors.contains(path), qPrintable(errors));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("the learner's progress"));
}

QTEST_GUILESS_MAIN(TstSampleBank)
#include "tst_samplebank.moc"
