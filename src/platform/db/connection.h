// A connection to one database file, speaking the Jet SQL dialect over SQLite.
#pragma once

#include "error.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

namespace jet {
struct CreatedTable;
}

// Named statement parameters: key is the name with or without the leading ':'.
using Params = QHash<QString, QVariant>;

// Reads the parts of an OLE DB style connection string ("Key=Value;..." with "" for empty).
struct ConnectionString {
    QString dataSource;
    QString password;
    static ConnectionString parse(const QString& text);
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by "Data Source" of the connection string, checking
    // "Jet OLEDB:Database Password" against the file's password gate. Throws Error
    // when the file is missing, is not a database, or the password is wrong.
    void open(const QString& connectionString);
    void openFile(const QString& path, const QString& password);
    void close() noexcept;
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    QString connectionString() const { return connectionString_; }

    // Makes a new, empty database file guarded by the password (empty: no password).
    // Fails when the file already exists.
    static void create(const QString& path, const QString& password);

    // Runs one statement (Jet dialect) and returns the number of rows it changed.
    int execute(const QString& sql, const Params& params = {});
    // Runs a query and returns the first column of its first row (null when no row).
    QVariant scalar(const QString& sql, const Params& params = {});

    // Transactions nest; only the outermost commit makes changes durable.
    void begin();
    void commit();
    void rollback();
    int transactionLevel() const { return txLevel_; }

    // Catalogue.
    QStringList userTables() const; // without the engine's and the gate's own tables
    bool tableExists(const QString& table) const;
    void dropTable(const QString& table);
    // Lets the named text columns hold empty strings; fails when a column is missing.
    void allowZeroLength(const QString& table, const QStringList& columns);
    struct ColumnInfo {
        QString name;
        QString declaredType;
        bool primaryKey = false;
    };
    std::vector<ColumnInfo> columns(const QString& table) const;

    // Low level, for Recordset: a prepared statement of translated SQL, cached.
    // The returned statement is reset and has its bindings cleared.
    sqlite3_stmt* prepare(const QString& sql);
    void bind(sqlite3_stmt* stmt, const Params& params);
    void step(sqlite3_stmt* stmt, bool* hasRow); // throws Error on failure
    [[noreturn]] void raise(const QString& context = {}) const;
    sqlite3* handle() const { return db_; }
    // Detaches files read through "in '<path>'" once no transaction holds them.
    void releaseAttachments();

private:
    struct Cached;
    void configure();
    void addZeroLengthGuards(const jet::CreatedTable& created);

    sqlite3* db_ = nullptr;
    QString path_;
    QString connectionString_;
    int txLevel_ = 0;
    std::vector<std::unique_ptr<Cached>> cache_;
    QHash<QString, QString> attached_; // canonical file path -> schema alias
    int attachSeq_ = 0;
};

// Binds a value to a statement parameter slot, in the layer's storage conventions
// (dates as ISO text, booleans as integers, byte arrays as blobs).
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

} // namespace db
