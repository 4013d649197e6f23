// Writes the composed bank into a new database file through the data-access layer.
#include "bank.h"
#include "rtf.h"

#include "platform/db/connection.h"
#include "shell/schema.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace makebank {

namespace {

// One insert statement run many times: binds by position through the layer's cached
// statement, which keeps a large bank fast to write.
class Inserter {
public:
    Inserter(db::Connection& cn, const QString& sql, const QStringList& names) : cn_(cn), sql_(sql)
    {
        sqlite3_stmt* st = cn_.prepare(sql_);
        for (const QString& n : names) {
            const int index =
                sqlite3_bind_parameter_index(st, (QStringLiteral(":") + n).toUtf8().constData());
            if (index == 0) throw std::runtime_error("parameter missing from statement: " + n.toStdString());
            indexes_.push_back(index);
        }
    }
    void row(std::initializer_list<QVariant> values)
    {
        sqlite3_stmt* st = cn_.prepare(sql_);
        int i = 0;
        for (const QVariant& v : values)
            db::bindValue(st, indexes_[size_t(i++)], v);
        bool more = true;
        while (more)
            cn_.step(st, &more);
    }

private:
    db::Connection& cn_;
    QString sql_;
    std::vector<int> indexes_;
};

QVariant textOrNull(const QString& s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void writeTypes(db::Connection& cn)
{
    for (int kind = 1; kind <= 5; ++kind) {
        const QString sql = QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, [time]) "
                                           "values (:a1, :b1, :b2, :b3, :t)")
                                .arg(kind);
        for (const QuestionType& t : questionTypes())
            cn.execute(sql, {{"a1", t.code},
                             {"b1", QString::fromUtf8(t.name)},
                             {"b2", paperCount(kind, t.code)},
                             {"b3", t.points},
                             {"t", t.minutes}});
    }
}

void writeCatalogues(db::Connection& cn, const Bank& bank, RtfWriter& rtf)
{
    int bh = 0;
    for (const ChapterRow& r : bank.chapters)
        cn.execute("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, D1, D2, C6, C7, jx) "
                   "values (:bh, :c1, :c11, :c2, :c3, 0, 0, 0, '0', :c7, :jx)",
                   {{"bh", ++bh},
                    {"c1", r.code},
                    {"c11", r.title},
                    {"c2", r.name},
                    {"c3", r.count},
                    {"c7", r.charted ? QStringLiteral("0") : QStringLiteral("1")},
                    {"jx", r.guidance ? QVariant(rtf.toRtf(*r.guidance)) : QVariant()}});
    bh = 0;
    for (const LawRow& r : bank.lawRows)
        cn.execute("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values (:id, :bh, :n, :q, 0, 0, 0)",
                   {{"id", r.id}, {"bh", ++bh}, {"n", r.name}, {"q", r.count}});
    for (const ArticleRow& a : bank.articles)
        cn.execute("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) "
                   "values (:id, :ftid, :sn, :n, :q, 0, 0, 0)",
                   {{"id", a.keyPoint},
                    {"ftid", a.ftid},
                    {"sn", a.sn},
                    {"n", QString::fromLatin1(rtf.toRtf(a.text))},
                    {"q", a.count}});
}

void writeQuestions(db::Connection& cn, const Bank& bank, RtfWriter& rtf)
{
    Inserter title(cn, "insert into tab_title (A1, A15) values (:a1, :a15)", {"a1", "a15"});
    for (const Stem& s : bank.stems)
        title.row({s.key, rtf.toRtf(s.text)});

    const QStringList names = {"a1", "a2", "a21", "k3",  "k4",  "k5",  "k6",  "k7",
                               "k8", "k9", "k10", "k11", "k12", "a10", "a13", "xx"};
    Inserter answ(cn,
                  "insert into tab_answ (A1, A2, A2_1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12, A10, A13, "
                  "A14, E1, E2, E2_1, E3, E4, F1, csbs, xx, ecount) values (:a1, :a2, :a21, :k3, :k4, :k5, "
                  ":k6, :k7, :k8, :k9, :k10, :k11, :k12, :a10, :a13, null, null, null, null, 0, 0, 0, null, "
                  ":xx, 0)",
                  names);
    Inserter exer(cn, "insert into tab_exer (A1, A15, jx) values (:a1, :a15, :jx)", {"a1", "a15", "jx"});
    for (const Question& q : bank.questions) {
        // Unused article links stay null; the list fills K3 upward without gaps.
        auto k = [&q](int i) { return i < q.links.size() ? textOrNull(q.links[i]) : QVariant(); };
        answ.row({q.key, q.answer, q.optionCount, k(0), k(1), k(2), k(3), k(4), k(5), k(6), k(7), k(8), k(9),
                  q.chapter, q.type, q.order});
        exer.row(
            {q.key, rtf.toRtf(q.text), q.explanation ? QVariant(rtf.toRtf(*q.explanation)) : QVariant()});
    }
}

void bulkMode(db::Connection& cn, bool on)
{
    const char* sql = on ? "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; PRAGMA cache_size=-131072;"
                         : "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;";
    char* err = nullptr;
    if (sqlite3_exec(cn.handle(), sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string message = err ? err : "PRAGMA failed";
        sqlite3_free(err);
        throw std::runtime_error(message);
    }
}

} // namespace

void writeBank(const Bank& bank, const QString& path)
{
    if (QFileInfo::exists(path)) throw std::runtime_error("file exists: " + path.toStdString());
    db::Connection::create(path, QString::fromLatin1(schema::BankPassword));
    try {
        db::Connection cn;
        cn.openFile(path, QString::fromLatin1(schema::BankPassword));
        schema::createBankTables(cn);
        RtfWriter rtf;
        // A new file that is removed on failure needs no crash safety while it is filled:
        // keep the rollback journal in memory and skip syncs, then return to the normal mode.
        bulkMode(cn, true);
        cn.begin();
        try {
            writeTypes(cn);
            writeCatalogues(cn, bank, rtf);
            writeQuestions(cn, bank, rtf);
            cn.commit();
        } catch (...) {
            cn.rollback();
            throw;
        }
        bulkMode(cn, false);
        cn.close();
    } catch (...) {
        // The file is ours and incomplete: leave nothing half-written behind.
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(path + QLatin1String(suffix));
        throw;
    }
}

} // namespace makebank
