#include "platform/richtext/rtfparser.h"

#include <QImage>

namespace richtext::detail {

namespace {

// Groups nested deeper than this are skipped with their content.
constexpr std::size_t kMaxDepth = 256;
// Lengths in twips are clamped to 22 inches; font sizes to 1638 points.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;

int twips(const RtfToken& t)
{
    return qBound(-kMaxTwips, t.param, kMaxTwips);
}

bool flag(const RtfToken& t)
{
    return !t.hasParam || t.param != 0;
}

Keyword mainOf(Keyword associated)
{
    switch (associated) {
    case Keyword::Af:
        return Keyword::F;
    case Keyword::Ab:
        return Keyword::B;
    case Keyword::Ai:
        return Keyword::I;
    case Keyword::Afs:
        return Keyword::Fs;
    default:
        return Keyword::Unknown;
    }
}

} // namespace

RtfParser::RtfParser(QByteArrayView rtf, QTextDocument* doc) : tokens_(rtf), builder_(doc) {}

void RtfParser::run()
{
    while (!done_) {
        const RtfToken t = tokens_.next();
        if (t.kind == RtfToken::Kind::End) break;
        if (skipDepth_ > 0) {
            skipToken(t);
            continue;
        }
        if (t.kind == RtfToken::Kind::Open) {
            openGroup();
            continue;
        }
        if (t.kind == RtfToken::Kind::Close) {
            closeGroup();
            continue;
        }
        if (stack_.empty()) continue; // nothing counts before the first group opens
        if (t.kind == RtfToken::Kind::Text) {
            // The fallback text after \uN is skipped byte by byte.
            const qsizetype skip = qMin<qsizetype>(fallbackLeft_, t.word.size());
            fallbackLeft_ -= static_cast<int>(skip);
            bytes(t.word.sliced(skip));
            continue;
        }
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            if (t.kind == RtfToken::Kind::Word && keyword(t.word) == Keyword::Bin) tokens_.takeRaw(t.param);
            continue;
        }
        if (t.kind == RtfToken::Kind::Hex) {
            const char b = static_cast<char>(t.byte);
            if (top().destination != Destination::Picture) bytes(QByteArrayView(&b, 1));
        } else if (t.kind == RtfToken::Kind::Symbol) {
            symbol(t.symbol);
        } else {
            word(t, false);
        }
    }
    flushText();
    builder_.finish();
}

void RtfParser::skipToken(const RtfToken& t)
{
    if (t.kind == RtfToken::Kind::Open) {
        ++skipDepth_;
    } else if (t.kind == RtfToken::Kind::Close) {
        if (--skipDepth_ == 0 && stack_.empty()) done_ = true;
    } else if (t.kind == RtfToken::Kind::Word && keyword(t.word) == Keyword::Bin) {
        tokens_.takeRaw(t.param); // binary data may hold braces
    }
}

void RtfParser::openGroup()
{
    flushText();
    fallbackLeft_ = 0;
    if (stack_.size() >= kMaxDepth) {
        skipDepth_ = 1;
        return;
    }
    stack_.push_back(stack_.empty() ? GroupState{} : stack_.back());
}

void RtfParser::closeGroup()
{
    flushText();
    fallbackLeft_ = 0;
    if (stack_.empty()) return;
    const Destination closed = stack_.back().destination;
    if (closed == Destination::FontTable) endFontEntry();
    stack_.pop_back();
    if (stack_.empty()) {
        done_ = true; // the document's own group has ended
        return;
    }
    if (closed == Destination::Picture && top().destination != Destination::Picture) finishPicture();
}

void RtfParser::skipRestOfGroup()
{
    flushText();
    stack_.pop_back();
    skipDepth_ = 1;
}

void RtfParser::symbol(char c)
{
    switch (c) {
    case '*': {
        // \*: the destination that follows is skipped unless it is one the reader knows.
        const RtfToken next = tokens_.next();
        if (next.kind == RtfToken::Kind::Word)
            word(next, true);
        else if (next.kind != RtfToken::Kind::End) {
            skipRestOfGroup();
            skipToken(next);
        }
        break;
    }
    case '\\':
    case '{':
    case '}':
        bytes(QByteArrayView(&c, 1));
        break;
    case '~':
        character(u'\u00a0');
        break;
    case '_':
        character(u'\u2011');
        break;
    case '\n':
        flushText();
        if (top().destination == Destination::Text)
            builder_.paragraph(charFormat(), blockFormat(), top().para.inTable);
        break;
    default: // \- optional hyphen, \: index entry, \| formula: nothing to show
        break;
    }
}

