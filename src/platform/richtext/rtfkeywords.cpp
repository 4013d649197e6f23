#include "platform/richtext/rtfkeywords.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace richtext::detail {

namespace {

struct Entry {
    std::string_view word;
    Keyword keyword;
};

// Sorted by word for binary search.
constexpr auto kEntries = std::to_array<Entry>({
    {"ab", Keyword::Ab},
    {"af", Keyword::Af},
    {"afs", Keyword::Afs},
    {"ai", Keyword::Ai},
    {"annotation", Keyword::SkipDestination},
    {"ansi", Keyword::Ansi},
    {"ansicpg", Keyword::AnsiCpg},
    {"atnauthor", Keyword::SkipDestination},
    {"atnid", Keyword::SkipDestination},
    {"author", Keyword::SkipDestination},
    {"b", Keyword::B},
    {"bin", Keyword::Bin},
    {"blue", Keyword::Blue},
    {"bullet", Keyword::Bullet},
    {"cb", Keyword::Cb},
    {"cell", Keyword::Cell},
    {"cellx", Keyword::Cellx},
    {"cf", Keyword::Cf},
    {"colortbl", Keyword::ColorTable},
    {"comment", Keyword::SkipDestination},
    {"cpg", Keyword::Cpg},
    {"datastore", Keyword::SkipDestination},
    {"dbch", Keyword::Dbch},
    {"deff", Keyword::Deff},
    {"dibitmap", Keyword::OtherBlip},
    {"do", Keyword::SkipDestination},
    {"emdash", Keyword::Emdash},
    {"emfblip", Keyword::OtherBlip},
    {"endash", Keyword::Endash},
    {"f", Keyword::F},
    {"fcharset", Keyword::FCharset},
    {"fi", Keyword::Fi},
    {"fldinst", Keyword::SkipDestination},
    {"fonttbl", Keyword::FontTable},
    {"footer", Keyword::SkipDestination},
    {"footerf", Keyword::SkipDestination},
    {"footerl", Keyword::SkipDestination},
    {"footerr", Keyword::SkipDestination},
    {"footnote", Keyword::SkipDestination},
    {"fs", Keyword::Fs},
    {"green", Keyword::Green},
    {"header", Keyword::SkipDestination},
    {"headerf", Keyword::SkipDestination},
    {"headerl", Keyword::SkipDestination},
    {"headerr", Keyword::SkipDestination},
    {"hich", Keyword::OtherRunType},
    {"highlight", Keyword::Highlight},
    {"i", Keyword::I},
    {"info", Keyword::SkipDestination},
    {"intbl", Keyword::InTbl},
    {"jpegblip", Keyword::JpegBlip},
    {"keywords", Keyword::SkipDestination},
    {"ldblquote", Keyword::Ldblquote},
    {"li", Keyword::Li},
    {"line", Keyword::Line},
    {"loch", Keyword::OtherRunType},
    {"lquote", Keyword::Lquote},
    {"ltrch", Keyword::OtherRunType},
    {"mac", Keyword::Mac},
    {"macpict", Keyword::OtherBlip},
    {"nonesttables", Keyword::SkipDestination},
    {"nonshppict", Keyword::SkipDestination},
    {"nosupersub", Keyword::NoSuperSub},
    {"objdata", Keyword::SkipDestination},
    {"operator", Keyword::SkipDestination},
    {"page", Keyword::Par},
    {"par", Keyword::Par},
    {"pard", Keyword::Pard},
    {"pc", Keyword::Pc},
    {"pca", Keyword::Pca},
    {"pich", Keyword::PicH},
    {"pichgoal", Keyword::PicHGoal},
    {"picscalex", Keyword::PicScaleX},
    {"picscaley", Keyword::PicScaleY},
    {"pict", Keyword::Pict},
    {"picw", Keyword::PicW},
    {"picwgoal", Keyword::PicWGoal},
    {"plain", Keyword::Plain},
    {"pmmetafile", Keyword::OtherBlip},
    {"pn", Keyword::SkipDestination},
    {"pngblip", Keyword::PngBlip},
    {"private", Keyword::SkipDestination},
    {"qc", Keyword::Qc},
    {"qj", Keyword::Qj},
    {"ql", Keyword::Ql},
    {"qr", Keyword::Qr},
    {"rdblquote", Keyword::Rdblquote},
    {"red", Keyword::Red},
    {"ri", Keyword::Ri},
    {"row", Keyword::Row},
    {"rquote", Keyword::Rquote},
    {"rtf", Keyword::Rtf},
    {"rtlch", Keyword::OtherRunType},
    {"sa", Keyword::Sa},
    {"sb", Keyword::Sb},
    {"sect", Keyword::Par},
    {"shppict", Keyword::ShpPict},
    {"strike", Keyword::Strike},
    {"striked", Keyword::Strike},
    {"stylesheet", Keyword::SkipDestination},
    {"sub", Keyword::Sub},
    {"subject", Keyword::SkipDestination},
    {"super", Keyword::Super},
    {"tab", Keyword::Tab},
    {"tc", Keyword::SkipDestination},
    {"template", Keyword::SkipDestination},
    {"title", Keyword::SkipDestination},
    {"trowd", Keyword::Trowd},
    {"txe", Keyword::SkipDestination},
    {"u", Keyword::U},
    {"uc", Keyword::Uc},
    {"ul", Keyword::Ul},
    {"uld", Keyword::Ul},
    {"uldash", Keyword::Ul},
    {"uldashd", Keyword::Ul},
    {"uldashdd", Keyword::Ul},
    {"uldb", Keyword::Ul},
    {"ulhwave", Keyword::Ul},
    {"ulnone", Keyword::UlNone},
    {"ulth", Keyword::Ul},
    {"ulw", Keyword::Ul},
    {"ulwave", Keyword::Ul},
    {"wbitmap", Keyword::OtherBlip},
    {"wmetafile", Keyword::OtherBlip},
    {"xe", Keyword::SkipDestination},
});

constexpr bool sorted()
{
    for (std::size_t i = 1; i < kEntries.size(); ++i) {
        if (!(kEntries[i - 1].word < kEntries[i].word)) return false;
    }
    return true;
}
static_assert(sorted(), "keyword table must stay sorted");

} // namespace

Keyword keyword(QByteArrayView word)
{
    const std::string_view w(word.data(), static_cast<std::size_t>(word.size()));
    const auto it = std::lower_bound(kEntries.begin(), kEntries.end(), w,
                                     [](const Entry& e, std::string_view key) { return e.word < key; });
    return it != kEntries.end() && it->word == w ? it->keyword : Keyword::Unknown;
}

} // namespace richtext::detail
