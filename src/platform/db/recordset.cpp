#include "recordset.h"

#include "filter.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>

namespace db {

namespace {

QString bracket(const QString& name)
{
    return u'[' + name + u']';
}

// Statements whose rows map one to one onto rows of a single table can be written back.
// The row key is fetched by putting the table's rowid in front of the select list.
QString withRowKey(const QString& sql)
{
    static const QRegularExpression head(QStringLiteral(R"(^\s*select\s+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blocker(
        QStringLiteral(R"(\b(distinct|top|group|union|intersect|except)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(sql);
    if (!m.hasMatch() || blocker.match(sql).hasMatch()) return {};
    return QStringLiteral("select _rowid_ AS [__rowkey__], ") + sql.mid(m.capturedEnd());
}

[[noreturn]] void noSuchField(const QString& name)
{
    throw Error(
        QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                       "ordinal. (%1)")
            .arg(name));
}

[[noreturn]] void notUpdatable()
{
    throw Error(QStringLiteral("Current Recordset does not support updating. This may be a limitation of the "
                               "provider, or of the selected locktype."));
}

[[noreturn]] void noCurrentRow()
{
    throw Error(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. Requested "
                               "operation requires a current record."));
}

} // namespace

Recordset::Recordset(Connection& cn, QObject* parent) : QObject(parent), cn_(cn) {}

Recordset::~Recordset() = default;

void Recordset::open(const QString& sql, const Params& params)
{
    close();
    load(sql, params);
    sql_ = sql;
    params_ = params;
    if (!filterText_.isEmpty()) filterExpr_ = Filter::parse(filterText_, *store_);
    rebuildView(-1);
    bof_ = true;
    eof_ = view_.empty();
    state_ = State::Browse;
    emit reset();
    emit stateChanged();
    emit currentChanged();
}

void Recordset::openTable(const QString& table)
{
    open(QStringLiteral("select * from ") + bracket(table));
}

void Recordset::load(const QString& sql, const Params& params)
{
    auto store = std::make_shared<RowStore>();
    sqlite3_stmt* st = nullptr;
    int first = 0;
    const QString keyed = withRowKey(sql);
    if (!keyed.isEmpty()) {
        try {
            st = cn_.prepare(keyed);
            const int n = sqlite3_column_count(st);
            const char* table = n > 1 ? sqlite3_column_table_name(st, 1) : nullptr;
            bool single = table != nullptr;
            for (int c = 1; c < n && single; ++c) {
                const char* t = sqlite3_column_table_name(st, c);
                const char* d = sqlite3_column_database_name(st, c);
                single = t && d && qstrcmp(t, table) == 0 && qstrcmp(d, "main") == 0;
            }
            if (single) {
                store->baseTable = QString::fromUtf8(table);
                first = 1;
            } else {
                st = nullptr;
            }
        } catch (const Error&) {
            st = nullptr; // for example a join, where the rowid is ambiguous
        }
    }
    if (!st) st = cn_.prepare(sql);
    cn_.bind(st, params);
    const int count = sqlite3_column_count(st) - first;
    store->columns.resize(size_t(count));
    for (int c = 0; c < count; ++c) {
        ColumnMeta& m = store->columns[size_t(c)];
        m.name = QString::fromUtf8(sqlite3_column_name(st, first + c));
        if (const char* o = sqlite3_column_origin_name(st, first + c)) m.originColumn = QString::fromUtf8(o);
        const QByteArray decl = QByteArray(sqlite3_column_decltype(st, first + c)).toUpper();
        m.isDate = decl.contains("DATE") || decl.contains("TIME");
    }
    bool row = false;
    try {
        for (;;) {
            cn_.step(st, &row);
            if (!row) break;
            const uint64_t rec = store->appendFromStatement(st, first, count);
            store->rows.push_back({rec, first ? int64_t(sqlite3_column_int64(st, 0)) : -1, false});
        }
    } catch (...) {
        sqlite3_reset(st);
        if (cn_.transactionLevel() == 0) cn_.releaseAttachments();
        throw;
    }
    sqlite3_reset(st);
    if (cn_.transactionLevel() == 0) cn_.releaseAttachments();
    store_ = std::move(store);
}

void Recordset::close()
{
    const bool wasOpen = store_ != nullptr;
    store_.reset();
    view_.clear();
    pos_ = 0;
    bof_ = eof_ = true;
    filterExpr_.reset();
    buffer_.clear();
    changed_.clear();
    state_ = State::Inactive;
    if (wasOpen) {
        emit reset();
        emit stateChanged();
    }
}

void Recordset::requery()
{
    requireOpen();
    checkBrowse();
    const QString sql = sql_;
    const Params params = params_;
    load(sql, params);
    filterExpr_ = filterText_.isEmpty() ? nullptr : Filter::parse(filterText_, *store_);
    rebuildView(-1);
    bof_ = true;
    eof_ = view_.empty();
    emit reset();
    emit currentChanged();
}

bool Recordset::canModify() const
{
    return store_ && !store_->baseTable.isEmpty();
}

QString Recordset::baseTable() const
{
    return store_ ? store_->baseTable : QString();
}

int Recordset::fieldCount() const
{
    return store_ ? store_->columnCount() : 0;
}

QString Recordset::fieldName(int index) const
{
    requireOpen();
    return store_->columns.at(size_t(index)).name;
}

int Recordset::fieldIndex(const QString& name) const
{
    return store_ ? store_->indexOf(name) : -1;
}

// ---- the visible rows ----

void Recordset::rebuildView(int64_t keepRow) const
{
    view_.clear();
    const RowStore& s = *store_;
    const bool useFilter = filtered_ && filterExpr_;
    for (size_t i = 0; i < s.rows.size(); ++i) {
        if (s.rows[i].deleted) continue;
        if (useFilter && !filterExpr_->matches(s, s.rows[i].offset)) continue;
        view_.push_back(uint32_t(i));
    }
    if (!sortKeys_.empty()) {
        std::stable_sort(view_.begin(), view_.end(), [&](uint32_t a, uint32_t b) {
            for (const auto& [col, desc] : sortKeys_) {
                const int r = orderCells(s.cell(s.rows[a].offset, col), s.cell(s.rows[b].offset, col));
                if (r != 0) return desc ? r > 0 : r < 0;
            }
            return false;
        });
    }
    pos_ = 0;
    if (keepRow >= 0) {
        const auto it = std::find(view_.begin(), view_.end(), uint32_t(keepRow));
        if (it != view_.end()) pos_ = it - view_.begin();
    }
    viewVersion_ = s.version;
}

void Recordset::syncView() const
{
    if (store_ && viewVersion_ != store_->version) {
        const int64_t keep =
            (pos_ >= 0 && pos_ < qsizetype(view_.size())) ? int64_t(view_[size_t(pos_)]) : -1;
        rebuildView(keep);
    }
}

void Recordset::requireOpen() const
{
    if (!store_) throw Error(QStringLiteral("Operation is not allowed when the object is closed."));
}

void Recordset::requireRow() const
{
    requireOpen();
    syncView();
    if (view_.empty()) noCurrentRow();
}

int64_t Recordset::currentRow() const
{
    syncView();
    if (view_.empty() || pos_ < 0 || pos_ >= qsizetype(view_.size())) return -1;
    return view_[size_t(pos_)];
}

// ---- navigation ----

int Recordset::recordCount() const
{
    if (!store_) return 0;
    syncView();
    return int(view_.size()) + (state_ == State::Insert ? 1 : 0);
}

int Recordset::recNo() const
{
    if (!store_ || state_ == State::Insert) return 0;
    syncView();
    return view_.empty() ? 0 : int(pos_) + 1;
}

void Recordset::moveTo(qsizetype pos)
{
    const qsizetype old = pos_;
    pos_ = pos;
    if (old != pos_) emit currentChanged();
}

void Recordset::setRecNo(int recNo)
{
    requireOpen();
    checkBrowse();
    syncView();
    if (recNo < 1 || recNo > int(view_.size())) return;
    bof_ = eof_ = false;
    moveTo(recNo - 1);
}

bool Recordset::bof() const
{
    if (!store_) return true;
    syncView();
    return view_.empty() || bof_;
}

bool Recordset::eof() const
{
    if (!store_) return true;
    syncView();
    return view_.empty() || eof_;
}

void Recordset::first()
{
    requireOpen();
    checkBrowse();
    syncView();
    bof_ = true;
    eof_ = view_.empty();
    moveTo(0);
}

void Recordset::last()
{
    requireOpen();
    checkBrowse();
    syncView();
    eof_ = true;
    bof_ = view_.empty();
    moveTo(view_.empty() ? 0 : qsizetype(view_.size()) - 1);
}

void Recordset::next()
{
    requireOpen();
    checkBrowse();
    syncView();
    if (pos_ + 1 < qsizetype(view_.size())) {
        bof_ = eof_ = false;
        moveTo(pos_ + 1);
    } else {
        eof_ = true;
    }
}

void Recordset::prior()
{
    requireOpen();
    checkBrowse();
    syncView();
    if (pos_ > 0 && !view_.empty()) {
        bof_ = eof_ = false;
        moveTo(pos_ - 1);
    } else {
        bof_ = true;
    }
}

// ---- values ----

QVariant Recordset::stored(int index) const
{
    const int64_t row = currentRow();
    if (row < 0) noCurrentRow();
    return store_->value(store_->rows[size_t(row)].offset, index);
}

QVariant Recordset::value(int index) const
{
    requireOpen();
    if (index < 0 || index >= store_->columnCount()) noSuchField(QString::number(index));
    if (state_ == State::Edit || state_ == State::Insert) return buffer_[size_t(index)];
    return stored(index);
}

QVariant Recordset::value(const QString& field) const
{
    requireOpen();
    const int i = store_->indexOf(field);
    if (i < 0) noSuchField(field);
    return value(i);
}

QString Recordset::text(const QString& field) const
{
    const QVariant v = value(field);
    if (isNullValue(v)) return {};
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

qint64 Recordset::integer(const QString& field) const
{
    const QVariant v = value(field);
    if (isNullValue(v)) return 0;
    if (v.typeId() == QMetaType::Double) return qint64(v.toDouble());
    bool ok = false;
    const qint64 i = v.toLongLong(&ok);
    if (ok) return i;
    return qint64(v.toString().trimmed().toDouble());
}

double Recordset::number(const QString& field) const
{
    const QVariant v = value(field);
    return isNullValue(v) ? 0.0 : v.toString().trimmed().toDouble();
}

QByteArray Recordset::bytes(const QString& field) const
{
    const QVariant v = value(field);
    if (isNullValue(v)) return {};
    return v.typeId() == QMetaType::QString ? v.toString().toUtf8() : v.toByteArray();
}

QDate Recordset::date(const QString& field) const
{
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

void Recordset::setValue(const QString& field, const QVariant& v)
{
    requireOpen();
    const int i = store_->indexOf(field);
    if (i < 0) noSuchField(field);
    if (state_ == State::Browse) edit();
    buffer_[size_t(i)] = v;
    changed_[size_t(i)] = true;
    emit dataChanged();
}

// ---- editing ----

void Recordset::checkBrowse()
{
    if (state_ == State::Edit || state_ == State::Insert) post();
}

void Recordset::edit()
{
    requireRow();
    if (state_ == State::Edit) return;
    if (state_ == State::Insert) throw Error(QStringLiteral("Operation is not allowed in this context."));
    if (!canModify()) notUpdatable();
    const int n = store_->columnCount();
    buffer_.resize(size_t(n));
    changed_.assign(size_t(n), false);
    for (int c = 0; c < n; ++c)
        buffer_[size_t(c)] = stored(c);
    state_ = State::Edit;
    emit stateChanged();
}

void Recordset::append()
{
    requireOpen();
    checkBrowse();
    if (!canModify()) notUpdatable();
    buffer_.assign(size_t(store_->columnCount()), QVariant());
    changed_.assign(size_t(store_->columnCount()), false);
    state_ = State::Insert;
    emit stateChanged();
    emit dataChanged();
}

void Recordset::cancel()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    buffer_.clear();
    changed_.clear();
    state_ = State::Browse;
    emit stateChanged();
    emit dataChanged();
}

void Recordset::readBack(size_t storeRow)
{
    QStringList cols;
    for (const ColumnMeta& m : store_->columns)
        cols << bracket(m.originColumn);
    const QString sql = QStringLiteral("select %1 from %2 where _rowid_ = :rowkey")
                            .arg(cols.join(QStringLiteral(", ")), bracket(store_->baseTable));
    sqlite3_stmt* st = cn_.prepare(sql);
    cn_.bind(st, {{QStringLiteral("rowkey"), qlonglong(store_->rows[storeRow].rowid)}});
    bool row = false;
    cn_.step(st, &row);
    if (row)
        store_->rows[storeRow].offset = store_->appendFromStatement(st, 0, store_->columnCount());
    else
        store_->rows[storeRow].deleted = true; // gone from the table meanwhile
    sqlite3_reset(st);
}

void Recordset::post()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    const RowStore& s = *store_;
    QStringList names, marks;
    Params params;
    for (int c = 0; c < s.columnCount(); ++c) {
        if (!changed_[size_t(c)]) continue;
        const QString p = QStringLiteral("p%1").arg(c);
        names << bracket(s.columns[size_t(c)].originColumn);
        marks << u':' + p;
        params.insert(p, buffer_[size_t(c)]);
    }
    if (state_ == State::Edit) {
        const int64_t row = currentRow();
        if (row < 0) noCurrentRow();
        if (!names.isEmpty()) {
            QStringList sets;
            for (qsizetype i = 0; i < names.size(); ++i)
                sets << names[i] + QStringLiteral(" = ") + marks[i];
            params.insert(QStringLiteral("rowkey"), qlonglong(s.rows[size_t(row)].rowid));
            cn_.execute(QStringLiteral("update %1 set %2 where _rowid_ = :rowkey")
                            .arg(bracket(s.baseTable), sets.join(QStringLiteral(", "))),
                        params);
            readBack(size_t(row));
        }
    } else {
        if (names.isEmpty())
            cn_.execute(QStringLiteral("insert into %1 default values").arg(bracket(s.baseTable)));
        else
            cn_.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                            .arg(bracket(s.baseTable), names.join(QStringLiteral(", ")),
                                 marks.join(QStringLiteral(", "))),
                        params);
        const int64_t rowid = sqlite3_last_insert_rowid(cn_.handle());
        syncView();
        store_->rows.push_back({0, rowid, false});
        const size_t row = store_->rows.size() - 1;
        readBack(row);
        ++store_->version;
        view_.push_back(uint32_t(row));
        viewVersion_ = store_->version;
        pos_ = qsizetype(view_.size()) - 1;
        bof_ = eof_ = false;
    }
    buffer_.clear();
    changed_.clear();
    state_ = State::Browse;
    emit stateChanged();
    emit dataChanged();
    emit currentChanged();
}

void Recordset::remove()
{
    requireRow();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (!canModify()) notUpdatable();
    const int64_t row = currentRow();
    cn_.execute(QStringLiteral("delete from %1 where _rowid_ = :rowkey").arg(bracket(store_->baseTable)),
                {{QStringLiteral("rowkey"), qlonglong(store_->rows[size_t(row)].rowid)}});
    if (state_ == State::Edit) {
        buffer_.clear();
        changed_.clear();
        state_ = State::Browse;
        emit stateChanged();
    }
    store_->rows[size_t(row)].deleted = true;
    ++store_->version;
    view_.erase(view_.begin() + pos_);
    viewVersion_ = store_->version;
    if (pos_ >= qsizetype(view_.size())) pos_ = view_.empty() ? 0 : qsizetype(view_.size()) - 1;
    eof_ = view_.empty();
    bof_ = view_.empty();
    emit currentChanged();
}

// ---- filter, sort, locate, clone ----

void Recordset::setFilter(const QString& text)
{
    if (store_) checkBrowse();
    std::unique_ptr<Filter> parsed;
    if (store_ && !text.trimmed().isEmpty())
        parsed = Filter::parse(text, *store_); // a bad filter leaves the old one in force
    filterText_ = text.trimmed();
    filterExpr_ = std::move(parsed);
    if (store_ && filtered_) {
        rebuildView(-1);
        bof_ = true;
        eof_ = view_.empty();
        emit reset();
        emit currentChanged();
    }
}

void Recordset::setFiltered(bool on)
{
    if (on == filtered_) return;
    if (store_) checkBrowse();
    filtered_ = on;
    if (store_) {
        rebuildView(-1);
        bof_ = true;
        eof_ = view_.empty();
        emit reset();
        emit currentChanged();
    }
}

void Recordset::setSort(const QString& text)
{
    std::vector<std::pair<int, bool>> keys;
    if (store_) {
        checkBrowse();
        for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
            QStringList words = part.simplified().split(u' ');
            if (words.isEmpty() || words[0].isEmpty()) continue;
            QString name = words[0];
            if (name.startsWith(u'[') && name.endsWith(u']')) name = name.mid(1, name.size() - 2);
            const int col = store_->indexOf(name);
            if (col < 0) noSuchField(name);
            const bool desc =
                words.size() > 1 && words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
            keys.emplace_back(col, desc);
        }
    }
    sortText_ = text;
    sortKeys_ = std::move(keys);
    if (store_) {
        const int64_t keep = currentRow();
        rebuildView(keep);
        emit reset();
        emit currentChanged();
    }
}

