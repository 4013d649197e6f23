#include "rtf.h"

#include <QStringList>

#include <stdexcept>

namespace makebank {

namespace {

// "宋体" as code page 936 bytes: the font table is plain ASCII like the rest of the file.
constexpr const char* Header = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                               "\\'cb\\'ce\\'cc\\'e5;}}\r\n\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs21 ";
constexpr int TableWidth = 8400; // twips

void appendHexByte(QByteArray& out, unsigned char b)
{
    static const char digits[] = "0123456789abcdef";
    const char pair[4] = {'\\', '\'', digits[b >> 4], digits[b & 0x0f]};
    out.append(pair, 4);
}

} // namespace

RtfWriter::RtfWriter() : gbk_("GBK") {}

void RtfWriter::appendText(QByteArray& out, const QString& text)
{
    bool bold = false;
    qsizetype pos = 0;
    while (pos <= text.size()) {
        qsizetype mark = text.indexOf(QLatin1String("**"), pos);
        QString run = text.mid(pos, mark < 0 ? -1 : mark - pos);
        if (!run.isEmpty()) {
            gbk_.resetState();
            QByteArray bytes = gbk_.encode(run);
            if (gbk_.hasError()) throw std::runtime_error("text outside code page 936: " + run.toStdString());
            const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
            const qsizetype size = bytes.size();
            out.reserve(out.size() + size * 4);
            for (qsizetype i = 0; i < size; ++i) {
                const unsigned char b = data[i];
                if (b >= 0x80) {
                    // A double-byte character: lead and trail byte, whatever the trail's value.
                    appendHexByte(out, b);
                    if (i + 1 < size) appendHexByte(out, data[++i]);
                } else if (b == '\\' || b == '{' || b == '}') {
                    out += '\\';
                    out += char(b);
                } else if (b == '\t') {
                    out += "\\tab ";
                } else if (b >= 0x20) {
                    out += char(b);
                }
            }
        }
        if (mark < 0) break;
        bold = !bold;
        out += bold ? "\\b " : "\\b0 ";
        pos = mark + 2;
    }
    if (bold) out += "\\b0 ";
}

void RtfWriter::appendRow(QByteArray& out, const QString& line)
{
    QStringList cells = line.split(QLatin1Char('|'));
    if (!cells.isEmpty() && cells.first().trimmed().isEmpty()) cells.removeFirst();
    if (!cells.isEmpty() && cells.last().trimmed().isEmpty()) cells.removeLast();
    if (cells.isEmpty()) return;
    out += "\\trowd\\trgaph108\\trleft0";
    const int width = TableWidth / int(cells.size());
    for (int i = 0; i < cells.size(); ++i) {
        out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
               "\\clbrdrr\\brdrs\\brdrw10\\cellx";
        out += QByteArray::number(width * (i + 1));
    }
    out += "\r\n\\pard\\intbl\\f0\\fs21 ";
    for (const QString& cell : cells) {
        appendText(out, cell.trimmed());
        out += "\\cell ";
    }
    out += "\\row\r\n";
}

QByteArray RtfWriter::toRtf(const QString& markup)
{
    QByteArray out(Header);
    const QStringList paragraphs = markup.split(QLatin1Char('\n'));
    bool first = true;
    for (const QString& p : paragraphs) {
        if (p.startsWith(QLatin1Char('|'))) {
            appendRow(out, p);
            first = false;
            continue;
        }
        if (!first) out += "\\pard\\f0\\fs21 ";
        first = false;
        appendText(out, p);
        out += "\\par\r\n";
    }
    out += "}";
    return out;
}

} // namespace makebank
