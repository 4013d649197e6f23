#include "connection.h"

#include "jetdialect.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include <sqlite3.h>

namespace db {

namespace {

// The password gate lives in this table; it is not a user table.
constexpr const char* GateTable = "sys_gate";
constexpr size_t CacheLimit = 64;

QByteArray passwordHash(const QByteArray& salt, const QString& password)
{
    return QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256);
}

QString engineMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("Not open");
}

} // namespace

struct Connection::Cached {
    QString sql;
    sqlite3_stmt* stmt = nullptr;
    jet::CreatedTable created;
};

ConnectionString ConnectionString::parse(const QString& text)
{
    ConnectionString cs;
    // Values may be wrapped in double quotes; "" is an empty value.
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0) break;
        const QString key = text.mid(i, eq - i).trimmed();
        qsizetype j = eq + 1;
        QString value;
        if (j < n && text[j] == u'"') {
            const qsizetype close = text.indexOf(u'"', j + 1);
            value = close < 0 ? text.mid(j + 1) : text.mid(j + 1, close - j - 1);
            j = close < 0 ? n : close + 1;
            const qsizetype semi = text.indexOf(u';', j);
            j = semi < 0 ? n : semi + 1;
        } else {
            const qsizetype semi = text.indexOf(u';', j);
            value = semi < 0 ? text.mid(j) : text.mid(j, semi - j);
            j = semi < 0 ? n : semi + 1;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            cs.dataSource = value.trimmed();
        else if (key.compare(QLatin1String("Jet OLEDB:Database Password"), Qt::CaseInsensitive) == 0)
            cs.password = value;
        i = j;
    }
    return cs;
}

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& connectionString)
{
    const ConnectionString cs = ConnectionString::parse(connectionString);
    openFile(cs.dataSource, cs.password);
    connectionString_ = connectionString;
}

void Connection::openFile(const QString& path, const QString& password)
{
    close();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        throw Error(QStringLiteral("Could not find file '%1'.").arg(path));
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = engineMessage(handle);
        sqlite3_close_v2(handle);
        throw Error(msg);
    }
    db_ = handle;
    path_ = path;
    connectionString_.clear();
    try {
        configure();
        const QByteArray gate = GateTable;
        if (tableExists(QString::fromLatin1(gate))) {
            sqlite3_stmt* st = prepare(QStringLiteral("select salt, hash from sys_gate"));
            bool row = false;
            step(st, &row);
            bool ok = false;
            if (row) {
                const QByteArray salt(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                                      sqlite3_column_bytes(st, 0));
                const QByteArray hash(static_cast<const char*>(sqlite3_column_blob(st, 1)),
                                      sqlite3_column_bytes(st, 1));
                ok = passwordHash(salt, password) == hash;
            }
            sqlite3_reset(st);
            if (!ok) throw Error(QStringLiteral("Not a valid password."));
        }
    } catch (...) {
        close();
        throw;
    }
}

void Connection::configure()
{
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_extended_result_codes(db_, 1);
    jet::registerFunctions(db_);
    // Reading the journal mode is the first read of the file: a file that is not a
    // database fails here.
    char* err = nullptr;
    if (sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, &err) !=
        SQLITE_OK) {
        const QString msg = err ? QString::fromUtf8(err) : engineMessage(db_);
        sqlite3_free(err);
        throw Error(msg);
    }
}

void Connection::close() noexcept
{
    for (auto& c : cache_)
        sqlite3_finalize(c->stmt);
    cache_.clear();
    if (db_) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
    db_ = nullptr;
    txLevel_ = 0;
    attached_.clear();
    path_.clear();
}

