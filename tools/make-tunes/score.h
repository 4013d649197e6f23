// Numbered notation for melodies and chords, and accompaniment patterns over chords.
//
// Degrees 1-7 are the major scale on the key's tonic (a minor key is written on its relative major,
// with 6 as its tonic). Melody tokens: a degree (0 is a rest) with # or b before it, ' or , after it
// for an octave up or down, then _ to halve the length (one beat by default) and . to dot it; a lone
// - holds the previous note one beat longer; | checks that the bar is full; pp p mp mf f ff set the
// loudness. Chord tokens: a root degree, + to raise its third, 7 for the seventh, /n for a bass
// degree; the chords of a bar share it evenly and a lone - holds the previous chord.
#pragma once

#include <QList>
#include <QString>

struct Note {
    double beat;
    double length;
    int pitch;
    int velocity;
};

struct Chord {
    double beat;
    double length;
    QList<int> tones; // pitch classes, root first
    int bass;         // pitch class
    int velocity;
};

// Both throw std::invalid_argument naming the token or bar at fault.
QList<Note> parseMelody(int tonic, const QString& text, int beatsPerBar);
QList<Chord> parseChords(int tonic, const QString& text, int beatsPerBar);

// An accompaniment figure repeated through each chord from its start. Steps are space-separated; each
// step lists the tones struck together: 0 is the bass note (the chord's bass in [low, low + 12)),
// 1-9 the chord tones above it in rising order, a the chord's fifth below the bass, . nothing.
struct Pattern {
    QString steps;
    double stepBeats;
    int low;
    bool sustain; // hold each tone to the end of the chord, as with the pedal down
    int velocity; // added to the chord's loudness
    double roll;  // the last chord is rolled upwards with this gap in beats (0: struck like the rest)
};
QList<Note> accompany(const QList<Chord>& chords, const Pattern& pattern);

// Chords as sustained close-position harmony around centre, for pads and string sections.
QList<Note> pad(const QList<Chord>& chords, int centre, int velocity);
