// Mutation fuzzing of the RTF reader from real samples: every input is read to a valid document.
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextDocument>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// A small generator of our own (splitmix64), so that every build mutates alike.
class Rng {
public:
    explicit Rng(quint64 seed) : state_(seed) {}
    quint64 next()
    {
        quint64 z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    qsizetype below(qsizetype n) { return n <= 0 ? 0 : qsizetype(next() % quint64(n)); }

private:
    quint64 state_;
};

QByteArray fromHtml(const QString& html, bool withPicture = false)
{
    QTextDocument doc;
    if (withPicture) {
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("rtfimg:p")), image);
    }
    doc.setHtml(html);
    return richtext::writeRtf(doc);
}

// The starting points: what the writer makes of each kind of content, and one document written
// by hand with the constructs the writer never uses.
QList<QByteArray> samples()
{
    return {
        richtext::plainToRtf(u8("第一款　消防工作贯彻预防为主、防消结合的方针。\n第二行 ABC 123")),
        fromHtml(u8("<p align=center><b>加粗</b><i>斜体</i><u>下划线</u>"
                    "<span style='color:#c00000; font-size:14pt'>红色</span>H<sub>2</sub>O x<sup>2</sup></p>"
                    "<p style='margin-left:30px'>第二段</p>")),
        fromHtml(u8("<p>表前</p><table border=1><tr><td>甲</td><td><b>乙</b></td></tr>"
                    "<tr><td>丙</td><td>丁</td></tr></table><p>表后</p>")),
        fromHtml(u8("<p>图：<img src='rtfimg:p' width=6 height=4>完</p>"), true),
        QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fcharset134 \\'cb\\'ce;}"
                          "{\\f1\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                          "{\\*\\generator x;}\\uc1\\u20013?\\u25991?\\'d6\\'d0{\\b\\cf1 b}\\par"
                          "{\\*\\unknown{nested}}\\uc2\\u-3913??\\bin3 \\{x\\tab\\line end\\par}"),
    };
}

// Pieces that steer the reader into its less travelled paths.
const char* const Tokens[] = {"{",
                              "}",
                              "\\",
                              "\\'",
                              "\\'8",
                              "\\u-",
                              "\\u99999999999",
                              "\\uc9 ",
                              "\\bin",
                              "\\bin99 ",
                              "{\\*",
                              "\\par",
                              "\\cell",
                              "\\row",
                              "\\trowd",
                              "\\intbl",
                              "{\\pict\\pngblip ",
                              "\\fonttbl",
                              "\\f999 ",
                              "\\fs-40",
                              "\\cf88 ",
                              "\\'zz",
                              "\\*",
                              ";",
                              "\\\\",
                              "\\\r\n",
                              "\\ansicpg1252 "};

void mutate(QByteArray& data, Rng& rng, const QList<QByteArray>& all)
{
    const qsizetype n = data.size();
    switch (rng.below(7)) {
    case 0: // flip one bit
        if (n) data[rng.below(n)] = char(data[rng.below(n)] ^ (1 << rng.below(8)));
        break;
    case 1: { // insert a token
        const char* t = Tokens[rng.below(std::size(Tokens))];
        data.insert(rng.below(n + 1), t);
        break;
    }
    case 2: // delete a range
        if (n) {
            const qsizetype at = rng.below(n);
            data.remove(at, 1 + rng.below(std::min<qsizetype>(64, n - at)));
        }
        break;
    case 3: // truncate
        data.truncate(rng.below(n + 1));
        break;
    case 4: // duplicate a range
        if (n) {
            const qsizetype at = rng.below(n);
            const QByteArray piece = data.mid(at, 1 + rng.below(200));
            data.insert(rng.below(n + 1), piece);
        }
        break;
    case 5: { // splice: this one's start with another's end
        const QByteArray& other = all[rng.below(all.size())];
        data = data.left(rng.below(n + 1)) + other.mid(rng.below(other.size() + 1));
        break;
    }
    default: // drop a brace or backslash, or add one
        if (n && rng.below(2)) {
            const qsizetype at = rng.below(n);
            const qsizetype found = data.indexOf(rng.below(2) ? '{' : '\\', at);
            if (found >= 0) data.remove(found, 1);
        } else {
            data.insert(rng.below(n + 1), "{}\\"[rng.below(3)]);
        }
        break;
    }
}

// The text without the control characters that the writer leaves out (tab and line feed stay).
QString withoutControls(QString text)
{
    text.removeIf(
        [](QChar c) { return (c.unicode() < 0x20 && c != u'\t' && c != u'\n') || c.unicode() == 0x7f; });
    return text;
}

} // namespace

class TestRtfFuzz : public QObject {
    Q_OBJECT

private slots:
    void mutatedSamplesAreRead_data()
    {
        QTest::addColumn<int>("sample");
        const char* names[] = {"plain", "formats", "table", "picture", "hand-written"};
        for (int i = 0; i < int(std::size(names)); ++i)
            QTest::newRow(names[i]) << i;
    }
    void mutatedSamplesAreRead()
    {
        QFETCH(int, sample);
        const QList<QByteArray> all = samples();
        {
            QTextDocument doc;
            QVERIFY(richtext::readRtf(all[sample], &doc)); // the unmutated sample is RTF
            QVERIFY(!doc.toPlainText().isEmpty());
        }
        Rng rng(0x5eed0000u + quint64(sample));
        constexpr int Rounds = 1200;
        for (int round = 0; round < Rounds; ++round) {
            QByteArray input = all[sample];
            for (qsizetype k = 1 + rng.below(4); k > 0; --k)
                mutate(input, rng, all);
            const auto where = [&] {
                return QStringLiteral("round %1, input (base64) %2")
                    .arg(round)
                    .arg(QString::fromLatin1(input.toBase64()));
            };
            QTextDocument doc;
            richtext::readRtf(input, &doc);
            const QString text = doc.toPlainText();
            QVERIFY2(text.isValidUtf16(), qPrintable(where()));
            // The document lays out, and what the reader built the writer writes and reads back.
            doc.setTextWidth(320);
            QVERIFY2(doc.size().height() >= 0, qPrintable(where()));
            QTextDocument again;
            richtext::readRtf(richtext::writeRtf(doc), &again);
            QVERIFY2(again.toPlainText() == withoutControls(text), qPrintable(where()));
        }
    }
};

QTEST_MAIN(TestRtfFuzz)
#include "tst_rtffuzz.moc"
