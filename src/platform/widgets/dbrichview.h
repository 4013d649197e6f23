// A read-only rich-text view bound to an RTF (binary) field of a data source's current row.
#pragma once

#include "platform/widgets/fieldlink.h"

#include <QTextBrowser>

namespace widgets {

// Shows the field as RTF (text that is not RTF shows as plain text) and follows the data
// source: another row, changed values, reloaded rows. A null field, a missing field and a
// closed or empty recordset show nothing.
class DBRichView : public QTextBrowser {
    Q_OBJECT
public:
    explicit DBRichView(QWidget* parent = nullptr);

    // Binds to ds.field; a null ds or an empty field unbinds and clears the view.
    void setDataSource(db::DataSource* ds, const QString& field);
    db::DataSource* dataSource() const { return link_.dataSource(); }
    QString dataField() const { return link_.field(); }

    // The text shown, paragraphs joined by "\n", without pictures.
    QString plainText() const;

private:
    void load(const QByteArray& bytes, bool isNull);
    FieldLink link_;
};

} // namespace widgets
