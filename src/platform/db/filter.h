// Recordset filters in ADO filter syntax, and the value comparisons they share with sort and locate.
#pragma once

#include "rowstore.h"

#include <QString>

#include <memory>
#include <optional>

namespace db {

// Compares a stored cell with a value: numbers numerically, text without regard to case,
// dates as ISO text. Empty optional when either side is null (SQL's unknown).
std::optional<int> compareCell(const Cell& cell, const QVariant& value);
// Orders two cells for sorting: nulls first, numbers before text, text without regard to case.
int orderCells(const Cell& a, const Cell& b);
// Glob match without regard to case: '*' or '%' any run, '?' or '_' one character.
bool likeMatch(const char* text, uint32_t len, const QString& pattern);

// A parsed filter: "A13=61 and a10 like '3*' and f1<>1", "c1<>'xx'", "(q >= 3 or n = null)".
class Filter {
public:
    // Throws Error when the text cannot be parsed or names an unknown field.
    static std::unique_ptr<Filter> parse(const QString& text, const RowStore& store);
    ~Filter();
    // True only when the expression is true (unknown counts as false).
    bool matches(const RowStore& store, uint64_t record) const;

    struct Node;

private:
    Filter() = default;
    std::unique_ptr<Node> root_;
};

} // namespace db
