#include "platform/richtext/rtfwriter.h"

#include "platform/richtext/rtfencoder.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace richtext {

namespace {

using detail::OutputFont;

const QString kDefaultChineseFont = QStringLiteral("宋体");
// Width given to tables whose columns have no fixed widths: about 16 cm, in twips.
constexpr int kTableTwips = 9000;

QByteArray number(qreal v)
{
    return QByteArray::number(qRound(v));
}

QByteArray pixelsToTwips(qreal px)
{
    return number(px * 15);
}

class DocumentWriter {
public:
    explicit DocumentWriter(const QTextDocument& doc) : doc_(doc)
    {
        const QString family = doc.defaultFont().family();
        fonts_.append({detail::isCjkFamily(family) ? family : kDefaultChineseFont, true});
    }

    QByteArray write()
    {
        frameContent(doc_.rootFrame());
        return detail::header(fonts_, colors_, encoder_) + body_ + "}\n";
    }

private:
    void frameContent(QTextFrame* frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(child))
                    writeTable(table);
                else
                    frameContent(child);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            // The empty paragraph that a table at the very start keeps before it is not written.
            auto next = it;
            ++next;
            if (block == doc_.begin() && block.length() <= 1 && !next.atEnd() &&
                qobject_cast<QTextTable*>(next.currentFrame()))
                continue;
            writeBlock(block, false);
            body_ += "\\par\n";
        }
    }

    static void collectBlocks(QTextFrame::iterator it, QList<QTextBlock>& blocks)
    {
        // Nested frames inside a cell are flattened into the cell's paragraphs.
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* child = it.currentFrame())
                collectBlocks(child->begin(), blocks);
            else if (it.currentBlock().isValid())
                blocks.append(it.currentBlock());
        }
    }

    void writeTable(QTextTable* table)
    {
        const QByteArray rowDefinition = rowProperties(table);
        for (int r = 0; r < table->rows(); ++r) {
            body_ += rowDefinition;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QList<QTextBlock> blocks;
                if (cell.row() == r && cell.column() == c) // not a position covered by a span
                    collectBlocks(cell.begin(), blocks);
                for (qsizetype i = 0; i < blocks.size(); ++i) {
                    writeBlock(blocks[i], true);
                    if (i + 1 < blocks.size()) body_ += "\\par\n";
                }
                if (blocks.isEmpty()) body_ += "\\pard\\intbl";
                body_ += "\\cell\n";
            }
            body_ += "\\row\n";
        }
    }

    static QByteArray rowProperties(QTextTable* table)
    {
        const int columns = table->columns();
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QByteArray out = "\\trowd\\trgaph108\\trleft0";
        qreal edge = 0;
        for (int c = 0; c < columns; ++c) {
            const QTextLength w = widths.value(c);
            qreal twips = kTableTwips / qreal(columns);
            if (w.type() == QTextLength::FixedLength)
                twips = w.rawValue() * 15;
            else if (w.type() == QTextLength::PercentageLength)
                twips = kTableTwips * w.rawValue() / 100;
            edge += qMax<qreal>(twips, 300);
            for (const char* side : {"t", "l", "b", "r"})
                out += QByteArray("\\clbrdr") + side + "\\brdrs\\brdrw10";
            out += "\\cellx" + number(edge);
        }
        return out + '\n';
    }

    void writeBlock(const QTextBlock& block, bool inTable)
    {
        const QTextBlockFormat f = block.blockFormat();
        body_ += inTable ? "\\pard\\intbl" : "\\pard";
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (a & Qt::AlignRight)
            body_ += "\\qr";
        else if (a & Qt::AlignJustify)
            body_ += "\\qj";
        const std::pair<const char*, qreal> lengths[] = {{"\\li", f.leftMargin()},
                                                         {"\\ri", f.rightMargin()},
                                                         {"\\fi", f.textIndent()},
                                                         {"\\sb", f.topMargin()},
                                                         {"\\sa", f.bottomMargin()}};
        for (const auto& [word, px] : lengths) {
            if (qRound(px * 15) != 0) body_ += word + pixelsToTwips(px);
        }
        body_ += ' ';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid()) writeFragment(it.fragment());
        }
    }

    void writeFragment(const QTextFragment& fragment)
    {
        const QTextCharFormat f = fragment.charFormat();
        const int font = fontIndex(f);
        body_ += "{\\f" + QByteArray::number(font);
        // Word processors take the font of Chinese text from the associated font of \dbch.
        if (fonts_[font].cjk) body_ += "\\dbch\\af" + QByteArray::number(font);
        if (f.fontPointSize() > 0) body_ += "\\fs" + number(f.fontPointSize() * 2);
        if (f.fontWeight() > QFont::Medium) body_ += "\\b";
        if (f.fontItalic()) body_ += "\\i";
        if (f.fontUnderline()) body_ += "\\ul";
        if (f.fontStrikeOut()) body_ += "\\strike";
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            body_ += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            body_ += "\\sub";
        if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
            body_ += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
        if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
            body_ += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
        body_ += ' ';
        if (f.isImageFormat()) {
            for (const QChar c : fragment.text()) {
                if (c == QChar::ObjectReplacementCharacter) writeImage(f.toImageFormat());
            }
        } else {
            encoder_.append(body_, fragment.text(), fonts_[font].cjk);
        }
        body_ += '}';
    }

    void writeImage(const QTextImageFormat& f)
    {
        const QVariant v = doc_.resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image;
        if (v.typeId() == QMetaType::QImage)
            image = v.value<QImage>();
        else if (v.typeId() == QMetaType::QPixmap)
            image = v.value<QPixmap>().toImage();
        else if (v.typeId() == QMetaType::QByteArray)
            image = QImage::fromData(v.toByteArray());
        if (image.isNull()) return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG")) return;
        // The shown size; one given side alone keeps the picture's proportions.
        qreal w = f.width() > 0 ? f.width() : 0;
        qreal h = f.height() > 0 ? f.height() : 0;
        if (w <= 0) w = h > 0 ? h * image.width() / image.height() : image.width();
        if (h <= 0) h = w * image.height() / image.width();
        body_ += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                 QByteArray::number(image.height()) + "\\picwgoal" + pixelsToTwips(w) + "\\pichgoal" +
                 pixelsToTwips(h) + '\n';
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128)
            body_ += hex.mid(i, 128) + '\n';
        body_ += '}';
    }

    int fontIndex(const QTextCharFormat& f)
    {
        const QString family = f.fontFamilies().toStringList().value(0);
        if (family.isEmpty()) return 0;
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            if (fonts_[i].family == family) return int(i);
        }
        fonts_.append({family, detail::isCjkFamily(family)});
        return int(fonts_.size() - 1);
    }

    int colorIndex(const QColor& color)
    {
        const QColor rgb = color.toRgb();
        for (qsizetype i = 0; i < colors_.size(); ++i) {
            if (colors_[i].rgb() == rgb.rgb()) return int(i + 1);
        }
        colors_.append(rgb);
        return int(colors_.size());
    }

    const QTextDocument& doc_;
    QByteArray body_;
    QList<OutputFont> fonts_;
    QList<QColor> colors_;
    detail::TextEncoder encoder_;
};

} // namespace

QByteArray writeRtf(const QTextDocument& doc)
{
    return DocumentWriter(doc).write();
}

QByteArray plainToRtf(const QString& text)
{
    detail::TextEncoder encoder;
    QByteArray out = detail::header({{kDefaultChineseFont, true}}, {}, encoder);
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QStringView line : QStringView(normalized).split(QLatin1Char('\n'))) {
        out += "\\pard\\f0\\dbch\\af0 ";
        encoder.append(out, line, true);
        out += "\\par\n";
    }
    return out + "}\n";
}

} // namespace richtext
