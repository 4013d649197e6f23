// Standard MIDI File writer: tracks of timed events, written as a format 1 file.
#pragma once

#include <QByteArray>
#include <QList>

class MidiTrack {
public:
    explicit MidiTrack(const QByteArray& name);

    void tempo(qint64 tick, double bpm);
    void timeSignature(qint64 tick, int numerator, int denominator);
    // sharps: negative for flats.
    void keySignature(qint64 tick, int sharps, bool minor);
    void program(qint64 tick, int channel, int program);
    void control(qint64 tick, int channel, int controller, int value);
    void note(qint64 tick, qint64 length, int channel, int pitch, int velocity);

    qint64 lastTick() const;
    // The MTrk chunk, closed by End of Track at endTick (or at the last event if that is later).
    QByteArray chunk(qint64 endTick) const;

private:
    // At the same tick, meta events come first, then controls, then note-offs before note-ons, so that a
    // repeated pitch is released before it sounds again.
    enum Order { Meta, Control, NoteOff, NoteOn };
    struct Event {
        qint64 tick;
        Order order;
        QByteArray bytes;
    };
    void add(qint64 tick, Order order, QByteArray bytes);
    void meta(qint64 tick, int type, const QByteArray& data);

    QList<Event> events_;
};

// Every track ends at endTick, or at the last event of any track if that is later.
QByteArray standardMidiFile(const QList<MidiTrack>& tracks, int ticksPerQuarter, qint64 endTick = 0);