void Connection::create(const QString& path, const QString& password)
{
    if (QFileInfo::exists(path)) throw Error(QStringLiteral("Database '%1' already exists.").arg(path));
    sqlite3* handle = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto fail = [&]() {
        const QString msg = engineMessage(handle);
        sqlite3_close_v2(handle);
        QFile::remove(path);
        throw Error(msg);
    };
    if (rc != SQLITE_OK) fail();
    if (sqlite3_exec(handle, "PRAGMA journal_mode=WAL;", nullptr, nullptr, nullptr) != SQLITE_OK) fail();
    if (!password.isEmpty()) {
        if (sqlite3_exec(handle, "CREATE TABLE sys_gate (salt BLOB, hash BLOB)", nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            fail();
        QByteArray salt(16, '\0');
        for (auto& b : salt)
            b = static_cast<char>(QRandomGenerator::system()->bounded(256));
        const QByteArray hash = passwordHash(salt, password);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(handle, "insert into sys_gate values (?, ?)", -1, &st, nullptr) != SQLITE_OK)
            fail();
        sqlite3_bind_blob(st, 1, salt.constData(), int(salt.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(st, 2, hash.constData(), int(hash.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) fail();
    }
    sqlite3_close_v2(handle);
}

void Connection::raise(const QString& context) const
{
    QString msg = engineMessage(db_);
    if (!context.isEmpty()) msg += QStringLiteral(" (") + context + u')';
    throw Error(msg);
}

sqlite3_stmt* Connection::prepare(const QString& sql)
{
    if (!db_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
    for (size_t i = 0; i < cache_.size(); ++i) {
        if (cache_[i]->sql == sql) {
            if (i != 0) std::swap(cache_[i], cache_[0]);
            sqlite3_stmt* st = cache_[0]->stmt;
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            return st;
        }
    }
    auto attach = [this](const QString& file) -> QString {
        const QString canonical = QFileInfo(file).absoluteFilePath();
        if (auto it = attached_.constFind(canonical); it != attached_.constEnd()) return *it;
        if (!QFileInfo(canonical).isFile())
            throw Error(QStringLiteral("Could not find file '%1'.").arg(file));
        const QString alias = QStringLiteral("ext%1").arg(++attachSeq_);
        const QByteArray uri = "file:" + QUrl::toPercentEncoding(canonical, "/") + "?mode=ro";
        sqlite3_stmt* st = nullptr;
        const QByteArray text = QStringLiteral("ATTACH DATABASE ? AS %1").arg(alias).toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), -1, &st, nullptr) != SQLITE_OK) raise();
        sqlite3_bind_text(st, 1, uri.constData(), int(uri.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) raise(file);
        attached_.insert(canonical, alias);
        return alias;
    };
    const jet::Translation tr = jet::translate(sql, attach);
    const QByteArray utf8 = tr.sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &st, &tail) != SQLITE_OK) raise();
    if (!st)
        throw Error(
            QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or "
                           "'UPDATE'."));
    for (const char* p = tail; p && *p; ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n' && *p != ';') {
            sqlite3_finalize(st);
            throw Error(QStringLiteral("Characters found after end of SQL statement."));
        }
    }
    auto c = std::make_unique<Cached>();
    c->sql = tr.usesOtherFile ? QString() : sql; // statements on attached files are not reused
    c->stmt = st;
    c->created = tr.created;
    cache_.insert(cache_.begin(), std::move(c));
    while (cache_.size() > CacheLimit) {
        sqlite3_finalize(cache_.back()->stmt);
        cache_.pop_back();
    }
    return st;
}

