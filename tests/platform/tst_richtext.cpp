// RTF reading and writing in code page 936: text, formats, tables, pictures, hostile input.
#include "platform/richtext/plaintext.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

namespace {

// A document in the form the question bank stores: GBK, 宋体 as font 0.
QByteArray bank(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
           "{\\f1\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5;}{\\f2\\fswiss\\fcharset0 Arial;}}"
           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n" +
           body + "}";
}

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

QByteArray pngBytes(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray jpegBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return jpeg;
}

// Position of the first character of text in the document, -1 when absent.
int find(const QTextDocument& doc, const QString& text)
{
    return doc.find(text, 0, QTextDocument::FindCaseSensitively).selectionStart();
}

QTextCharFormat formatAt(const QTextDocument& doc, int pos)
{
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

struct Picture {
    QSize resourceSize;
    QSizeF shownSize;
};

QList<Picture> pictures(const QTextDocument& doc)
{
    QList<Picture> found;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat()) continue;
            const QTextImageFormat img = f.toImageFormat();
            const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
            found.append({image.size(), QSizeF(img.width(), img.height())});
        }
    }
    return found;
}

// The formatting of one character, as compared after a round trip.
QString signature(const QTextDocument& doc, int pos)
{
    const QTextCharFormat f = formatAt(doc, pos);
    QStringList parts;
    parts << doc.characterAt(pos);
    if (f.fontWeight() > QFont::Medium) parts << "b";
    if (f.fontItalic()) parts << "i";
    if (f.fontUnderline()) parts << "u";
    if (f.fontStrikeOut()) parts << "s";
    if (f.fontPointSize() > 0) parts << QString::number(f.fontPointSize());
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) parts << "sub";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) parts << "super";
    if (f.hasProperty(QTextFormat::ForegroundBrush)) parts << "fg" + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush)) parts << "bg" + f.background().color().name();
    const QString family = f.fontFamilies().toStringList().value(0);
    if (!family.isEmpty()) parts << "font " + family;
    if (f.isImageFormat())
        parts << QStringLiteral("img %1x%2").arg(f.toImageFormat().width()).arg(f.toImageFormat().height());
    return parts.join(' ');
}

// Text, alignment (right-to-left handling aside) and margins of a paragraph.
QString blockSignature(const QTextBlock& b)
{
    const QTextBlockFormat f = b.blockFormat();
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    return QStringLiteral("%1|%2|%3 %4 %5 %6 %7")
        .arg(b.text())
        .arg(int(align))
        .arg(f.leftMargin())
        .arg(f.rightMargin())
        .arg(f.textIndent())
        .arg(f.topMargin())
        .arg(f.bottomMargin());
}

