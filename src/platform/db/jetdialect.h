// Translation of Jet SQL statements into SQLite SQL, and the Jet functions they use.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;

namespace db::jet {

struct CreatedTable {
    QString name;
    QStringList textColumns; // TEXT and MEMO columns: they refuse "" until allowed
};

struct Translation {
    QString sql;
    bool usesOtherFile = false; // the statement reads a table of another file
    CreatedTable created;       // filled for CREATE TABLE
};

// Gives the schema alias under which another database file is attached.
using AttachFn = std::function<QString(const QString& path)>;

// Rewrites one Jet statement: Left/Right/Mid/len/CINT/UCase/LCase calls, "delete * from",
// "<table> in '<file>'", #date# literals, "..." string literals, and Jet column types in
// CREATE TABLE (TEXT(n), MEMO, SMALLINT, INTEGER, LONG, DATETIME, IMAGE, DOUBLE ...).
// Text columns compare without regard to case. Throws Error on an unterminated literal.
Translation translate(const QString& sql, const AttachFn& attach);

// Registers jet_left, jet_right, jet_mid, jet_len and jet_cint on a connection.
void registerFunctions(sqlite3* db);

// Jet's CInt: round half to even; throws Error("Overflow") outside -32768..32767.
int cint(double value);

// Quotes an identifier for SQLite ("name" with inner quotes doubled).
QString quoteIdent(const QString& name);

} // namespace db::jet
