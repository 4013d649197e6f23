#include "piece.h"

#include "smf.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTicksPerQuarter = 480;

qint64 ticks(double beats)
{
    return std::llround(beats * kTicksPerQuarter);
}

// A small fixed generator: the same seed always gives the same piece.
class Jitter {
public:
    explicit Jitter(quint32 seed) : state_(seed ? seed : 1) {}
    int next(int range)
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return int(state_ % quint32(2 * range + 1)) - range;
    }

private:
    quint32 state_;
};

// Stronger on the first beat of a bar, a little on other beats, softer between beats.
int accent(double beat, int beatsPerBar)
{
    const double inBar = std::fmod(beat, beatsPerBar);
    if (inBar < 1e-6) return 6;
    return std::abs(inBar - std::round(inBar)) < 1e-6 ? 2 : -2;
}

// Tempo changes of the closing slowdown, one per beat, and the playing time they give.
struct TempoMap {
    QList<QPair<double, double>> changes; // beat, bpm
    double secondsUntil(double beat) const
    {
        double seconds = 0;
        for (qsizetype i = 0; i < changes.size() && changes[i].first < beat; ++i) {
            const double until = i + 1 < changes.size() ? std::min(changes[i + 1].first, beat) : beat;
            seconds += (until - changes[i].first) * 60.0 / changes[i].second;
        }
        return seconds;
    }
};

TempoMap tempoMap(const Piece& piece, double endBeat)
{
    TempoMap map;
    map.changes.append({0.0, piece.bpm});
    const double from = std::max(0.0, std::floor(endBeat - piece.closingBeats));
    for (double b = from; b < endBeat; b += 1) {
        const double progress = (b - from + 1) / std::max(1.0, endBeat - from);
        map.changes.append({b, piece.bpm * (1.0 - progress / 3.0)});
    }
    return map;
}

} // namespace

QByteArray toMidi(const Piece& piece, quint32 seed, double* seconds)
{
    double endBeat = 0;
    for (const Part& part : piece.parts) {
        for (const Note& n : part.notes)
            endBeat = std::max(endBeat, n.beat + n.length);
    }
    const TempoMap map = tempoMap(piece, endBeat);

    QList<MidiTrack> tracks;
    MidiTrack conductor(piece.title);
    conductor.timeSignature(0, piece.timeNumerator, piece.timeDenominator);
    conductor.keySignature(0, piece.sharps, piece.minor);
    for (const auto& [beat, bpm] : map.changes)
        conductor.tempo(ticks(beat), bpm);
    tracks.append(conductor);

    Jitter jitter(seed);
    for (const Part& part : piece.parts) {
        MidiTrack track(part.name);
        track.program(0, part.channel, part.program);
        track.control(0, part.channel, 7, part.volume);
        track.control(0, part.channel, 10, part.pan);
        track.control(0, part.channel, 91, part.reverb);
        track.control(0, part.channel, 93, part.chorus);
        for (const Note& n : part.notes) {
            const int velocity = n.velocity + accent(n.beat, piece.beatsPerBar) + jitter.next(4);
            const double length = std::max(0.05, n.length * part.legato);
            track.note(ticks(n.beat), ticks(length), part.channel, n.pitch, velocity);
        }
        tracks.append(track);
    }
    if (seconds) *seconds = map.secondsUntil(endBeat);
    return standardMidiFile(tracks, kTicksPerQuarter, ticks(endBeat));
}
