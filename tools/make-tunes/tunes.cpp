#include "tunes.h"

namespace {

// MIDI pitches of the tonics used below.
constexpr int C4 = 60, D4 = 62, Eb4 = 63, F4 = 65, G4 = 67, Bb4 = 70, C5 = 72, D5 = 74, Eb5 = 75;

Part part(const char* name, int channel, int program, int volume, int pan, int reverb, int chorus,
          double legato, QList<Note> notes)
{
    return {name, channel, program, volume, pan, reverb, chorus, legato, std::move(notes)};
}

// Piano alone: a singing right hand over pedalled broken chords. The soundfont's piano is quiet, so
// it is written louder than the other pieces.
Piece piano()
{
    const QString melody = "0 - - - | 0 - - - |"
                           "f 3. 2_ 1 5, | 6, - 1 2 | 1 - 6, 1 | 2 - - - |"
                           "3. 2_ 1 5, | 6, - 1 3 | 2. 1_ 6, 1 | 7, - 2 - |"
                           "ff 4 - 5 6 | 5 - 2 - | 3 - 5 3 | 6 - - - |"
                           "1'. 6_ 4 2 | 5 - 1' 7 | 6. 5_ 4 3 | 2 - - - |"
                           "mf 3. 2_ 1 5, | 6, - 1 2 | mp 4 3 2 7, | 1 - - - | - - - - |";
    const QString chords = "mp 1 | 1 |"
                           "f 1 | 6 | 4 | 5 | 1 | 6 | 2 | 5 |"
                           "ff 4 | 5 | 3 | 6 | 27 | 5 | 4 | 5 |"
                           "mf 1 | 6 | 2 5 | 1 | - |";
    const QList<Chord> harmony = parseChords(F4, chords, 4);
    return {"Piano",
            -1,
            false,
            72,
            4,
            4,
            4,
            10,
            {part("Right hand", 0, 0, 127, 70, 60, 0, 0.95, parseMelody(F4, melody, 4)),
             part("Left hand", 1, 0, 112, 54, 60, 0, 1.0,
                  accompany(harmony, {"0 2 3 4 3 2 3 4", 0.5, 36, true, -12, 0.12}))}};
}

// String orchestra in three: a slow tune over held chords and a cello bass.
Piece strings()
{
    const QString melody = "0 - - | 0 - - |"
                           "mp 5 - 3 | 4 - 6 | 5 - 1' | 7 - 6 | 6 - 4 | 5 - 3 | 2 - - | 1 - - |"
                           "mf 3 - 6 | 5 - 7 | 1' - 6 | 5 - - | 4 - 6 | 5 4 2 | 3 - 1 | 2 - - |"
                           "mp 5 - 3 | 4 - 6 | 5 - 1' | 7 - 6 | 6 - 4 | 5 - 3 | p 2 - 7, | 1 - - | - - - |";
    const QString chords = "p 1 | 4/1 |"
                           "mp 1 | 4 | 1 | 5 | 4 | 1/3 | 5 | 1 |"
                           "mf 6 | 3 | 4 | 1 | 2 | 57 | 1/3 | 5 |"
                           "mp 1 | 4 | 1 | 5 | 4 | 1/3 | 5 | 1 | - |";
    const QList<Chord> harmony = parseChords(D4, chords, 3);
    return {"Strings",
            2,
            false,
            66,
            3,
            3,
            4,
            6,
            {part("Violins", 0, 48, 84, 70, 80, 30, 0.98, parseMelody(D5, melody, 3)),
             part("Violas", 1, 49, 66, 50, 80, 30, 1.0, pad(harmony, D4, -10)),
             part("Cellos", 2, 42, 72, 84, 70, 20, 1.0, accompany(harmony, {"0", 3, 38, true, -8, 0}))}};
}

// Flute over a fingerpicked nylon guitar.
Piece fluteAndGuitar()
{
    const QString melody = "0 - - - | 0 - - - |"
                           "mp 5_ 6_ 5_ 3_ 2 1 | 3 - 5 - | 1'_ 7_ 6_ 5_ 6 - | 5 - - 0 |"
                           "3_ 5_ 6_ 5_ 3 2 | 2 - 1 6, | 5, - 7, 2 | 1 - - - |"
                           "mf 6 - 5_ 6_ 1' | 7 - 6 5 | 5 - 3_ 5_ 7 | 6 - - - |"
                           "6_ 5_ 4_ 3_ 2 6, | 2 - 5, 7, | 1 - 6, 1 | 2 - - - |"
                           "mp 5_ 6_ 5_ 3_ 2 1 | 3 - 5 - | 1'_ 7_ 6_ 5_ 6 - | 5 - - 0 |"
                           "3_ 5_ 6_ 1'_ 7 6 | 6 - 5 4 | p 2 - 7, 5, | 1 - - - | - - - - |";
    const QString chords = "p 1 | 1 |"
                           "mp 1 | 3 | 4 | 1 | 6 | 2 | 5 | 1 |"
                           "mf 4 | 5 | 3 | 6 | 2 | 5 | 4 | 5 |"
                           "mp 1 | 3 | 4 | 1 | 6 | 4 | 5 | 1 | - |";
    const QList<Chord> harmony = parseChords(G4, chords, 4);
    return {"Flute and guitar",
            1,
            false,
            84,
            4,
            4,
            4,
            8,
            {part("Flute", 0, 73, 112, 72, 70, 0, 0.92, parseMelody(G4, melody, 4)),
             part("Guitar", 1, 24, 112, 54, 50, 0, 1.0,
                  accompany(harmony, {"0 3 4 5 2 3 4 3", 0.5, 40, true, -6, 0.1}))}};
}

// Guitar in A minor: a plucked tune over a fingerpicked guitar, with strings far behind.
Piece guitar()
{
    const QString melody = "0 - - - | 0 - - - |"
                           "mf 3 - 2_ 1_ 6, | 1 - 6, - | 5 - 3_ 2_ 1 | 2 - - - |"
                           "3 - 2_ 1_ 6, | 4 - 2 1 | 7, - #5, - | 6, - - - |"
                           "f 6 - 5 4 | 5 - 2 - | 3 - 5 1' | 1' 7 6 - |"
                           "4 - 6 4 | 2 - 5, 7, | #5, - 7, 2 | 3 - - - |"
                           "mf 3 - 2_ 1_ 6, | 1 - 6, - | 5 - 3_ 2_ 1 | 2 - - - |"
                           "3 - 2_ 1_ 6, | 4 - 2 1 | mp 7, - #5, - | 6, - - - | - - - - |";
    const QString chords = "mp 6 | 6 |"
                           "mf 6 | 4 | 1 | 5 | 6 | 2 | 3+ | 6 |"
                           "f 4 | 5 | 1 | 6 | 2 | 5 | 3+7 | 3+ |"
                           "mf 6 | 4 | 1 | 5 | 6 | 2 | 3+ | 6 | - |";
    const QList<Chord> harmony = parseChords(C4, chords, 4);
    return {"Guitar",
            0,
            true,
            80,
            4,
            4,
            4,
            8,
            {part("Guitar tune", 0, 24, 124, 72, 60, 0, 0.95, parseMelody(C5, melody, 4)),
             part("Guitar chords", 1, 24, 104, 54, 55, 0, 1.0,
                  accompany(harmony, {"0 2 3 4 5 4 3 2", 0.5, 40, true, -12, 0.1})),
             part("Strings", 2, 49, 52, 64, 90, 20, 1.0, pad(harmony, 57, -14))}};
}

// Music box waltz with celesta chords and a soft pad.
Piece musicBox()
{
    const QString melody = "0 - - | 0 - - |"
                           "mf 1 3 5 | 6 - 1' | 1' 6 4 | 5 - - | 3 2 1 | 7, 2 3 | 4 - 2 | 1 - - |"
                           "f 4 6 1' | 3' - 1' | 2' 1' 7 | 1' - 6 | 6 5 4 | 5 - 2 | 3 5 1' | 7 - 5 |"
                           "mf 1 3 5 | 6 - 1' | 1' 6 4 | 5 - - | 3 2 1 | 7, 2 3 | mp 4 - 2 | 1 - - | - - - |";
    const QString chords = "mp 1 | 1 |"
                           "mf 1 | 6 | 4 | 5 | 1 | 3 | 2 57 | 1 |"
                           "f 4 | 1 | 57 | 6 | 2 | 5 | 1 | 5 |"
                           "mf 1 | 6 | 4 | 5 | 1 | 3 | 2 57 | 1 | - |";
    const QList<Chord> harmony = parseChords(Bb4, chords, 3);
    return {"Music box",
            -2,
            false,
            92,
            3,
            3,
            4,
            6,
            {part("Music box", 0, 10, 120, 64, 80, 0, 1.0, parseMelody(Bb4, melody, 3)),
             part("Celesta", 1, 8, 96, 44, 80, 0, 1.0,
                  accompany(harmony, {"0 2 3 4 3 2", 0.5, 58, false, -16, 0.1})),
             part("Pad", 2, 89, 46, 84, 90, 0, 1.0, pad(harmony, 58, -12))}};
}

// Harp: a tune in the upper strings over rising and falling arpeggios, with a string pad.
Piece harp()
{
    const QString melody = "0 - - - | 0 - - - |"
                           "mp 5 - 3 - | 2 - 7, - | 1 - 6, 1 | 7, - 5, - |"
                           "6, 1 4 6 | 5 - 3 1 | 4 - 6 - | 5 - - - |"
                           "mf 1' - 6 4 | 2' - 7 5 | 7 - 5 3 | 3 - 1 6, |"
                           "6 - 4 1 | p 2 - 5, 7, | 1 - - - | - - - - |";
    const QString chords = "p 1 | 4/1 |"
                           "mp 1 | 5/7 | 6 | 3 | 4 | 1/3 | 2 | 5 |"
                           "mf 4 | 5 | 3 | 6 | 27 | 5 | 1 | - |";
    const QList<Chord> harmony = parseChords(Eb4, chords, 4);
    return {"Harp",
            -3,
            false,
            66,
            4,
            4,
            4,
            8,
            {part("Harp tune", 0, 46, 124, 70, 80, 0, 1.0, parseMelody(Eb5, melody, 4)),
             part("Harp arpeggios", 1, 46, 100, 50, 80, 0, 1.0,
                  accompany(harmony, {"0 2 3 4 5 6 5 4", 0.5, 36, true, -12, 0.15})),
             part("Strings", 2, 49, 50, 64, 100, 20, 1.0, pad(harmony, 55, -14))}};
}

} // namespace

QList<Tune> allTunes()
{
    return {
        {"乐曲01.mid", "piano; F major, 4/4, 72 bpm", piano()},
        {"乐曲02.mid", "strings and cello; D major, 3/4, 66 bpm", strings()},
        {"乐曲03.mid", "flute and nylon guitar; G major, 4/4, 84 bpm", fluteAndGuitar()},
        {"乐曲04.mid", "nylon guitars and soft strings; A minor, 4/4, 80 bpm", guitar()},
        {"乐曲05.mid", "music box, celesta and pad; B-flat major, 3/4, 92 bpm", musicBox()},
        {"乐曲06.mid", "harp and soft strings; E-flat major, 4/4, 66 bpm", harp()},
    };
}
