// A recordset bound to one table by name, and a data source that tells bound views of changes.
#pragma once

#include "recordset.h"

namespace db {

class Table : public Recordset {
    Q_OBJECT
public:
    using Recordset::Recordset;
    void setTableName(const QString& name)
    {
        if (isOpen()) close();
        tableName_ = name;
    }
    QString tableName() const { return tableName_; }
    // Order of the rows, for example "bh".
    void setIndexFieldNames(const QString& fields) { indexFields_ = fields; }
    void open()
    {
        openTable(tableName_);
        if (!indexFields_.isEmpty()) setSort(indexFields_);
    }
    void openIfClosed()
    {
        if (!isOpen()) open();
    }

private:
    QString tableName_;
    QString indexFields_;
};

// Relays the changes of a recordset (another row current, values changed, rows reloaded)
// as one dataChange signal, the hook that bound views and handlers listen to.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Recordset* dataSet = nullptr, QObject* parent = nullptr) : QObject(parent)
    {
        setDataSet(dataSet);
    }
    Recordset* dataSet() const { return dataSet_; }
    void setDataSet(Recordset* dataSet)
    {
        if (dataSet_) disconnect(dataSet_, nullptr, this, nullptr);
        dataSet_ = dataSet;
        if (dataSet_) {
            connect(dataSet_, &Recordset::currentChanged, this, &DataSource::dataChange);
            connect(dataSet_, &Recordset::dataChanged, this, &DataSource::dataChange);
            connect(dataSet_, &Recordset::reset, this, &DataSource::dataChange);
        }
    }

signals:
    void dataChange();

private:
    Recordset* dataSet_ = nullptr;
};

} // namespace db