bool isSevenBit(const QByteArray& data)
{
    return std::all_of(data.begin(), data.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

class TestRichText : public QObject {
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("isRtf");
        auto row = [](const char* name, const QByteArray& input, const QString& expected, bool isRtf = true) {
            QTest::newRow(name) << input << expected << isRtf;
        };
        row("gbk pairs", bank("\\'b0\\'b2\\'c8\\'ab\\'c9\\'fa\\'b2\\'fa"), u8("安全生产"));
        row("gbk among ascii", bank("A\\'b0\\'b2 B"), u8("A安 B"));
        row("raw gbk bytes", bank("\xb0\xb2\xc8\xab"), u8("安全"));
        row("lead as hex, trail raw", bank("\\'b0\xb2"), u8("安"));
        row("lone lead byte at group end", bank("{\\'b0}x"), u8("x"));
        row("uc1 skips one fallback character", bank("\\uc1\\u23433?\\u20840?"), u8("安全"));
        row("uc0 has no fallback", bank("\\uc0\\u23433\\u20840 x"), u8("安全x"));
        row("uc2 skips a gbk pair", bank("\\uc2\\u23433\\'b0\\'b2\\u20840\\'c8\\'ab"), u8("安全"));
        row("negative unicode", bank("\\u-227?"), u8("＝"));
        row("fallback skipping ends with the group", bank("{\\uc3\\u23433?}x"), u8("安x"));
        row("uc is scoped to its group", bank("{\\uc0\\u23433}\\u20840?"), u8("安全"));
        row("escaped braces and backslash", bank("a\\{b\\}c\\\\d"), u8("a{b}c\\d"));
        row("typographic characters", bank("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"),
            u8("—–•‘’“”"));
        row("non-breaking space and hyphen", bank("a\\~b\\_c"), u8("a b‑c"));
        row("optional hyphen", bank("ab\\-cd"), u8("abcd"));
        row("paragraphs and line break", bank("one\\par two\\line three\\par"), u8("one\ntwo\nthree"));
        row("escaped newline is a paragraph", bank("one\\\ntwo"), u8("one\ntwo"));
        row("final paragraph mark adds no paragraph", bank("x\\par"), u8("x"));
        row("empty last paragraph", bank("x\\par\\par"), u8("x\n"));
        row("tab", bank("a\\tab b"), u8("a\tb"));
        row("line ends in the source are ignored", bank("a\r\nb\nc"), u8("abc"));
        row("skipped destinations",
            bank("{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\*\\generator Gen;}"
                 "{\\*\\unknownthing xyz}{\\header H}text"),
            u8("text"));
        row("unknown control words are ignored", bank("\\foo12 \\bar text"), u8("text"));
        row("field shows its result", bank("{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"),
            u8("link"));
        row("binary data is skipped", bank("a{\\*\\blob\\bin3 }}{}b\\bin2 xyc"), u8("abc"));
        row("table cells in reading order",
            bank("before\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
                 "\\trowd\\cellx1000\\cellx2000\\pard\\intbl C\\cell D\\cell\\row\\pard after\\par"),
            u8("before\nA\nB\nC\nD\nafter"));
        row("code page 1252",
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}caf\\'e9}",
            u8("café"));
        row("font charset decides the code page",
            "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}"
            "\\'e9{\\f1 \\'b0\\'b2}}",
            u8("é安"));
        row("associated font of double-byte text decides the code page",
            bank("{\\loch\\f2\\dbch\\af1 \\'b0\\'b2}"), u8("安"));
        row("936 is the default code page", "{\\rtf1 \\'b0\\'b2}", u8("安"));
        row("text after the document is ignored", "{\\rtf1 a}b", u8("a"));
        row("NUL bytes are dropped", bank(QByteArray("o\0k", 3)), u8("ok"));
        row("plain utf-8", "安全 plain", u8("安全 plain"), false);
        row("plain gbk", "\xb0\xb2\xc8\xab", u8("安全"), false);
        row("empty input", "", QString(), false);
    }

    void text()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        QFETCH(bool, isRtf);
        QTextDocument doc;
        QCOMPARE(richtext::readRtf(input, &doc), isRtf);
        QCOMPARE(richtext::plainText(input), expected);
    }

    void readingReplacesTheDocument()
    {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("old"));
        QVERIFY(richtext::readRtf(bank("new"), &doc));
        QCOMPARE(doc.toPlainText(), QStringLiteral("new"));
        QVERIFY(!doc.isUndoAvailable());
    }

    void characterFormats_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* body, const char* marker, const char* expected) {
            QTest::newRow(name) << QByteArray(body) << u8(marker) << u8(expected);
        };
        row("bold group", "a{\\b B}c", "B", "B b");
        row("after the bold group", "a{\\b B}c", "c", "c");
        row("b0 ends bold", "\\b x\\b0 y", "y", "y");
        row("italic", "\\i I", "I", "I i");
        row("underline", "\\ul U", "U", "U u");
        row("double underline counts", "\\uldb U", "U", "U u");
        row("ulnone", "\\ul x\\ulnone N", "N", "N");
        row("strike", "\\strike S", "S", "S s");
        row("size in half points", "\\fs21 S", "S", "S 10.5");
        row("huge size is clamped", "\\fs99999999999 S", "S", "S 1638");
        row("colour", "\\cf1 R", "R", "R fg#ff0000");
        row("highlight", "\\highlight2 H", "H", "H bg#0000ff");
        row("cb background", "\\cb1 C", "C", "C bg#ff0000");
        row("colour out of range", "\\cf9 X", "X", "X");
        row("automatic colour", "\\cf1 x\\cf0 A", "A", "A");
        row("subscript", "H\\sub 2", "2", "2 sub");
        row("superscript", "x\\super 2", "2", "2 super");
        row("nosupersub", "\\super x\\nosupersub 2", "2", "2");
        row("plain resets", "\\b\\i\\ul\\fs40\\cf1 x\\plain P", "P", "P");
        row("group restores", "\\b{\\i x}Y", "Y", "Y b");
        row("named font in gbk", "\\f1 H", "H", "H font 黑体");
        row("latin font", "\\f2 A", "A", "A font Arial");
        row("default font stays unset", "\\f1 x\\f0 D", "D", "D");
        row("associated properties of double-byte text", "{\\loch\\f2\\dbch\\ab\\ai\\afs32\\af1 \\u23433?}",
            "安", "安 b i 16 font 黑体");
        row("associated properties of other text are ignored", "{\\rtlch\\ab\\afs40\\dbch\\loch\\ai x}", "x",
            "x");
        row("chinese text with formats", "\\'b0\\'b2{\\b\\cf2 \\'c8\\'ab}", "全", "全 b fg#0000ff");
    }

    void characterFormats()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, marker);
        QFETCH(QString, expected);
        QTextDocument doc;
        QVERIFY(richtext::readRtf(bank(body), &doc));
        const int pos = find(doc, marker);
        QVERIFY(pos >= 0);
        QCOMPARE(signature(doc, pos), expected);
    }

    void paragraphFormats_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("blocks");
        QTest::addRow("alignments") << QByteArray(
                                           "\\pard\\qc c\\par\\pard\\qr r\\par\\pard\\qj j\\par\\pard l\\par")
                                    << QStringList{"c|4|0 0 0 0 0", "r|2|0 0 0 0 0", "j|8|0 0 0 0 0",
                                                   "l|1|0 0 0 0 0"};
        QTest::addRow("indents and spacing")
            << QByteArray("\\pard\\li720\\ri360\\fi-360\\sb120\\sa240 x\\par")
            << QStringList{"x|1|48 24 -24 8 16"};
        QTest::addRow("properties hold until pard")
            << QByteArray("\\qc a\\par b\\par\\pard c")
            << QStringList{"a|4|0 0 0 0 0", "b|4|0 0 0 0 0", "c|1|0 0 0 0 0"};
        QTest::addRow("mark decides the paragraph's format")
            << QByteArray("a\\qr\\par b") << QStringList{"a|2|0 0 0 0 0", "b|2|0 0 0 0 0"};
    }

    void paragraphFormats()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, blocks);
        QTextDocument doc;
        QVERIFY(richtext::readRtf(bank(body), &doc));
        QStringList actual;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            actual << blockSignature(b);
        QCOMPARE(actual, blocks);
    }

    void tables_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("after");
        QTest::addRow("two by two")
            << QByteArray(
                   "\\trowd\\cellx1500\\cellx4500\\pard\\intbl A\\cell B\\cell\\row"
                   "\\trowd\\cellx1500\\cellx4500\\pard\\intbl\\'b0\\'b2\\cell\\cell\\row\\pard after\\par")
            << 2 << 2 << QStringList{"A", "B", u8("安"), ""} << "after";
        QTest::addRow("row without definition") << QByteArray("\\intbl a\\cell b\\cell c\\cell\\row\\pard z")
                                                << 1 << 3 << QStringList{"a", "b", "c"} << "z";
        QTest::addRow("paragraphs inside a cell")
            << QByteArray("\\trowd\\cellx2000\\intbl one\\par two\\cell\\row") << 1 << 1
            << QStringList{u8("one\u2029two")} << "";
        QTest::addRow("formatted cell")
            << QByteArray("\\trowd\\cellx2000\\cellx4000\\intbl{\\b x}\\cell y\\cell\\row") << 1 << 2
            << QStringList{"x", "y"} << "";
    }

    void tables()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QStringList, cells);
        QFETCH(QString, after);
        QTextDocument doc;
        QVERIFY(richtext::readRtf(bank(body), &doc));
        QTextTable* table = nullptr;
        for (QTextFrame* f : doc.rootFrame()->childFrames())
            table = table ? table : qobject_cast<QTextTable*>(f);
        QVERIFY(table);
        QCOMPARE(table->rows(), rows);
        QCOMPARE(table->columns(), columns);
        QStringList actual;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                QTextCursor cursor = table->cellAt(r, c).firstCursorPosition();
                cursor.setPosition(table->cellAt(r, c).lastCursorPosition().position(),
                                   QTextCursor::KeepAnchor);
                actual << cursor.selectedText();
            }
        }
        QCOMPARE(actual, cells);
        QCOMPARE(doc.lastBlock().text(), after);
    }

    void tableColumnWidths()
    {
        QTextDocument doc;
        QVERIFY(richtext::readRtf(bank("\\trowd\\cellx1500\\cellx4500\\intbl a\\cell b\\cell\\row"), &doc));
        auto* table = qobject_cast<QTextTable*>(doc.rootFrame()->childFrames().value(0));
        QVERIFY(table);
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 2);
        QCOMPARE(widths[0].rawValue(), 100.0);
        QCOMPARE(widths[1].rawValue(), 200.0);
    }

    void pictures_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSizeF>("shown");
        const QByteArray png = pngBytes(7, 5, Qt::red).toHex();
        QTest::addRow("png with goal size")
            << "a{\\pict\\pngblip\\picw7\\pich5\\picwgoal300\\pichgoal150 " + png + "}b" << 1 << QSize(7, 5)
            << QSizeF(20, 10);
        QTest::addRow("png at pixel size")
            << "{\\pict\\pngblip\n" + png + "}" << 1 << QSize(7, 5) << QSizeF(7, 5);
        QTest::addRow("scaled") << "{\\pict\\pngblip\\picscalex200\\picscaley50 " + png + "}" << 1
                                << QSize(7, 5) << QSizeF(14, 2.5);
        QTest::addRow("jpeg") << "{\\pict\\jpegblip " + jpegBytes(9, 4).toHex() + "}" << 1 << QSize(9, 4)
                              << QSizeF(9, 4);
        QTest::addRow("binary data") << "{\\pict\\pngblip\\bin" +
                                            QByteArray::number(pngBytes(3, 2, Qt::blue).size()) + " " +
                                            pngBytes(3, 2, Qt::blue) + "}"
                                     << 1 << QSize(3, 2) << QSizeF(3, 2);
        QTest::addRow("shape picture only once")
            << "{\\*\\shppict{\\pict\\pngblip " + png + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}" << 1
            << QSize(7, 5) << QSizeF(7, 5);
        QTest::addRow("metafile is skipped")
            << QByteArray("x{\\pict\\wmetafile8 010009000003}") << 0 << QSize() << QSizeF();
        QTest::addRow("truncated hex")
            << "{\\pict\\pngblip " + png.left(png.size() / 2) + "}" << 0 << QSize() << QSizeF();
    }

    void pictures()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, count);
        QFETCH(QSize, pixels);
        QFETCH(QSizeF, shown);
        QTextDocument doc;
        QVERIFY(richtext::readRtf(bank(body), &doc));
        const QList<Picture> found = ::pictures(doc);
        QCOMPARE(found.size(), count);
        if (count > 0) {
            QCOMPARE(found[0].resourceSize, pixels);
            QCOMPARE(found[0].shownSize, shown);
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addRow("chinese and bold") << u8("<p>安全<b>生产</b>法</p>");
        QTest::addRow("character formats")
            << u8("<p align=center><i>斜</i><u>下</u><s>删</s><span style='font-size:15pt'>大</span>"
                  "<span style='color:#ff0000'>红</span><span style='background-color:#00ff00'>绿</span>"
                  "H<sub>2</sub>O x<sup>2</sup></p><p align=right>右</p><p align=justify>齐</p>");
        QTest::addRow("fonts") << u8("<p><span style=\"font-family:'黑体'\">黑</span>"
                                     "<span style=\"font-family:'Arial'\">A é ㄱ</span></p>");
        QTest::addRow("table") << u8("<p>前</p><table border=1><tr><td>甲</td><td>乙</td></tr>"
                                     "<tr><td>丙</td><td><b>丁</b></td></tr></table><p>后</p>");
        QTest::addRow("table first") << u8("<table><tr><td>甲</td><td>乙</td></tr></table>");
        QTest::addRow("picture") << u8("<p>图<img src='rtfimg:test' width=20 height=10>片</p>");
        QTest::addRow("escapes and characters outside gbk") << u8("<p>{a}\\b ㄱ😀 é ¥ €</p>");
        QTest::addRow("empty paragraphs") << u8("<p>一</p><p></p><p>三</p><p></p>");
        QTest::addRow("line break") << u8("<p>一<br>二</p>");
        QTest::addRow("indents") << u8("<p style='margin-left:30px; text-indent:-15px'>缩进</p>");
    }

    void roundTrip()
    {
        QFETCH(QString, html);
        QTextDocument original;
        original.setHtml(html);
        original.addResource(QTextDocument::ImageResource, QUrl("rtfimg:test"),
                             QImage::fromData(pngBytes(8, 4, Qt::green)));

        const QByteArray rtf = richtext::writeRtf(original);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
        QVERIFY(isSevenBit(rtf));

        QTextDocument copy;
        QVERIFY(richtext::readRtf(rtf, &copy));
        QCOMPARE(copy.toPlainText(), original.toPlainText());
        QStringList before, after;
        for (int pos = 0; pos + 1 < original.characterCount(); ++pos) {
            before << signature(original, pos);
            after << signature(copy, pos);
        }
        QCOMPARE(after, before);
        before.clear();
        after.clear();
        for (QTextBlock b = original.begin(); b.isValid(); b = b.next())
            before << blockSignature(b);
        for (QTextBlock b = copy.begin(); b.isValid(); b = b.next())
            after << blockSignature(b);
        QCOMPARE(after, before);
        QCOMPARE(::pictures(copy).size(), ::pictures(original).size());
        for (const Picture& p : ::pictures(copy))
            QCOMPARE(p.resourceSize, QSize(8, 4));
    }

    void plainToRtf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::addRow("gbk pairs") << u8("安全生产")
                                   << QByteArray("\\'b0\\'b2\\'c8\\'ab\\'c9\\'fa\\'b2\\'fa");
        QTest::addRow("escapes") << u8("a{b}\\c") << QByteArray("a\\{b\\}\\\\c");
        QTest::addRow("outside gbk") << u8("ㄱ") << QByteArray("\\u12593?");
        QTest::addRow("surrogate pair") << u8("😀") << QByteArray("\\u-10179?\\u-8704?");
        QTest::addRow("tab") << u8("a\tb") << QByteArray("a\\tab b");
        QTest::addRow("lines") << u8("一\n二\n") << QByteArray("\\'d2\\'bb\\par");
    }

    void plainToRtf()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        const QByteArray rtf = richtext::plainToRtf(text);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
        QVERIFY(isSevenBit(rtf));
        QVERIFY2(rtf.contains(written), rtf.constData());
        QCOMPARE(richtext::plainText(rtf), text);
    }

    void writerHeader()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        QTextCharFormat red;
        red.setForeground(QColor(255, 0, 0));
        c.insertText(u8("安"), red);
        const QByteArray rtf = richtext::writeRtf(doc);
        QVERIFY(rtf.contains("{\\f0\\fnil\\fcharset134 "));
        QVERIFY(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
        QVERIFY(rtf.contains("\\cf1 \\'b0\\'b2"));
    }

    void nesting_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QString>("expected");
        QTest::addRow("shallow") << 10 << u8("okdeepend");
        QTest::addRow("deepest kept") << 255 << u8("okdeepend");
        QTest::addRow("first skipped") << 256 << u8("okend");
        QTest::addRow("ten thousand") << 10000 << u8("okend");
    }

    void nesting()
    {
        QFETCH(int, depth);
        QFETCH(QString, expected);
        const QByteArray rtf =
            "{\\rtf1 ok" + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + "end}";
        QCOMPARE(richtext::plainText(rtf), expected);
    }

    void hostile_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const QByteArray& input, const char* expected) {
            QTest::newRow(name) << input << u8(expected);
        };
        row("only opening braces", "{{{{", "{{{{");
        row("only closing braces", "}}}}", "}}}}");
        row("lone hex escape", "\\'", "\\'");
        row("unclosed groups", "{\\rtf1 ok{{{{", "ok");
        row("extra closing braces", "{\\rtf1 ok}}}}}", "ok");
        row("header only", "{\\rtf", "");
        row("truncated hex escape", "{\\rtf1 ok\\'", "ok");
        row("hex escape with one digit", "{\\rtf1 ok\\'4", "ok");
        row("hex escape with a bad digit", "{\\rtf1 ok\\'4x", "okx");
        row("backslash at the end", "{\\rtf1 ok\\", "ok");
        row("star at the end", "{\\rtf1 ok\\*", "ok");
        row("star before text", "{\\rtf1 ok{\\*x}y}", "oky");
        row("huge unicode", "{\\rtf1 ok\\u99999999999 x}", "ok");
        row("huge negative unicode", "{\\rtf1 ok\\u-99999999999 x}", "ok");
        row("huge uc", "{\\rtf1 ok\\uc99999999\\u20840 abcdefghijklmnopq}", "ok全q");
        row("huge font size", "{\\rtf1 ok\\fs99999999999 x}", "okx");
        row("huge binary length", "{\\rtf1 ok\\bin99999999999 abc}", "ok");
        row("huge indents", "{\\rtf1 ok\\li99999999999\\fi-99999999999 x}", "okx");
        row("huge cell edge", "{\\rtf1 ok\\par\\trowd\\cellx99999999999\\intbl x\\cell\\row}", "ok\nx\n");
        row("truncated picture", "{\\rtf1 ok{\\pict\\pngblip 89504e470d0a1a0a0000", "ok");
        row("long control word", "{\\rtf1 ok\\" + QByteArray(100000, 'a') + " x}", "okx");
        row("long number", "{\\rtf1 ok\\fs" + QByteArray(100000, '9') + " x}", "okx");
        row("unterminated font table", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 \\'cb", "");
        row("NUL bytes", QByteArray("{\\rtf1 o\0k\0}", 12), "ok");
        row("cells beyond the column limit",
            "{\\rtf1 ok\\par" + QByteArray("\\intbl x\\cell").repeated(500) + "}", "ok");
        row("picture over the size cap",
            "{\\rtf1 ok{\\pict\\pngblip " + QByteArray(34 * 1024 * 1024, 'a') + "}end}", "okend");
        row("a megabyte of bold groups", "{\\rtf1 ok" + QByteArray("{\\b").repeated(350000), "ok");
        row("a megabyte of small groups", "{\\rtf1 ok" + QByteArray("{\\b x}").repeated(150000) + "}", "ok");
        QByteArray noise = "{\\rtf1 ok";
        QRandomGenerator random(20240611);
        for (int i = 0; i < 256 * 1024; ++i)
            noise.append(char(random.bounded(256)));
        row("random bytes", noise, "ok");
    }

    void hostile()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        QTextDocument doc;
        QCOMPARE(richtext::readRtf(input, &doc), input.startsWith("{\\rtf"));
        // Whatever follows, the text before the hostile part is there.
        const QString text = doc.toPlainText();
        QVERIFY2(text.startsWith(expected), qPrintable(text.left(80)));
        // And what was read can be written again.
        QVERIFY(richtext::writeRtf(doc).startsWith("{\\rtf1"));
    }
};

QTEST_MAIN(TestRichText)
#include "tst_richtext.moc"