void RtfParser::word(const RtfToken& t, bool starred)
{
    const Keyword k = keyword(t.word);
    GroupState& g = top();
    if (starred && k != Keyword::FontTable && k != Keyword::ColorTable && k != Keyword::Pict &&
        k != Keyword::ShpPict) {
        skipRestOfGroup();
        return;
    }
    if (k == Keyword::U) {
        const int n = t.param < 0 ? t.param + 65536 : t.param;
        if (n > 0 && n <= 0xffff) character(static_cast<char16_t>(n));
        fallbackLeft_ = g.unicodeSkip;
        return;
    }
    if (k == Keyword::Unknown) return;
    flushText();
    switch (k) {
    case Keyword::Bin: {
        const QByteArrayView raw = tokens_.takeRaw(t.param);
        if (g.destination == Destination::Picture) picture_.addRaw(raw);
        return;
    }
    case Keyword::Uc:
        g.unicodeSkip = qBound(0, t.param, 16);
        return;
    case Keyword::SkipDestination:
        skipRestOfGroup();
        return;
    case Keyword::FontTable:
        g.destination = Destination::FontTable;
        return;
    case Keyword::ColorTable:
        g.destination = Destination::ColorTable;
        return;
    case Keyword::Pict:
        g.destination = Destination::Picture;
        picture_ = Picture{};
        return;
    default:
        break;
    }
    switch (g.destination) {
    case Destination::FontTable:
        if (k == Keyword::F) {
            endFontEntry();
            fonts_.begin(t.param);
        } else if (k == Keyword::FCharset) {
            fonts_.setCharset(t.param);
        } else if (k == Keyword::Cpg) {
            fonts_.setCodePage(t.param);
        }
        return;
    case Destination::ColorTable:
        if (k == Keyword::Red)
            colors_.setRed(t.param);
        else if (k == Keyword::Green)
            colors_.setGreen(t.param);
        else if (k == Keyword::Blue)
            colors_.setBlue(t.param);
        return;
    case Destination::Picture:
        pictureWord(k, t);
        return;
    case Destination::Text:
        textWord(k, t);
        return;
    }
}

void RtfParser::textWord(Keyword k, const RtfToken& t)
{
    CharState& c = top().chars;
    ParaState& p = top().para;
    switch (k) {
    case Keyword::AnsiCpg:
        documentCodePage_ = t.param > 0 ? t.param : 936;
        break;
    case Keyword::Mac:
        documentCodePage_ = 10000;
        break;
    case Keyword::Pc:
        documentCodePage_ = 437;
        break;
    case Keyword::Pca:
        documentCodePage_ = 850;
        break;
    case Keyword::Deff:
        fonts_.defaultFont = t.param;
        break;
    case Keyword::Plain:
        c = CharState{};
        break;
    case Keyword::F:
        c.font = t.param;
        break;
    case Keyword::Fs:
        c.halfPoints = t.hasParam ? qBound(0, t.param, kMaxHalfPoints) : 24;
        break;
    case Keyword::B:
        c.bold = flag(t);
        break;
    case Keyword::I:
        c.italic = flag(t);
        break;
    case Keyword::Ul:
        c.underline = flag(t);
        break;
    case Keyword::UlNone:
        c.underline = false;
        break;
    case Keyword::Strike:
        c.strike = flag(t);
        break;
    case Keyword::Cf:
        c.foreground = qMax(0, t.param);
        break;
    case Keyword::Cb:
    case Keyword::Highlight:
        c.background = qMax(0, t.param);
        break;
    case Keyword::Sub:
        c.vertical = flag(t) ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::Super:
        c.vertical = flag(t) ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        break;
    case Keyword::NoSuperSub:
        c.vertical = QTextCharFormat::AlignNormal;
        break;
    case Keyword::Dbch:
        c.doubleByte = true;
        break;
    case Keyword::OtherRunType:
        c.doubleByte = false;
        break;
    case Keyword::Af:
    case Keyword::Ab:
    case Keyword::Ai:
    case Keyword::Afs:
        // A character has one format here, so while \dbch is in effect the associated
        // properties (those of the double-byte text that follows) become the main ones.
        if (c.doubleByte) textWord(mainOf(k), t);
        break;
    case Keyword::Pard:
        p = ParaState{};
        break;
    case Keyword::Ql:
        p.alignment = Qt::AlignLeft;
        break;
    case Keyword::Qc:
        p.alignment = Qt::AlignHCenter;
        break;
    case Keyword::Qr:
        p.alignment = Qt::AlignRight;
        break;
    case Keyword::Qj:
        p.alignment = Qt::AlignJustify;
        break;
    case Keyword::Li:
        p.leftIndent = twips(t);
        break;
    case Keyword::Ri:
        p.rightIndent = twips(t);
        break;
    case Keyword::Fi:
        p.firstIndent = twips(t);
        break;
    case Keyword::Sb:
        p.spaceBefore = twips(t);
        break;
    case Keyword::Sa:
        p.spaceAfter = twips(t);
        break;
    case Keyword::Par:
        builder_.paragraph(charFormat(), blockFormat(), p.inTable);
        break;
    case Keyword::Line:
        character(u'\u2028');
        break;
    case Keyword::Tab:
        character(u'\t');
        break;
    case Keyword::Emdash:
        character(u'\u2014');
        break;
    case Keyword::Endash:
        character(u'\u2013');
        break;
    case Keyword::Bullet:
        character(u'\u2022');
        break;
    case Keyword::Lquote:
        character(u'\u2018');
        break;
    case Keyword::Rquote:
        character(u'\u2019');
        break;
    case Keyword::Ldblquote:
        character(u'\u201c');
        break;
    case Keyword::Rdblquote:
        character(u'\u201d');
        break;
    default:
        tableWord(k, t);
        break;
    }
}

