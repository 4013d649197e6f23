// Splits RTF bytes into groups, control words, control symbols, hex bytes and text runs.
#pragma once

#include <QByteArrayView>

namespace richtext::detail {

struct RtfToken {
    enum class Kind { End, Open, Close, Word, Symbol, Hex, Text };
    Kind kind = Kind::End;
    QByteArrayView word; // Word: its letters (at most 32); Text: the run of bytes
    int param = 0;       // Word: numeric parameter, clamped to the int range
    bool hasParam = false;
    char symbol = 0;        // Symbol: the character after the backslash
    unsigned char byte = 0; // Hex: the value of \'hh
};

// Reads tokens in one pass; every call consumes at least one byte until End, so reading is linear.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView data) : data_(data) {}

    RtfToken next();
    // Takes up to n raw bytes (the payload of \binN); fewer when the input ends first.
    QByteArrayView takeRaw(qint64 n);

private:
    RtfToken controlWord();
    RtfToken textRun();

    QByteArrayView data_;
    qsizetype pos_ = 0;
};

} // namespace richtext::detail
