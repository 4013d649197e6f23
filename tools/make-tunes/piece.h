// A piece as parts on MIDI channels, turned into a Standard MIDI File.
#pragma once

#include "score.h"

#include <QByteArray>
#include <QList>

struct Part {
    QByteArray name;
    int channel;
    int program;   // General MIDI, counted from 0
    int volume;    // controller 7
    int pan;       // controller 10, 64 is the middle
    int reverb;    // controller 91
    int chorus;    // controller 93
    double legato; // share of each written length that sounds
    QList<Note> notes;
};

struct Piece {
    QByteArray title;
    int sharps; // key signature, negative for flats
    bool minor;
    double bpm;
    int beatsPerBar; // in quarter notes
    int timeNumerator;
    int timeDenominator;
    double closingBeats; // the last beats slow down gradually to two thirds of the tempo
    QList<Part> parts;
};

// Writes the piece; loudness varies a little from note to note by a fixed seed, so the output is
// always the same. Sets seconds to the playing time up to the last note's end.
QByteArray toMidi(const Piece& piece, quint32 seed, double* seconds);
