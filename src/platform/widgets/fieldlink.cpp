#include "platform/widgets/fieldlink.h"

namespace widgets {

QByteArray fieldBytes(const QVariant& value)
{
    if (db::Recordset::isNullValue(value)) return {};
    if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
    return value.toString().toUtf8();
}

void FieldLink::bind(QObject* receiver, db::DataSource* ds, const QString& field)
{
    QObject::disconnect(connection_);
    connection_ = {};
    if (!ds || field.isEmpty()) {
        ds_ = nullptr;
        field_.clear();
    } else {
        ds_ = ds;
        field_ = field;
        connection_ = QObject::connect(ds, &db::DataSource::dataChange, receiver, [this] { refresh(); });
    }
    loaded_ = false; // a new binding always shows what it reads
    refresh();
}

db::Recordset* FieldLink::recordset() const
{
    db::Recordset* rs = ds_ ? ds_->dataSet() : nullptr;
    try {
        if (!rs || !rs->isOpen() || !rs->hasField(field_)) return nullptr;
        // Past either end the cursor stays on the first or last row, which is still current.
        if (rs->state() != db::Recordset::State::Insert && rs->isEmpty()) return nullptr;
    } catch (...) {
        return nullptr;
    }
    return rs;
}

void FieldLink::refresh()
{
    const db::Recordset* rs = recordset();
    QByteArray bytes;
    bool isNull = true;
    int row = -1;
    if (rs) {
        try {
            const QVariant v = rs->value(field_);
            isNull = db::Recordset::isNullValue(v);
            bytes = fieldBytes(v);
            row = rs->recNo();
        } catch (...) {
            // Read as null: a bound view never fails because its row went away.
            bytes.clear();
            isNull = true;
        }
    }
    const bool same = loaded_ && rs == shownSet_ && row == shownRow_ && isNull == null_ &&
                      bytes.size() == bytes_.size() &&
                      (bytes.constData() == bytes_.constData() || bytes == bytes_);
    if (same) return;
    shownSet_ = rs;
    shownRow_ = row;
    bytes_ = bytes;
    null_ = isNull;
    loaded_ = true;
    reload_(bytes_, null_);
}

void FieldLink::write(const QVariant& value)
{
    db::Recordset* rs = recordset();
    if (!rs) return;
    const QByteArray oldBytes = bytes_;
    const bool oldNull = null_;
    // What the widget holds now is what the field will hold: the echo needs no reload.
    bytes_ = fieldBytes(value);
    null_ = db::Recordset::isNullValue(value);
    try {
        rs->setValue(field_, value);
    } catch (...) {
        bytes_ = oldBytes;
        null_ = oldNull;
        throw;
    }
}

} // namespace widgets
