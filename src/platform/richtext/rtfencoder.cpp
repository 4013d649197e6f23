#include "platform/richtext/rtfencoder.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace richtext::detail {

namespace {

void appendUnicode(QByteArray& out, char16_t unit)
{
    // \uN takes a signed 16-bit number.
    const int n = unit > 0x7fff ? int(unit) - 0x10000 : int(unit);
    out += "\\u" + QByteArray::number(n) + '?';
}

} // namespace

TextEncoder::TextEncoder()
    : encoder_("GBK", QStringConverter::Flag::Stateless), decoder_("GBK", QStringConverter::Flag::Stateless)
{
}

bool TextEncoder::appendGbk(QByteArray& out, QChar c)
{
    if (!encoder_.isValid() || !decoder_.isValid() || c.isSurrogate()) return false;
    const QByteArray bytes = encoder_.encode(QStringView(&c, 1));
    // Unmappable characters come back as a substitute; only an exact round trip counts.
    if (bytes.isEmpty() || QString(decoder_.decode(bytes)) != QString(c)) return false;
    static const char digits[] = "0123456789abcdef";
    for (const char b : bytes) {
        const auto v = static_cast<unsigned char>(b);
        out += "\\'";
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return true;
}

void TextEncoder::append(QByteArray& out, QStringView text, bool gbk)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x7f) {
            out += char(u);
        } else if (u < 0x20 || u == 0x7f || u == QChar::ObjectReplacementCharacter) {
            continue; // control characters and object markers have no text form
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u == 0x2011) {
            out += "\\_";
        } else if (!gbk || !appendGbk(out, c)) {
            appendUnicode(out, u);
        }
    }
}

bool isCjkFamily(const QString& family)
{
    for (const QChar c : family) {
        if (c.unicode() >= 0x80) return true; // 宋体, 黑体, 楷体 …
    }
    static const char* const known[] = {"simsun", "simhei",   "simkai",    "simfang", "kaiti", "fangsong",
                                        "yahei",  "dengxian", "wenquanyi", "wqy",     "cjk",   "source han",
                                        "sc",     "ming",     "song",      "hei"};
    const QString lower = family.toLower();
    for (const char* k : known) {
        const QString key = QString::fromLatin1(k);
        if (key.size() <= 3 ? lower.split(QLatin1Char(' ')).contains(key) : lower.contains(key)) return true;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        return systems.contains(QFontDatabase::SimplifiedChinese) ||
               systems.contains(QFontDatabase::TraditionalChinese);
    }
    return false;
}

QByteArray header(const QList<OutputFont>& fonts, const QList<QColor>& colors, TextEncoder& encoder)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + (fonts[i].cjk ? "134 " : "0 ");
        QString name = fonts[i].family;
        name.remove(QLatin1Char(';'));
        encoder.append(out, name, fonts[i].cjk);
        out += ";}";
    }
    out += "}\n";
    if (!colors.isEmpty()) {
        out += "{\\colortbl ;";
        for (const QColor& c : colors) {
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                   "\\blue" + QByteArray::number(c.blue()) + ';';
        }
        out += "}\n";
    }
    out += "\\uc1\n";
    return out;
}

} // namespace richtext::detail