bool Recordset::locate(const QStringList& fields, const QVariantList& values, int options)
{
    requireOpen();
    checkBrowse();
    syncView();
    if (fields.size() != values.size())
        throw Error(QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                   "conflict with one another."));
    std::vector<int> cols;
    for (const QString& f : fields) {
        const int c = store_->indexOf(f.trimmed());
        if (c < 0) noSuchField(f);
        cols.push_back(c);
    }
    const bool exact = options & CaseSensitive;
    const bool partial = options & PartialKey;
    std::vector<QByteArray> wanted;
    for (const QVariant& v : values)
        wanted.push_back(isNullValue(v) ? QByteArray() : v.toString().toUtf8());
    const RowStore& s = *store_;
    for (size_t i = 0; i < view_.size(); ++i) {
        const uint64_t rec = s.rows[view_[i]].offset;
        bool all = true;
        for (size_t k = 0; k < cols.size() && all; ++k) {
            const Cell c = s.cell(rec, cols[k]);
            const QVariant& v = values[qsizetype(k)];
            if (isNullValue(v)) {
                all = c.isNull();
            } else if (c.isNull()) {
                all = false;
            } else if (partial && c.type == CellType::Text) {
                const QByteArray& w = wanted[k];
                all = c.len >= uint32_t(w.size()) &&
                      (exact ? std::memcmp(c.p, w.constData(), size_t(w.size())) == 0
                             : compareCell(Cell{CellType::Text, 0, 0, c.p, uint32_t(w.size())}, v) == 0);
            } else if (exact && c.type == CellType::Text && v.typeId() == QMetaType::QString) {
                const QByteArray& w = wanted[k];
                all = c.len == uint32_t(w.size()) && std::memcmp(c.p, w.constData(), size_t(w.size())) == 0;
            } else {
                all = compareCell(c, v) == 0;
            }
        }
        if (all) {
            bof_ = eof_ = false;
            moveTo(qsizetype(i));
            return true;
        }
    }
    return false;
}

std::unique_ptr<Recordset> Recordset::clone(QObject* parent) const
{
    requireOpen();
    auto r = std::make_unique<Recordset>(cn_, parent);
    r->store_ = store_;
    r->sql_ = sql_;
    r->params_ = params_;
    r->filterText_ = filterText_;
    r->filtered_ = filtered_;
    r->filterExpr_ = filterText_.isEmpty() ? nullptr : Filter::parse(filterText_, *store_);
    r->sortText_ = sortText_;
    r->sortKeys_ = sortKeys_;
    r->rebuildView(-1);
    r->bof_ = true;
    r->eof_ = r->view_.empty();
    r->state_ = State::Browse;
    return r;
}

} // namespace db