void bindValue(sqlite3_stmt* st, int idx, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, idx);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        sqlite3_bind_int64(st, idx, v.toLongLong());
        break;
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        sqlite3_bind_int64(st, idx, static_cast<sqlite3_int64>(v.toULongLong()));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, idx, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        if (b.isEmpty())
            sqlite3_bind_zeroblob(st, idx, 0);
        else
            sqlite3_bind_blob(st, idx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDate: {
        const QByteArray s = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, idx, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        const QString text = dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                                      : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QByteArray s = text.toUtf8();
        sqlite3_bind_text(st, idx, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray s = v.toString().toUtf8();
        sqlite3_bind_text(st, idx, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

void Connection::bind(sqlite3_stmt* st, const Params& params)
{
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        QByteArray name = it.key().toUtf8();
        if (!name.startsWith(':') && !name.startsWith('@') && !name.startsWith('$')) name.prepend(':');
        const int idx = sqlite3_bind_parameter_index(st, name.constData());
        if (idx == 0) throw Error(QStringLiteral("Parameter %1 is not used by the statement.").arg(it.key()));
        bindValue(st, idx, it.value());
    }
}

void Connection::step(sqlite3_stmt* st, bool* hasRow)
{
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        *hasRow = true;
        return;
    }
    *hasRow = false;
    if (rc == SQLITE_DONE) return;
    const QString msg = engineMessage(db_);
    sqlite3_reset(st);
    throw Error(msg);
}

int Connection::execute(const QString& sql, const Params& params)
{
    sqlite3_stmt* st = prepare(sql);
    const jet::CreatedTable created = cache_.front()->created;
    bind(st, params);
    // A new table and the triggers that guard its text columns are made together.
    const bool creates = !created.name.isEmpty();
    if (creates) begin();
    try {
        bool row = true;
        while (row)
            step(st, &row);
    } catch (...) {
        if (creates) rollback();
        throw;
    }
    const int changed = sqlite3_changes(db_);
    sqlite3_reset(st);
    if (creates) {
        try {
            addZeroLengthGuards(created);
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }
    if (txLevel_ == 0) releaseAttachments();
    return changed;
}

void Connection::addZeroLengthGuards(const jet::CreatedTable& created)
{
    {
        // New text columns refuse empty strings until allowZeroLength says otherwise.
        for (const QString& col : created.textColumns) {
            const QString base = QStringLiteral("zl_%1_%2").arg(created.name, col).toLower();
            const QString check =
                QStringLiteral("WHEN NEW.%1 = '' BEGIN SELECT RAISE(ABORT, 'Field ''%2.%3'' cannot be a "
                               "zero-length string.'); END")
                    .arg(jet::quoteIdent(col), QString(created.name).replace(u'\'', QStringLiteral("''")),
                         QString(col).replace(u'\'', QStringLiteral("''")));
            const QString ins = QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 ")
                                    .arg(jet::quoteIdent(base + "_i"), jet::quoteIdent(created.name)) +
                                check;
            const QString upd =
                QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 ")
                    .arg(jet::quoteIdent(base + "_u"), jet::quoteIdent(col), jet::quoteIdent(created.name)) +
                check;
            for (const QString& t : {ins, upd})
                if (sqlite3_exec(db_, t.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                    raise();
        }
    }
}

QVariant Connection::scalar(const QString& sql, const Params& params)
{
    sqlite3_stmt* st = prepare(sql);
    bind(st, params);
    bool row = false;
    step(st, &row);
    QVariant v;
    if (row) {
        switch (sqlite3_column_type(st, 0)) {
        case SQLITE_INTEGER:
            v = QVariant(qlonglong(sqlite3_column_int64(st, 0)));
            break;
        case SQLITE_FLOAT:
            v = QVariant(sqlite3_column_double(st, 0));
            break;
        case SQLITE_TEXT:
            v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                  sqlite3_column_bytes(st, 0));
            break;
        case SQLITE_BLOB:
            v = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
            break;
        default:
            break;
        }
    }
    sqlite3_reset(st);
    if (txLevel_ == 0) releaseAttachments();
    return v;
}

void Connection::begin()
{
    if (!db_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
    const QByteArray sql =
        txLevel_ == 0 ? QByteArray("BEGIN") : QByteArray("SAVEPOINT sp") + QByteArray::number(txLevel_);
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) raise();
    ++txLevel_;
}

void Connection::commit()
{
    if (!db_ || txLevel_ == 0) throw Error(QStringLiteral("No transaction is active."));
    if (sqlite3_get_autocommit(db_)) {
        // The engine already rolled the transaction back (for example on a full disk).
        txLevel_ = 0;
        releaseAttachments();
        throw Error(QStringLiteral("The transaction was rolled back by the database engine."));
    }
    const QByteArray sql =
        txLevel_ == 1 ? QByteArray("COMMIT") : QByteArray("RELEASE sp") + QByteArray::number(txLevel_ - 1);
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) raise();
    --txLevel_;
    if (txLevel_ == 0) releaseAttachments();
}

void Connection::rollback()
{
    if (!db_ || txLevel_ == 0) throw Error(QStringLiteral("No transaction is active."));
    if (sqlite3_get_autocommit(db_)) {
        txLevel_ = 0;
    } else if (txLevel_ == 1) {
        for (auto& c : cache_)
            sqlite3_reset(c->stmt);
        if (sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK) raise();
        txLevel_ = 0;
    } else {
        const QByteArray sp = QByteArray("sp") + QByteArray::number(txLevel_ - 1);
        if (sqlite3_exec(db_, ("ROLLBACK TO " + sp + "; RELEASE " + sp).constData(), nullptr, nullptr,
                         nullptr) != SQLITE_OK)
            raise();
        --txLevel_;
    }
    if (txLevel_ == 0) releaseAttachments();
}

void Connection::releaseAttachments()
{
    if (attached_.isEmpty() || !db_ || !sqlite3_get_autocommit(db_)) return;
    // Statements prepared against an attached file go first, so that it can be detached.
    for (auto it = cache_.begin(); it != cache_.end();) {
        if ((*it)->sql.isEmpty()) {
            sqlite3_finalize((*it)->stmt);
            it = cache_.erase(it);
        } else {
            ++it;
        }
    }
    for (const QString& alias : std::as_const(attached_)) {
        const QByteArray sql = "DETACH DATABASE " + alias.toUtf8();
        sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr);
    }
    attached_.clear();
}

QStringList Connection::userTables() const
{
    QStringList out;
    if (!db_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_,
                           "select name from sqlite_master where type='table' and name not like 'sqlite\\_%' "
                           "escape '\\' and name <> 'sys_gate' order by name",
                           -1, &st, nullptr) != SQLITE_OK)
        raise();
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

bool Connection::tableExists(const QString& table) const
{
    if (!db_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, "select 1 from sqlite_master where type='table' and name = ? collate nocase",
                           -1, &st, nullptr) != SQLITE_OK)
        raise();
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
}

void Connection::dropTable(const QString& table)
{
    if (table.compare(QLatin1String(GateTable), Qt::CaseInsensitive) == 0 || !tableExists(table))
        throw Error(QStringLiteral("Table '%1' does not exist.").arg(table));
    // Cached statements may refer to the table; they are re-prepared on demand.
    for (auto& c : cache_)
        sqlite3_finalize(c->stmt);
    cache_.clear();
    const QByteArray sql = ("DROP TABLE " + jet::quoteIdent(table)).toUtf8();
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) raise();
}

