#include "rowstore.h"

#include <QDate>
#include <QDateTime>

#include <sqlite3.h>

namespace db {

namespace {

template <typename T> void put(std::vector<char>& a, const T& v)
{
    const size_t at = a.size();
    a.resize(at + sizeof v);
    std::memcpy(a.data() + at, &v, sizeof v);
}

void putBytes(std::vector<char>& a, CellType type, const void* p, uint32_t len)
{
    a.push_back(static_cast<char>(type));
    put(a, len);
    const size_t at = a.size();
    a.resize(at + len);
    if (len) std::memcpy(a.data() + at, p, len);
}

void setOffset(std::vector<char>& a, uint64_t record, int col)
{
    const uint32_t off = uint32_t(a.size() - record);
    std::memcpy(a.data() + record + sizeof(uint32_t) * col, &off, sizeof off);
}

} // namespace

int RowStore::indexOf(const QString& name) const
{
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

uint64_t RowStore::appendFromStatement(sqlite3_stmt* st, int first, int count)
{
    const uint64_t record = arena.size();
    arena.resize(record + sizeof(uint32_t) * count);
    for (int c = 0; c < count; ++c) {
        setOffset(arena, record, c);
        const int sc = first + c;
        switch (sqlite3_column_type(st, sc)) {
        case SQLITE_INTEGER:
            arena.push_back(static_cast<char>(CellType::Integer));
            put(arena, int64_t(sqlite3_column_int64(st, sc)));
            break;
        case SQLITE_FLOAT:
            arena.push_back(static_cast<char>(CellType::Float));
            put(arena, sqlite3_column_double(st, sc));
            break;
        case SQLITE_TEXT: {
            const unsigned char* p = sqlite3_column_text(st, sc);
            putBytes(arena, CellType::Text, p, uint32_t(sqlite3_column_bytes(st, sc)));
            break;
        }
        case SQLITE_BLOB: {
            const void* p = sqlite3_column_blob(st, sc);
            putBytes(arena, CellType::Blob, p, uint32_t(sqlite3_column_bytes(st, sc)));
            break;
        }
        default:
            arena.push_back(static_cast<char>(CellType::Null));
            break;
        }
    }
    return record;
}

QVariant cellToVariant(const Cell& c, bool isDate)
{
    switch (c.type) {
    case CellType::Null:
        return {};
    case CellType::Integer:
        return QVariant(qlonglong(c.i));
    case CellType::Float:
        return QVariant(c.d);
    case CellType::Blob:
        return QVariant(QByteArray(c.p, qsizetype(c.len)));
    case CellType::Text: {
        const QString s = QString::fromUtf8(c.p, qsizetype(c.len));
        if (isDate) {
            if (s.size() == 10) {
                const QDate d = QDate::fromString(s, Qt::ISODate);
                if (d.isValid()) return d;
            } else {
                QDateTime dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                if (!dt.isValid()) dt = QDateTime::fromString(s, Qt::ISODate);
                if (dt.isValid()) return dt;
            }
        }
        return s;
    }
    }
    return {};
}

QVariant RowStore::value(uint64_t offset, int col) const
{
    return cellToVariant(cell(offset, col), columns[size_t(col)].isDate);
}

} // namespace db
