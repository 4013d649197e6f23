#include "recordsetmodel.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace widgets {

RecordsetModel::RecordsetModel(db::Recordset* recordset, QObject* parent)
    : QAbstractTableModel(parent), rs_(recordset)
{
    if (!rs_) return;
    connect(rs_, &db::Recordset::reset, this, &RecordsetModel::reload);
    connect(rs_, &db::Recordset::currentChanged, this, &RecordsetModel::onCurrentChanged);
    connect(rs_, &db::Recordset::dataChanged, this, &RecordsetModel::onDataChanged);
    reload();
}

void RecordsetModel::addColumn(const QString& field, const QString& heading, Qt::Alignment alignment,
                               Format format)
{
    beginResetModel();
    columns_.insert(columns_.end(), Column{field, heading, alignment, std::move(format)});
    fields_.insert(qsizetype(columns_.size()) - 1, field);
    endResetModel();
    reload();
}

void RecordsetModel::addHiddenField(const QString& field)
{
    fields_ << field;
    reload();
}

std::vector<QVariant> RecordsetModel::readCurrent() const
{
    std::vector<QVariant> row;
    row.reserve(size_t(fields_.size()));
    for (const QString& f : fields_)
        row.push_back(rs_->hasField(f) ? rs_->value(f) : QVariant());
    return row;
}

void RecordsetModel::reload()
{
    beginResetModel();
    rows_.clear();
    try {
        if (rs_ && rs_->isOpen()) {
            // A clone keeps the filter and sort and has its own cursor: reading every row
            // this way never moves the record the rest of the program stands on.
            auto reader = rs_->clone();
            for (reader->first(); !reader->eof(); reader->next()) {
                std::vector<QVariant> row;
                row.reserve(size_t(fields_.size()));
                for (const QString& f : fields_)
                    row.push_back(reader->hasField(f) ? reader->value(f) : QVariant());
                rows_.push_back(std::move(row));
            }
        }
    } catch (const std::exception&) {
        rows_.clear(); // an unreadable recordset shows as empty
    }
    endResetModel();
    showCurrentInView();
}

void RecordsetModel::onCurrentChanged()
{
    if (!rs_) return;
    // Deleting or appending a row changes the count without a reset.
    if (rs_->isOpen() && rs_->state() != db::Recordset::State::Insert &&
        rs_->recordCount() != int(rows_.size()))
        reload();
    else
        showCurrentInView();
    emit currentRowChanged(rs_->isOpen() ? rs_->recNo() - 1 : -1);
}

void RecordsetModel::onDataChanged()
{
    if (!rs_ || !rs_->isOpen()) return;
    const int row = rs_->recNo() - 1;
    if (row < 0 || row >= int(rows_.size())) return;
    try {
        rows_[size_t(row)] = readCurrent();
    } catch (const std::exception&) {
        return;
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

QVariant RecordsetModel::value(int row, const QString& field) const
{
    if (row < 0 || row >= int(rows_.size())) return {};
    for (qsizetype i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(field, Qt::CaseInsensitive) == 0) return rows_[size_t(row)][size_t(i)];
    return {};
}

void RecordsetModel::attachView(QAbstractItemView* view)
{
    view_ = view;
    if (!view_) return;
    view_->setModel(this);
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (syncing_ || !rs_ || !rs_->isOpen() || !current.isValid()) return;
                if (rs_->recNo() == current.row() + 1) return;
                syncing_ = true;
                try {
                    rs_->setRecNo(current.row() + 1);
                } catch (const std::exception&) {
                    // The record stays where it was; the view follows it again below.
                }
                syncing_ = false;
                showCurrentInView();
            });
    showCurrentInView();
}

void RecordsetModel::showCurrentInView()
{
    if (!view_ || syncing_ || !view_->selectionModel()) return;
    const int row = rs_ && rs_->isOpen() ? rs_->recNo() - 1 : -1;
    if (row < 0 || row >= int(rows_.size())) return;
    if (view_->currentIndex().row() == row) return;
    syncing_ = true;
    const int column = view_->currentIndex().isValid() ? view_->currentIndex().column() : 0;
    view_->selectionModel()->setCurrentIndex(index(row, column),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index(row, column));
    syncing_ = false;
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= int(columns_.size()))
        return {};
    const Column& c = columns_[size_t(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant& v = rows_[size_t(index.row())][size_t(index.column())];
        if (c.format) return c.format(*this, index.row(), v);
        return db::Recordset::isNullValue(v) ? QString() : v.toString();
    }
    case Qt::TextAlignmentRole:
        return int(c.alignment);
    default:
        return {};
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < int(columns_.size())) {
        if (role == Qt::DisplayRole) return columns_[size_t(section)].heading;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace widgets
