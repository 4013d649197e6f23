// Compact in-memory storage of a query's rows, shared by a recordset and its clones.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <cstring>
#include <vector>

struct sqlite3_stmt;

namespace db {

enum class CellType : uint8_t { Null = 0, Integer = 1, Float = 2, Text = 3, Blob = 4 };

// A view of one stored value. Text is UTF-8.
struct Cell {
    CellType type = CellType::Null;
    int64_t i = 0;
    double d = 0;
    const char* p = nullptr;
    uint32_t len = 0;

    bool isNull() const { return type == CellType::Null; }
    bool isNumber() const { return type == CellType::Integer || type == CellType::Float; }
    double number() const { return type == CellType::Integer ? double(i) : d; }
};

struct ColumnMeta {
    QString name;         // as the statement names it
    QString originColumn; // column of the base table, when writable
    bool isDate = false;  // declared DATETIME: read as QDate / QDateTime
};

// Rows are records in one arena: for each row, an offset table (one uint32 per column,
// relative to the record) followed by the values, each a type byte and its payload.
struct RowStore {
    std::vector<ColumnMeta> columns;
    QString baseTable; // empty: read-only
    std::vector<char> arena;
    struct Row {
        uint64_t offset;
        int64_t rowid;
        bool deleted;
    };
    std::vector<Row> rows;
    uint64_t version = 0; // bumped when rows are added or removed

    int columnCount() const { return int(columns.size()); }
    int indexOf(const QString& name) const;

    // Appends the current row of a statement (columns first..first+count-1).
    uint64_t appendFromStatement(sqlite3_stmt* st, int first, int count);

    Cell cell(uint64_t offset, int col) const
    {
        const char* rec = arena.data() + offset;
        uint32_t off;
        std::memcpy(&off, rec + sizeof(uint32_t) * col, sizeof off);
        const char* p = rec + off;
        Cell c;
        c.type = static_cast<CellType>(*p++);
        switch (c.type) {
        case CellType::Integer:
            std::memcpy(&c.i, p, sizeof c.i);
            break;
        case CellType::Float:
            std::memcpy(&c.d, p, sizeof c.d);
            break;
        case CellType::Text:
        case CellType::Blob:
            std::memcpy(&c.len, p, sizeof c.len);
            c.p = p + sizeof c.len;
            break;
        case CellType::Null:
            break;
        }
        return c;
    }
    QVariant value(uint64_t offset, int col) const;
};

// Converts a stored cell to the value a caller sees.
QVariant cellToVariant(const Cell& c, bool isDate);

} // namespace db
