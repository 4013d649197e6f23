#include "platform/richtext/rtftokenizer.h"

#include <climits>

namespace richtext::detail {

namespace {

constexpr qsizetype kMaxWordLength = 32;

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a text run: structure, escapes, line breaks (ignored in RTF) and NUL.
bool endsText(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0';
}

} // namespace

RtfToken RtfTokenizer::next()
{
    while (pos_ < data_.size()) {
        const char c = data_[pos_];
        if (c == '{') {
            ++pos_;
            return {RtfToken::Kind::Open};
        }
        if (c == '}') {
            ++pos_;
            return {RtfToken::Kind::Close};
        }
        if (c == '\r' || c == '\n' || c == '\0') {
            ++pos_;
            continue;
        }
        if (c != '\\') return textRun();

        // A backslash: control word, hex byte or control symbol.
        if (pos_ + 1 >= data_.size()) {
            pos_ = data_.size();
            break;
        }
        const char d = data_[pos_ + 1];
        if (isLetter(d)) return controlWord();
        if (d == '\'') {
            pos_ += 2;
            const int hi = pos_ < data_.size() ? hexValue(data_[pos_]) : -1;
            const int lo = pos_ + 1 < data_.size() ? hexValue(data_[pos_ + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // Malformed escape: drop it together with a lone valid digit.
                if (hi >= 0) ++pos_;
                continue;
            }
            pos_ += 2;
            RtfToken t{RtfToken::Kind::Hex};
            t.byte = static_cast<unsigned char>(hi * 16 + lo);
            return t;
        }
        pos_ += 2;
        RtfToken t{RtfToken::Kind::Symbol};
        t.symbol = d == '\r' ? '\n' : d;
        return t;
    }
    return {RtfToken::Kind::End};
}

RtfToken RtfTokenizer::controlWord()
{
    ++pos_; // the backslash
    const qsizetype start = pos_;
    while (pos_ < data_.size() && isLetter(data_[pos_]))
        ++pos_;
    RtfToken t{RtfToken::Kind::Word};
    t.word = data_.sliced(start, qMin(pos_ - start, kMaxWordLength));

    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < data_.size() && isDigit(data_[pos_])) {
        t.hasParam = true;
        qint64 value = 0;
        while (pos_ < data_.size() && isDigit(data_[pos_])) {
            if (value <= INT_MAX) value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        value = qMin<qint64>(value, INT_MAX);
        t.param = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < data_.size() && data_[pos_] == ' ') ++pos_; // the delimiter belongs to the control word
    return t;
}

RtfToken RtfTokenizer::textRun()
{
    const qsizetype start = pos_;
    while (pos_ < data_.size() && !endsText(data_[pos_]))
        ++pos_;
    RtfToken t{RtfToken::Kind::Text};
    t.word = data_.sliced(start, pos_ - start);
    return t;
}

QByteArrayView RtfTokenizer::takeRaw(qint64 n)
{
    const qsizetype count = static_cast<qsizetype>(qBound<qint64>(0, n, data_.size() - pos_));
    const QByteArrayView raw = data_.sliced(pos_, count);
    pos_ += count;
    return raw;
}

} // namespace richtext::detail
