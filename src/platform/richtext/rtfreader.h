// Reads RTF (code page 936 and others) into a QTextDocument.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace richtext {

// Replaces the content of doc with the RTF document rtf and returns true. When rtf is not RTF,
// returns false and shows the bytes as plain text instead: UTF-8 when they are valid UTF-8, else GBK.
// Malformed input is read as far as it makes sense; it never crashes or hangs the reader.
bool readRtf(const QByteArray& rtf, QTextDocument* doc);

} // namespace richtext
