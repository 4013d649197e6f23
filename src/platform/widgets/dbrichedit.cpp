#include "platform/widgets/dbrichedit.h"

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

namespace widgets {

DBRichEdit::DBRichEdit(QWidget* parent)
    : QTextEdit(parent), link_([this](const QByteArray& b, bool n) { load(b, n); })
{
    setAcceptRichText(true);
}

void DBRichEdit::setDataSource(db::DataSource* ds, const QString& field)
{
    link_.bind(this, ds, field);
}

void DBRichEdit::load(const QByteArray& bytes, bool isNull)
{
    if (isNull || bytes.isEmpty()) {
        document()->clear();
        document()->setModified(false);
    } else {
        richtext::readRtf(bytes, document()); // leaves the document unmodified
    }
    // Undo must not step back into the previous row's text.
    document()->clearUndoRedoStacks();
}

void DBRichEdit::updateRecord()
{
    if (!link_.recordset()) return;
    link_.write(richtext::writeRtf(*document()));
    document()->setModified(false);
}

DBMemo::DBMemo(QWidget* parent)
    : QPlainTextEdit(parent), link_([this](const QByteArray& b, bool n) { load(b, n); })
{
}

void DBMemo::setDataSource(db::DataSource* ds, const QString& field)
{
    link_.bind(this, ds, field);
}

void DBMemo::load(const QByteArray& bytes, bool isNull)
{
    setPlainText(isNull ? QString() : QString::fromUtf8(bytes));
    document()->setModified(false);
}

void DBMemo::updateRecord()
{
    if (!link_.recordset() || !isModified()) return;
    link_.write(toPlainText());
    document()->setModified(false);
}

} // namespace widgets
