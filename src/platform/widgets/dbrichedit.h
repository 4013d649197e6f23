// Editors bound to a field of a data source's current row: rich text (RTF) and plain memo text.
#pragma once

#include "platform/widgets/fieldlink.h"

#include <QPlainTextEdit>
#include <QTextEdit>

namespace widgets {

// Edits an RTF (binary) field. The editor follows the data source like DBRichView; what the
// learner typed is kept while the field itself does not change.
class DBRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit DBRichEdit(QWidget* parent = nullptr);

    // Binds to ds.field; a null ds or an empty field unbinds and clears the editor.
    void setDataSource(db::DataSource* ds, const QString& field);
    db::DataSource* dataSource() const { return link_.dataSource(); }
    QString dataField() const { return link_.field(); }

    // Writes the document as RTF into the field with setValue: the recordset enters edit
    // state and the caller posts. Throws db::Error as setValue does; nothing when unbound.
    void updateRecord();

private:
    void load(const QByteArray& bytes, bool isNull);
    FieldLink link_;
};

// Edits a text (memo) field as plain text.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataSource(db::DataSource* ds, const QString& field);
    db::DataSource* dataSource() const { return link_.dataSource(); }
    QString dataField() const { return link_.field(); }

    // True when the text was changed since it was read from the field or written to it.
    bool isModified() const { return document()->isModified(); }
    // Writes the text into the field with setValue when it was changed (a null note that was
    // never touched stays null); the caller posts. Throws db::Error as setValue does.
    void updateRecord();

private:
    void load(const QByteArray& bytes, bool isNull);
    FieldLink link_;
};

} // namespace widgets
