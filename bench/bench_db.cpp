// Data-layer costs next to the bare SQLite floor for the same work, in one run:
// opening tab_answ into a recordset, filtering it, emptying E2_1, editing one row.
// Usage: bench_db [--questions=N] [google benchmark flags]
#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "shell/schema.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace {

QString g_bank;

struct Raw {
    sqlite3* db = nullptr;
    Raw()
    {
        sqlite3_open_v2(g_bank.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    }
    ~Raw() { sqlite3_close_v2(db); }
};

std::unique_ptr<db::Connection> openBank()
{
    auto cn = std::make_unique<db::Connection>();
    cn->open(schema::connectionString(g_bank, QString::fromLatin1(schema::BankPassword)));
    return cn;
}

// Reads every value of every row, as a client cursor must.
int64_t stepAll(sqlite3_stmt* st)
{
    int64_t sum = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int64(st, c);
                break;
            case SQLITE_FLOAT:
                sum += int64_t(sqlite3_column_double(st, c));
                break;
            case SQLITE_TEXT:
                sum += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) != nullptr);
                break;
            case SQLITE_BLOB:
                sum += sqlite3_column_bytes(st, c) + (sqlite3_column_blob(st, c) != nullptr);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_reset(st);
    return sum;
}

void OpenAnswers_Recordset(benchmark::State& state)
{
    auto cn = openBank();
    for (auto _ : state) {
        db::Recordset rs(*cn);
        rs.open(QStringLiteral("select * from tab_answ"));
        benchmark::DoNotOptimize(rs.recordCount());
    }
}

void OpenAnswers_SqliteFloor(benchmark::State& state)
{
    Raw raw;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw.db, "select * from tab_answ", -1, &st, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(stepAll(st));
    sqlite3_finalize(st);
}

void Filter_Recordset(benchmark::State& state)
{
    auto cn = openBank();
    db::Recordset rs(*cn);
    rs.open(QStringLiteral("select * from tab_answ"));
    rs.setFilter(QStringLiteral("A13=61 and a10 like '3*' and f1<>1"));
    for (auto _ : state) {
        rs.setFiltered(true);
        benchmark::DoNotOptimize(rs.recordCount());
        state.PauseTiming();
        rs.setFiltered(false);
        state.ResumeTiming();
    }
}

void Filter_SqliteFloor(benchmark::State& state)
{
    Raw raw;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw.db, "select * from tab_answ where A13=61 and a10 like '3%' and f1<>1", -1, &st,
                       nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(stepAll(st));
    sqlite3_finalize(st);
}

void EmptyVisitAnswers_Connection(benchmark::State& state)
{
    auto cn = openBank();
    for (auto _ : state)
        benchmark::DoNotOptimize(cn->execute(QStringLiteral("Update tab_answ set E2_1= ''")));
}

void EmptyVisitAnswers_SqliteFloor(benchmark::State& state)
{
    Raw raw;
    for (auto _ : state)
        sqlite3_exec(raw.db, "Update tab_answ set E2_1= ''", nullptr, nullptr, nullptr);
}

void EditPost_Recordset(benchmark::State& state)
{
    auto cn = openBank();
    db::Recordset rs(*cn);
    rs.open(QStringLiteral("select * from tab_answ"));
    int i = 0;
    for (auto _ : state) {
        rs.setRecNo(1 + (i * 7919) % rs.recordCount());
        rs.setValue(QStringLiteral("E2_1"), (i & 1) ? QStringLiteral("A") : QStringLiteral("BD"));
        rs.post();
        ++i;
    }
}

void EditPost_SqliteFloor(benchmark::State& state)
{
    Raw raw;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw.db, "update tab_answ set E2_1 = ? where rowid = ?", -1, &st, nullptr);
    const int64_t rows = [&] {
        sqlite3_stmt* c = nullptr;
        sqlite3_prepare_v2(raw.db, "select max(rowid) from tab_answ", -1, &c, nullptr);
        sqlite3_step(c);
        const int64_t n = sqlite3_column_int64(c, 0);
        sqlite3_finalize(c);
        return n;
    }();
    int i = 0;
    for (auto _ : state) {
        sqlite3_bind_text(st, 1, (i & 1) ? "A" : "BD", -1, SQLITE_STATIC);
        sqlite3_bind_int64(st, 2, 1 + (int64_t(i) * 7919) % rows);
        sqlite3_step(st);
        sqlite3_reset(st);
        ++i;
    }
    sqlite3_finalize(st);
}

} // namespace

BENCHMARK(OpenAnswers_Recordset)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(OpenAnswers_SqliteFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Filter_Recordset)->Unit(benchmark::kMillisecond);
BENCHMARK(Filter_SqliteFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(EmptyVisitAnswers_Connection)->Unit(benchmark::kMillisecond);
BENCHMARK(EmptyVisitAnswers_SqliteFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(EditPost_Recordset)->Unit(benchmark::kMicrosecond);
BENCHMARK(EditPost_SqliteFloor)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString questions = QStringLiteral("100000");
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--questions=", 12) == 0)
            questions = QString::fromLatin1(argv[i] + 12);
        else
            rest.push_back(argv[i]);
    }
    QTemporaryDir dir;
    g_bank = dir.filePath(QStringLiteral("bench.mdb"));
#ifdef PREPDESK_MAKE_BANK
    const int rc =
        QProcess::execute(QStringLiteral(PREPDESK_MAKE_BANK),
                          {QStringLiteral("--questions"), questions, QStringLiteral("--out"), g_bank});
    if (rc != 0) {
        fprintf(stderr, "could not generate the benchmark bank\n");
        return 1;
    }
#else
    fprintf(stderr, "built without make-bank\n");
    return 1;
#endif
    int n = int(rest.size());
    benchmark::Initialize(&n, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
