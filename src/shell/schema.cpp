#include "schema.h"

#include "platform/db/connection.h"

namespace schema {

QString connectionString(const QString& dataSource, const QString& password)
{
    QString pw = password.isEmpty() ? QStringLiteral("\"\"") : password;
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + dataSource +
           QStringLiteral(";") + QStringLiteral("Mode=Share Deny None;Extended Properties=\"\";") +
           QStringLiteral("Locale Identifier=2052;Persist Security Info=False;") +
           QStringLiteral("Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";") +
           QStringLiteral("Jet OLEDB:Database Password=") + pw + QStringLiteral(";") +
           QStringLiteral("Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=0;") +
           QStringLiteral("Jet OLEDB:Global Partial Bulk Ops=2;") +
           QStringLiteral("Jet OLEDB:Global Bulk Transactions=1;") +
           QStringLiteral("Jet OLEDB:New Database Password=\"\";") +
           QStringLiteral("Jet OLEDB:Create System Database=False;") +
           QStringLiteral("Jet OLEDB:Encrypt Database=False;") +
           QStringLiteral("Jet OLEDB:Don't Copy Locale on Compact=False;") +
           QStringLiteral("Jet OLEDB:Compact Without Replica Repair=False;") +
           QStringLiteral("Jet OLEDB:SFP=False");
}

QStringList answerColumns()
{
    return {"A1",  "A2",  "A2_1", "K3", "K4", "K5",   "K6", "K7", "K8", "K9",   "K10", "K11",   "K12",
            "A10", "A13", "A14",  "E1", "E2", "E2_1", "E3", "E4", "F1", "csbs", "xx",  "ecount"};
}

QStringList createStatements()
{
    QStringList s;
    s << "CREATE TABLE tab_answ (A1 TEXT(20) NOT NULL PRIMARY KEY, A2 TEXT(100), A2_1 SMALLINT, "
         "K3 TEXT(12), K4 TEXT(12), K5 TEXT(12), K6 TEXT(12), K7 TEXT(12), K8 TEXT(12), K9 TEXT(12), "
         "K10 TEXT(12), K11 TEXT(12), K12 TEXT(12), A10 TEXT(6), A13 SMALLINT, A14 MEMO, E1 DATETIME, "
         "E2 TEXT(100), E2_1 TEXT(100), E3 SMALLINT, E4 SMALLINT, F1 SMALLINT, csbs TEXT(2), xx INTEGER, "
         "ecount INTEGER)";
    s << "CREATE INDEX ix_answ_a10 ON tab_answ (A10)";
    s << "CREATE TABLE tab_exer (A1 TEXT(20) NOT NULL PRIMARY KEY, A15 IMAGE, jx IMAGE)";
    s << "CREATE TABLE tab_title (A1 TEXT(16) NOT NULL PRIMARY KEY, A15 IMAGE)";
    for (int k = 1; k <= 5; ++k)
        s << QStringLiteral("CREATE TABLE tab_tx%1 (A1 INTEGER NOT NULL UNIQUE, B1 TEXT(50), B2 INTEGER, "
                            "B3 INTEGER, [time] DOUBLE)")
                 .arg(k);
    s << "CREATE TABLE tab_kmmc (bh INTEGER, C1 TEXT(10) NOT NULL, C1_1 TEXT(100), C2 TEXT(100), C3 INTEGER, "
         "C4 INTEGER, D1 INTEGER, D2 INTEGER, C6 TEXT(10), C7 TEXT(2), jx IMAGE)";
    s << "CREATE INDEX ix_kmmc_c1 ON tab_kmmc (C1)";
    s << "CREATE TABLE tab_fgmc (id TEXT(6) NOT NULL PRIMARY KEY, bh INTEGER, n TEXT(255), q INTEGER, "
         "q1 INTEGER, q2 INTEGER, q4 INTEGER)";
    s << "CREATE TABLE tab_rule (id TEXT(6), ftid TEXT(12) NOT NULL PRIMARY KEY, sn TEXT(100), n MEMO, "
         "q INTEGER, q1 INTEGER, q2 INTEGER, q4 INTEGER)";
    s << "CREATE INDEX ix_rule_id ON tab_rule (id)";
    s << "CREATE TABLE tab_cj (A1 TEXT(20) NOT NULL, A3 TEXT(100), A3_1 INTEGER, D1 DATETIME, A6 DOUBLE, "
         "D2 TEXT(20))";
    s << "CREATE TABLE tab_rz (A1 DATETIME NOT NULL PRIMARY KEY, A2 INTEGER, A3 INTEGER, B1 INTEGER, "
         "B2 INTEGER, A4 TEXT(10), D1 TEXT(20))";
    s << "CREATE TABLE tab_plan (PlanMark INTEGER, PlanAmount INTEGER, PlanTime INTEGER, ExamDate DATETIME, "
         "LeastMark INTEGER, ExamTime INTEGER)";
    s << "CREATE TABLE tab_sj (sjbs TEXT(50), cpbs TEXT(50))";
    return s;
}

void createBankTables(db::Connection& cn)
{
    cn.begin();
    try {
        for (const QString& sql : createStatements())
            cn.execute(sql);
        // Text that the program writes as empty strings; codes and keys stay non-empty
        // (an unused article link or chapter code is null, never "").
        cn.allowZeroLength("tab_answ", {"A2", "A14", "E2", "E2_1", "csbs"});
        cn.allowZeroLength("tab_kmmc", {"C1_1", "C2", "C6", "C7"});
        cn.allowZeroLength("tab_fgmc", {"n"});
        cn.allowZeroLength("tab_rule", {"id", "sn", "n"});
        for (int k = 1; k <= 5; ++k)
            cn.allowZeroLength(QStringLiteral("tab_tx%1").arg(k), {"B1"});
        cn.allowZeroLength("tab_cj", {"A3", "D2"});
        cn.allowZeroLength("tab_rz", {"A4", "D1"});
        cn.allowZeroLength("tab_sj", {"sjbs", "cpbs"});
        cn.execute("insert into tab_plan (PlanMark, PlanAmount, PlanTime, ExamDate, LeastMark, ExamTime) "
                   "values (0, 100, 120, :d, 0, 7200)",
                   {{"d", QStringLiteral("2027-10-16")}});
        cn.execute("insert into tab_sj (sjbs, cpbs) values (:s, :c)",
                   {{"s", QString::fromLatin1(ProductId)}, {"c", QString::fromLatin1(ProductId)}});
        cn.commit();
    } catch (...) {
        cn.rollback();
        throw;
    }
}

} // namespace schema
