// Writes a QTextDocument, or plain text, as RTF in code page 936.
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace richtext {

// The document as 7-bit RTF starting "{\rtf1\ansi\ansicpg936": fonts (Chinese ones with
// \fcharset134), colours, paragraphs with alignment and indents, character formats, tables and
// pictures (as PNG). Text is ASCII, GBK bytes as \'hh, or \uN? for what GBK cannot hold.
QByteArray writeRtf(const QTextDocument& doc);

// Plain text as RTF: one paragraph per line, in the default Chinese font.
QByteArray plainToRtf(const QString& text);

} // namespace richtext
