// Pieces of RTF output: text in code page 936 or \uN form, the font and colour tables of the header.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace richtext::detail {

struct OutputFont {
    QString family;
    bool cjk = false; // written with \fcharset134; its text uses GBK bytes
};

// Appends text as RTF: ASCII as is (with \ { } escaped), characters that GBK round-trips as \'hh
// bytes when gbk is set, everything else as \uN? (one fallback character, matching \uc1).
class TextEncoder {
public:
    TextEncoder();
    void append(QByteArray& out, QStringView text, bool gbk);

private:
    bool appendGbk(QByteArray& out, QChar c);

    QStringEncoder encoder_;
    QStringDecoder decoder_;
};

// Whether a font family is a Chinese one (so that its entry gets \fcharset134).
bool isCjkFamily(const QString& family);

// "{\rtf1\ansi\ansicpg936..." up to the start of the body.
QByteArray header(const QList<OutputFont>& fonts, const QList<QColor>& colors, TextEncoder& encoder);

} // namespace richtext::detail
