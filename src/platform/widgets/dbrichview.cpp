#include "platform/widgets/dbrichview.h"

#include "platform/richtext/rtfreader.h"

namespace widgets {

DBRichView::DBRichView(QWidget* parent)
    : QTextBrowser(parent), link_([this](const QByteArray& b, bool n) { load(b, n); })
{
    setReadOnly(true);
    setOpenLinks(false);
    setUndoRedoEnabled(false);
}

void DBRichView::setDataSource(db::DataSource* ds, const QString& field)
{
    link_.bind(this, ds, field);
}

void DBRichView::load(const QByteArray& bytes, bool isNull)
{
    if (isNull || bytes.isEmpty()) {
        document()->clear();
        return;
    }
    richtext::readRtf(bytes, document());
}

QString DBRichView::plainText() const
{
    QString text = document()->toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace widgets
