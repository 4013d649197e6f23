// The link of one bound widget to a field of the current row of a data source.
#pragma once

#include "platform/db/table.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>

namespace widgets {

// Holds the binding and reads the field without ever throwing: a null value, a missing field
// and a closed or empty recordset all read as null. Calls back only when what the widget
// shows would change (another recordset or row, or other bytes), so that a data source that
// signals often costs one read and one comparison per signal.
class FieldLink {
public:
    using Reload = std::function<void(const QByteArray& bytes, bool isNull)>;
    explicit FieldLink(Reload reload) : reload_(std::move(reload)) {}
    ~FieldLink() { QObject::disconnect(connection_); }
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    // Binds to the field of ds (null ds or empty field unbinds) and reloads at once; the
    // connection lives no longer than receiver.
    void bind(QObject* receiver, db::DataSource* ds, const QString& field);
    db::DataSource* dataSource() const { return ds_; }
    QString field() const { return field_; }
    // The bound recordset when it is open, has a current row and holds the field; else null.
    db::Recordset* recordset() const;

    // Reads the field and calls back when the value or the row differs from the last one.
    void refresh();
    // Writes value into the field of the current row with setValue (the recordset enters edit
    // state); the change signal that the write raises does not reload the widget. Throws
    // db::Error when the recordset refuses; nothing when unbound.
    void write(const QVariant& value);
    const QByteArray& bytes() const { return bytes_; }
    bool isNull() const { return null_; }

private:
    Reload reload_;
    QPointer<db::DataSource> ds_;
    QString field_;
    QMetaObject::Connection connection_;
    // What was last shown: from which recordset and row, and the bytes.
    const db::Recordset* shownSet_ = nullptr;
    int shownRow_ = -1;
    QByteArray bytes_;
    bool null_ = true;
    bool loaded_ = false;
};

// The field's value as bytes: binary as it is, text as UTF-8.
QByteArray fieldBytes(const QVariant& value);

} // namespace widgets
