// A read-only table model over a recordset, and the link that keeps a view's current row and
// the recordset's current record in step.
#pragma once

#include "platform/db/recordset.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <vector>

class QAbstractItemView;

namespace widgets {

// Shows chosen fields of the recordset's rows (within its filter and sort) as columns with
// headings. The rows are read once per reset and the current row again whenever its values
// change, so drawing the view never moves the recordset's cursor.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Turns a row's value of the column's field into the text shown; row gives the other fields.
    using Format = std::function<QString(const RecordsetModel& model, int row, const QVariant& value)>;

    explicit RecordsetModel(db::Recordset* recordset, QObject* parent = nullptr);

    // Adds a column over field (case-insensitive name) with its heading.
    void addColumn(const QString& field, const QString& heading,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, Format format = {});
    // Also reads field for each row, for formats that need it.
    void addHiddenField(const QString& field);
    db::Recordset* recordset() const { return rs_; }

    // The value read for field in row (0-based); invalid when the field is not read or missing.
    QVariant value(int row, const QString& field) const;
    // Rereads every row.
    void reload();

    // Keeps view's current row and the recordset's record number in step, both ways.
    void attachView(QAbstractItemView* view);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The recordset's current record is now this 0-based row (-1 when none).
    void currentRowChanged(int row);

private:
    struct Column {
        QString field;
        QString heading;
        Qt::Alignment alignment;
        Format format;
    };
    std::vector<QVariant> readCurrent() const;
    void onCurrentChanged();
    void onDataChanged();
    void showCurrentInView();

    QPointer<db::Recordset> rs_;
    std::vector<Column> columns_;
    QStringList fields_; // columns' fields first, then hidden ones
    std::vector<std::vector<QVariant>> rows_;
    QPointer<QAbstractItemView> view_;
    bool syncing_ = false;
};

} // namespace widgets
