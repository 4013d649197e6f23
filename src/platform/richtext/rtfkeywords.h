// The RTF control words the reader acts on.
#pragma once

#include <QByteArrayView>

namespace richtext::detail {

enum class Keyword {
    Unknown,
    // document
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Bin,
    // destinations
    FontTable,
    ColorTable,
    Pict,
    ShpPict,
    SkipDestination,
    // font and colour tables
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // character properties
    Plain,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Fs,
    Cf,
    Cb,
    Highlight,
    Sub,
    Super,
    NoSuperSub,
    // associated properties: with \dbch they are those of the Chinese text that follows
    Dbch,
    OtherRunType,
    Af,
    Ab,
    Ai,
    Afs,
    // paragraph properties
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    InTbl,
    // breaks and special characters
    Par,
    Line,
    Tab,
    Emdash,
    Endash,
    Bullet,
    Lquote,
    Rquote,
    Ldblquote,
    Rdblquote,
    // tables
    Trowd,
    Cellx,
    Cell,
    Row,
    // pictures
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
};

Keyword keyword(QByteArrayView word);

} // namespace richtext::detail