std::vector<Connection::ColumnInfo> Connection::columns(const QString& table) const
{
    std::vector<ColumnInfo> out;
    if (!db_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = ("PRAGMA table_info(" + jet::quoteIdent(table) + ")").toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), -1, &st, nullptr) != SQLITE_OK) raise();
    while (sqlite3_step(st) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        c.declaredType = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        c.primaryKey = sqlite3_column_int(st, 5) != 0;
        out.push_back(c);
    }
    sqlite3_finalize(st);
    return out;
}

void Connection::allowZeroLength(const QString& table, const QStringList& columnNames)
{
    if (!tableExists(table)) throw Error(QStringLiteral("Table '%1' does not exist.").arg(table));
    const auto cols = columns(table);
    for (const QString& name : columnNames) {
        auto it = std::find_if(cols.begin(), cols.end(), [&](const ColumnInfo& c) {
            return c.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (it == cols.end())
            throw Error(QStringLiteral("Item '%1' cannot be found in the collection of table '%2'.")
                            .arg(name, table));
        const QString base = QStringLiteral("zl_%1_%2").arg(table, it->name).toLower();
        for (const char* suffix : {"_i", "_u"}) {
            const QByteArray sql = ("DROP TRIGGER IF EXISTS " + jet::quoteIdent(base + suffix)).toUtf8();
            if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) raise();
        }
    }
}

} // namespace db
