// Reads RTF tokens group by group and hands text, paragraphs, tables and pictures to the document builder.
#pragma once

#include "platform/richtext/rtfdocbuilder.h"
#include "platform/richtext/rtfkeywords.h"
#include "platform/richtext/rtfstate.h"
#include "platform/richtext/rtftokenizer.h"

#include <vector>

namespace richtext::detail {

class RtfParser {
public:
    RtfParser(QByteArrayView rtf, QTextDocument* doc);
    void run();

private:
    void openGroup();
    void closeGroup();
    void skipRestOfGroup();
    void skipToken(const RtfToken& t);
    void word(const RtfToken& t, bool starred);
    void textWord(Keyword k, const RtfToken& t);
    void tableWord(Keyword k, const RtfToken& t);
    void pictureWord(Keyword k, const RtfToken& t);
    void symbol(char c);
    void bytes(QByteArrayView b);
    void character(char16_t c);
    void flushBytes();
    void flushText();
    void flushFontName();
    void endFontEntry();
    void finishPicture();
    int textCodePage() const;

    GroupState& top() { return stack_.back(); }
    QTextCharFormat charFormat() const { return toCharFormat(stack_.back().chars, fonts_, colors_); }
    QTextBlockFormat blockFormat() const { return toBlockFormat(stack_.back().para); }

    RtfTokenizer tokens_;
    DocumentBuilder builder_;
    std::vector<GroupState> stack_;
    int skipDepth_ = 0;    // > 0 while the tokens of a skipped group are passed over
    int fallbackLeft_ = 0; // characters after \uN still to be skipped
    bool done_ = false;
    int documentCodePage_ = 936;
    FontTable fonts_;
    ColorTable colors_;
    CodePages codePages_;
    Picture picture_;
    QByteArray bytes_; // undecoded text bytes, all in bytesCodePage_
    int bytesCodePage_ = 0;
    QByteArray fontName_; // undecoded bytes of the font name being read
    QString text_;        // decoded text not yet given to the builder
};

} // namespace richtext::detail
