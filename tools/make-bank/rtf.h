// Writes the bank's rich texts as RTF in code page 936 from a small markup.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace makebank {

// Markup: '\n' separates paragraphs; "**" switches bold on and off; a paragraph that
// starts with '|' is a table row whose cells are separated by '|' (consecutive rows
// form one table).
class RtfWriter {
public:
    RtfWriter();
    // Throws std::runtime_error when the text holds a character outside code page 936.
    QByteArray toRtf(const QString& markup);

private:
    void appendText(QByteArray& out, const QString& text);
    void appendRow(QByteArray& out, const QString& line);

    QStringEncoder gbk_;
};

} // namespace makebank
