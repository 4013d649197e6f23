#include "platform/richtext/plaintext.h"

#include "platform/richtext/rtfreader.h"

#include <QTextDocument>

namespace richtext {

QString plainText(const QByteArray& rtf)
{
    QTextDocument doc;
    readRtf(rtf, &doc);
    QString text = doc.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace richtext
