// Reader state of RTF groups: character and paragraph properties, font and colour tables, code pages.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <map>

namespace richtext::detail {

// Where the text of a group goes.
enum class Destination { Text, FontTable, ColorTable, Picture };

struct CharState {
    int font = -1;      // font number; -1 = the document's default font
    int halfPoints = 0; // \fsN; 0 = not given
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    int foreground = 0; // colour table index; 0 = automatic
    int background = 0;
    bool doubleByte = false; // \dbch in effect: associated properties (\af, \ab …) apply
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0; // all in twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    bool inTable = false;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1; // \ucN
};

struct FontEntry {
    QString name;
    int charset = -1; // \fcharsetN; -1 = not given
    int codePage = 0; // \cpgN; 0 = not given
};

// \fonttbl as it is read: entries start at \fN and end at ';'.
class FontTable {
public:
    void begin(int number);
    void setCharset(int charset);
    void setCodePage(int codePage);
    void addName(const QString& part);
    void end(); // at ';' or when the entry's group closes
    bool inEntry() const { return current_ >= 0; }
    int entryCodePage() const; // code page of the entry being read; 0 = the document's

    const FontEntry* find(int number) const;
    int defaultFont = 0; // \deffN

private:
    std::map<int, FontEntry> fonts_;
    int current_ = -1;
    FontEntry entry_;
};

// \colortbl: entry 0 is usually empty, meaning the automatic colour.
class ColorTable {
public:
    void setRed(int v)
    {
        red_ = v;
        any_ = true;
    }
    void setGreen(int v)
    {
        green_ = v;
        any_ = true;
    }
    void setBlue(int v)
    {
        blue_ = v;
        any_ = true;
    }
    void endEntry();
    QColor at(int index) const; // invalid when automatic or out of range

private:
    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool any_ = false;
};

// Code page for a font charset; 0 when the charset names none (the document's code page applies).
int codePageOfCharset(int charset);

// Decoders by Windows code page number, created once per reader.
class CodePages {
public:
    QString decode(int codePage, QByteArrayView bytes);

private:
    std::map<int, QStringDecoder> decoders_;
};

// \pict: blip type, sizes and the collected picture bytes.
struct Picture {
    enum class Type { Unknown, Png, Jpeg };
    Type type = Type::Unknown;
    int widthPixels = 0, heightPixels = 0; // \picwN \pichN
    int widthGoal = 0, heightGoal = 0;     // \picwgoalN \pichgoalN, twips
    int scaleX = 100, scaleY = 100;        // \picscalexN \picscaleyN, percent
    QByteArray data;
    int pendingNibble = -1;
    bool tooLarge = false;

    void addHex(QByteArrayView text);
    void addRaw(QByteArrayView bytes);
};

QTextCharFormat toCharFormat(const CharState& s, const FontTable& fonts, const ColorTable& colors);
QTextBlockFormat toBlockFormat(const ParaState& p);

// Conversions of RTF lengths: twips to document pixels at 96 per inch.
inline qreal twipsToPixels(int twips)
{
    return twips / 15.0;
}

} // namespace richtext::detail
