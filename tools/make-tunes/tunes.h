// The six background tunes: calm short pieces to study by.
#pragma once

#include "piece.h"

#include <QList>
#include <QString>

struct Tune {
    QString fileName;    // as the settings window names it, e.g. 乐曲01.mid
    QString description; // instruments, key, metre and tempo, for the tool's listing
    Piece piece;
};

QList<Tune> allTunes();
