// The question bank's table layout, its password and connection string, and bank creation.
#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Connection;
}

namespace schema {

// Password of the delivered question bank.
inline constexpr const char* BankPassword = "k3m9q2w7zt5rx8vb1nd6";
// The product identifier held in tab_sj of the delivered bank.
inline constexpr const char* ProductId = "QB51846";
// Path of the bank below the program folder.
inline constexpr const char* BankRelativePath = "data/QB51846.mdb";

// The connection string for a database file, in the provider's exact form.
QString connectionString(const QString& dataSource, const QString& password);

// Jet DDL for every table of the bank, in creation order. Column order matters:
// update files are merged with "insert into T select * from T in '<file>'".
QStringList createStatements();

// Column lists of tab_answ and the paper tables, in table order.
QStringList answerColumns();

// Creates every table in an empty database, sets which text columns accept empty
// strings, and writes the single tab_plan row and the product's tab_sj row.
void createBankTables(db::Connection& cn);

} // namespace schema
