// A client-side cursor over the rows of a statement or table, with filter, sort, locate,
// clones, and edits written through to the base table by its row key.
#pragma once

#include "connection.h"
#include "rowstore.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace db {

class Filter;

class Recordset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum LocateOption { CaseSensitive = 0x1, PartialKey = 0x2 };

    explicit Recordset(Connection& cn, QObject* parent = nullptr);
    ~Recordset() override;

    // Runs a select statement (Jet dialect) and loads its rows; positions on the first.
    void open(const QString& sql, const Params& params = {});
    // All rows of a table, in the order given by setSort (for example "bh").
    void openTable(const QString& table);
    void close();
    // Runs a statement that returns no rows (closing this recordset first); returns rows changed.
    int execSql(const QString& sql, const Params& params = {})
    {
        close();
        return cn_.execute(sql, params);
    }
    // Runs the statement again, keeping filter and sort; positions on the first row.
    void requery();
    bool isOpen() const { return store_ != nullptr; }
    QString sql() const { return sql_; }
    Connection& connection() const { return cn_; }
    // Rows can be edited, added and deleted (the statement reads one table of this file).
    bool canModify() const;
    QString baseTable() const;

    // Fields.
    int fieldCount() const;
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const; // case-insensitive; -1 when missing
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }

    // Position: record numbers are 1-based and counted within the filter.
    int recordCount() const;
    int recNo() const; // 0 when there is no current row
    void setRecNo(int recNo);
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const;
    bool eof() const;
    void first();
    void last();
    void next();
    void prior();

    // Values of the current row (the edit buffer while editing). A missing field throws.
    QVariant value(const QString& field) const;
    QVariant value(int index) const;
    bool isNull(const QString& field) const { return isNullValue(value(field)); }
    QString text(const QString& field) const;   // null gives ""
    qint64 integer(const QString& field) const; // null or non-numeric gives 0
    double number(const QString& field) const;  // null or non-numeric gives 0
    QByteArray bytes(const QString& field) const;
    QDate date(const QString& field) const;
    // Sets a value in the edit buffer; starts editing when browsing.
    void setValue(const QString& field, const QVariant& value);
    static bool isNullValue(const QVariant& v) { return !v.isValid() || v.isNull(); }

    // Editing.
    State state() const { return state_; }
    void edit();
    void append();
    void post(); // writes the buffer to the base table; stays in Edit/Insert if that fails
    void cancel();
    void remove(); // deletes the current row from the base table

    // Filter in ADO syntax; record numbers then count within it.
    void setFilter(const QString& text);
    QString filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    // Sort text "A1 ASC, B2 DESC"; empty for the statement's own order.
    void setSort(const QString& text);
    QString sort() const { return sortText_; }

    // Moves to the first row (within the filter) whose fields equal the values.
    bool locate(const QStringList& fields, const QVariantList& values, int options = 0);
    bool locate(const QString& field, const QVariant& value, int options = 0)
    {
        return locate(QStringList{field}, QVariantList{value}, options);
    }

    // A recordset over the same rows with its own cursor; edits through either are seen by both.
    std::unique_ptr<Recordset> clone(QObject* parent = nullptr) const;

signals:
    void currentChanged(); // another row became current
    void dataChanged();    // values of the current row changed
    void reset();          // rows reloaded, filtered, sorted or closed
    void stateChanged();

private:
    void load(const QString& sql, const Params& params);
    // Recomputes the visible rows; keeps the given store row current when it is still visible.
    void rebuildView(int64_t keepRow) const;
    void syncView() const;
    void checkBrowse();
    void requireOpen() const;
    void requireRow() const;
    int64_t currentRow() const; // index into the store's rows, -1 when none
    void readBack(size_t storeRow);
    void moveTo(qsizetype pos);
    QVariant stored(int index) const;

    Connection& cn_;
    std::shared_ptr<RowStore> store_;
    QString sql_;
    Params params_;
    mutable std::vector<uint32_t> view_; // indices into store rows, in display order
    mutable uint64_t viewVersion_ = 0;
    mutable qsizetype pos_ = 0; // index into view_; the current row whenever the view is not empty
    bool bof_ = true;
    bool eof_ = true;
    QString filterText_;
    bool filtered_ = false;
    std::unique_ptr<Filter> filterExpr_;
    QString sortText_;
    std::vector<std::pair<int, bool>> sortKeys_; // column, descending
    State state_ = State::Inactive;
    std::vector<QVariant> buffer_;
    std::vector<bool> changed_;
};

} // namespace db
