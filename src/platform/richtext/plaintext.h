// The plain text of stored RTF, as the rich-text editor shows it.
#pragma once

#include <QByteArray>
#include <QString>

namespace richtext {

// Paragraphs (table cells included, in reading order) joined by "\n"; line breaks inside a
// paragraph also become "\n", pictures are left out. Input that is not RTF is read as readRtf does.
QString plainText(const QByteArray& rtf);

} // namespace richtext
