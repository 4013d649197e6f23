#include "platform/richtext/rtfreader.h"

#include "platform/richtext/rtfparser.h"

#include <QStringDecoder>
#include <QTextDocument>

namespace richtext {

namespace {

bool looksLikeRtf(QByteArrayView data)
{
    qsizetype i = 0;
    if (data.startsWith("\xef\xbb\xbf")) i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

QString plainFallback(const QByteArray& data)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) return text;
    QStringDecoder gbk("GBK");
    if (gbk.isValid()) return gbk.decode(data);
    return QString::fromLatin1(data);
}

} // namespace

bool readRtf(const QByteArray& rtf, QTextDocument* doc)
{
    if (!doc) return false;
    // Loading is not an edit: no undo steps, and one layout pass at the end.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    const bool isRtf = looksLikeRtf(rtf);
    if (isRtf) {
        QTextCursor batch(doc);
        batch.beginEditBlock();
        detail::RtfParser(rtf, doc).run();
        batch.endEditBlock();
    } else {
        doc->setPlainText(plainFallback(rtf));
    }
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
    return isRtf;
}

} // namespace richtext
