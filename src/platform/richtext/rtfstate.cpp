#include "platform/richtext/rtfstate.h"

namespace richtext::detail {

namespace {

// Pictures larger than this are dropped rather than collected.
constexpr qsizetype kMaxPictureBytes = 32 * 1024 * 1024;

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

QByteArray decoderName(int codePage)
{
    switch (codePage) {
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    case 932:
        return "Shift_JIS";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + QByteArray::number(codePage);
    }
}

} // namespace

void FontTable::begin(int number)
{
    end();
    current_ = number;
    entry_ = {};
}

void FontTable::setCharset(int charset)
{
    entry_.charset = charset;
}

void FontTable::setCodePage(int codePage)
{
    entry_.codePage = codePage;
}

void FontTable::addName(const QString& part)
{
    if (current_ >= 0 && entry_.name.size() < 256) entry_.name += part;
}

void FontTable::end()
{
    if (current_ < 0) return;
    entry_.name = entry_.name.trimmed();
    fonts_[current_] = entry_;
    current_ = -1;
}

int FontTable::entryCodePage() const
{
    return entry_.codePage > 0 ? entry_.codePage : codePageOfCharset(entry_.charset);
}

const FontEntry* FontTable::find(int number) const
{
    const auto it = fonts_.find(number);
    return it == fonts_.end() ? nullptr : &it->second;
}

void ColorTable::endEntry()
{
    colors_.append(any_ ? QColor(qBound(0, red_, 255), qBound(0, green_, 255), qBound(0, blue_, 255))
                        : QColor());
    red_ = green_ = blue_ = 0;
    any_ = false;
}

QColor ColorTable::at(int index) const
{
    return index > 0 && index < colors_.size() ? colors_[index] : QColor();
}

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

QString CodePages::decode(int codePage, QByteArrayView bytes)
{
    auto it = decoders_.find(codePage);
    if (it == decoders_.end()) {
        QStringDecoder decoder(decoderName(codePage).constData(), QStringConverter::Flag::Stateless);
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
        it = decoders_.emplace(codePage, std::move(decoder)).first;
    }
    // Stateless: every call stands alone; an unfinished lead byte at the end is dropped.
    return it->second.decode(bytes);
}

void Picture::addHex(QByteArrayView text)
{
    for (const char c : text) {
        const int v = hexValue(c);
        if (v < 0 || tooLarge) continue;
        if (pendingNibble < 0) {
            pendingNibble = v;
            continue;
        }
        if (data.size() >= kMaxPictureBytes) {
            tooLarge = true;
            data.clear();
            continue;
        }
        data.append(static_cast<char>(pendingNibble * 16 + v));
        pendingNibble = -1;
    }
}

void Picture::addRaw(QByteArrayView bytes)
{
    if (tooLarge) return;
    if (data.size() + bytes.size() > kMaxPictureBytes) {
        tooLarge = true;
        data.clear();
        return;
    }
    data.append(bytes);
}

QTextCharFormat toCharFormat(const CharState& s, const FontTable& fonts, const ColorTable& colors)
{
    QTextCharFormat f;
    // The default font stays unset so that the editor's own font shows; others are named.
    const int number = s.font < 0 ? fonts.defaultFont : s.font;
    if (number != fonts.defaultFont) {
        if (const FontEntry* e = fonts.find(number); e && !e->name.isEmpty()) f.setFontFamilies({e->name});
    }
    if (s.halfPoints > 0) f.setFontPointSize(s.halfPoints / 2.0);
    if (s.bold) f.setFontWeight(QFont::Bold);
    if (s.italic) f.setFontItalic(true);
    if (s.underline) f.setFontUnderline(true);
    if (s.strike) f.setFontStrikeOut(true);
    if (s.vertical != QTextCharFormat::AlignNormal) f.setVerticalAlignment(s.vertical);
    if (const QColor c = colors.at(s.foreground); c.isValid()) f.setForeground(c);
    if (const QColor c = colors.at(s.background); c.isValid()) f.setBackground(c);
    return f;
}

QTextBlockFormat toBlockFormat(const ParaState& p)
{
    QTextBlockFormat f;
    f.setAlignment(p.alignment);
    if (p.leftIndent) f.setLeftMargin(twipsToPixels(p.leftIndent));
    if (p.rightIndent) f.setRightMargin(twipsToPixels(p.rightIndent));
    if (p.firstIndent) f.setTextIndent(twipsToPixels(p.firstIndent));
    if (p.spaceBefore) f.setTopMargin(twipsToPixels(p.spaceBefore));
    if (p.spaceAfter) f.setBottomMargin(twipsToPixels(p.spaceAfter));
    return f;
}

} // namespace richtext::detail