void RtfParser::tableWord(Keyword k, const RtfToken& t)
{
    switch (k) {
    case Keyword::InTbl:
        top().para.inTable = true;
        break;
    case Keyword::Trowd:
        builder_.rowDefinition();
        break;
    case Keyword::Cellx:
        builder_.cellEdge(qBound(0, t.param, kMaxTwips));
        break;
    case Keyword::Cell:
        builder_.cell(charFormat(), blockFormat());
        break;
    case Keyword::Row:
        builder_.row();
        break;
    default:
        break;
    }
}

void RtfParser::pictureWord(Keyword k, const RtfToken& t)
{
    switch (k) {
    case Keyword::PngBlip:
        picture_.type = Picture::Type::Png;
        break;
    case Keyword::JpegBlip:
        picture_.type = Picture::Type::Jpeg;
        break;
    case Keyword::OtherBlip:
        picture_.type = Picture::Type::Unknown;
        break;
    case Keyword::PicW:
        picture_.widthPixels = t.param;
        break;
    case Keyword::PicH:
        picture_.heightPixels = t.param;
        break;
    case Keyword::PicWGoal:
        picture_.widthGoal = t.param;
        break;
    case Keyword::PicHGoal:
        picture_.heightGoal = t.param;
        break;
    case Keyword::PicScaleX:
        picture_.scaleX = qBound(1, t.param, 1000);
        break;
    case Keyword::PicScaleY:
        picture_.scaleY = qBound(1, t.param, 1000);
        break;
    default:
        break;
    }
}

void RtfParser::bytes(QByteArrayView b)
{
    if (b.isEmpty()) return;
    switch (top().destination) {
    case Destination::Text: {
        const int cp = textCodePage();
        if (cp != bytesCodePage_) flushBytes();
        bytesCodePage_ = cp;
        bytes_.append(b);
        break;
    }
    case Destination::FontTable:
        for (const char c : b) {
            if (c == ';')
                endFontEntry();
            else if (fonts_.inEntry())
                fontName_.append(c);
        }
        break;
    case Destination::ColorTable:
        for (const char c : b) {
            if (c == ';') colors_.endEntry();
        }
        break;
    case Destination::Picture:
        picture_.addHex(b);
        break;
    }
}

void RtfParser::character(char16_t c)
{
    if (top().destination == Destination::Text) {
        flushBytes();
        text_.append(QChar(c));
    } else if (top().destination == Destination::FontTable && fonts_.inEntry()) {
        flushFontName();
        fonts_.addName(QString(QChar(c)));
    }
}

void RtfParser::flushBytes()
{
    if (bytes_.isEmpty()) return;
    text_.append(codePages_.decode(bytesCodePage_, bytes_));
    bytes_.clear();
}

void RtfParser::flushText()
{
    flushBytes();
    if (text_.isEmpty()) return;
    builder_.text(text_, charFormat(), blockFormat(), top().para.inTable);
    text_.clear();
}

void RtfParser::flushFontName()
{
    if (fontName_.isEmpty()) return;
    const int cp = fonts_.entryCodePage();
    fonts_.addName(codePages_.decode(cp > 0 ? cp : documentCodePage_, fontName_));
    fontName_.clear();
}

void RtfParser::endFontEntry()
{
    flushFontName();
    fonts_.end();
}

void RtfParser::finishPicture()
{
    Picture pict = std::move(picture_);
    picture_ = Picture{};
    if (pict.type == Picture::Type::Unknown || pict.tooLarge || pict.data.isEmpty()) return;
    const QImage image = QImage::fromData(pict.data, pict.type == Picture::Type::Png ? "PNG" : "JPEG");
    if (image.isNull()) return;
    // The goal size (twips) is the size shown; without it the picture shows at its pixel size.
    auto shown = [](int goal, int pixels, int scale) {
        const qreal base = goal > 0 ? twipsToPixels(goal) : pixels;
        return qBound<qreal>(1, base * scale / 100.0, 10000);
    };
    const QSizeF size(shown(pict.widthGoal, image.width(), pict.scaleX),
                      shown(pict.heightGoal, image.height(), pict.scaleY));
    builder_.image(image, size, charFormat(), blockFormat(), top().para.inTable);
}

int RtfParser::textCodePage() const
{
    const CharState& c = stack_.back().chars;
    const FontEntry* e = fonts_.find(c.font < 0 ? fonts_.defaultFont : c.font);
    int cp = 0;
    if (e) cp = e->codePage > 0 ? e->codePage : codePageOfCharset(e->charset);
    return cp > 0 ? cp : documentCodePage_;
}

} // namespace richtext::detail
