#include "score.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr int kMajorScale[7] = {0, 2, 4, 5, 7, 9, 11};

int dynamic(const QString& token)
{
    static const QStringList names{"pp", "p", "mp", "mf", "f", "ff"};
    const int i = names.indexOf(token);
    return i < 0 ? -1 : 36 + 12 * i;
}

[[noreturn]] void fail(const QString& what)
{
    throw std::invalid_argument(what.toStdString());
}

void checkBar(double filled, int beatsPerBar, int bar)
{
    if (std::abs(filled - beatsPerBar) > 1e-6)
        fail(QStringLiteral("bar %1 holds %2 beats").arg(bar).arg(filled));
}

// Bar lines need no spaces around them.
QStringList tokens(QString text)
{
    return text.replace('|', " | ").split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

int pitchClass(int pitch)
{
    return ((pitch % 12) + 12) % 12;
}

} // namespace

QList<Note> parseMelody(int tonic, const QString& text, int beatsPerBar)
{
    static const QRegularExpression noteRe("^([#b]?)([0-7])([',]*)(_*)(\\.?)$");
    QList<Note> notes;
    bool lastIsRest = true;
    double beat = 0, barStart = 0;
    int velocity = 60, bar = 1;
    for (const QString& t : tokens(text)) {
        if (t == "|") {
            checkBar(beat - barStart, beatsPerBar, bar++);
            barStart = beat;
        } else if (int v = dynamic(t); v >= 0) {
            velocity = v;
        } else if (t == "-") {
            if (!lastIsRest) notes.last().length += 1;
            beat += 1;
        } else if (const auto m = noteRe.match(t); m.hasMatch()) {
            double length = std::pow(0.5, m.captured(4).size()) * (m.captured(5).isEmpty() ? 1.0 : 1.5);
            const int degree = m.captured(2).toInt();
            lastIsRest = degree == 0;
            if (degree > 0) {
                const QString marks = m.captured(3);
                const int octave = int(marks.count('\'')) - int(marks.count(','));
                const int accidental = m.captured(1) == "#" ? 1 : m.captured(1) == "b" ? -1 : 0;
                notes.append(
                    {beat, length, tonic + kMajorScale[degree - 1] + 12 * octave + accidental, velocity});
            }
            beat += length;
        } else {
            fail(QStringLiteral("bad melody token '%1' in bar %2").arg(t).arg(bar));
        }
    }
    if (beat > barStart) checkBar(beat - barStart, beatsPerBar, bar);
    return notes;
}

QList<Chord> parseChords(int tonic, const QString& text, int beatsPerBar)
{
    static const QRegularExpression chordRe("^([1-7])(\\+?)(7?)(?:/([1-7]))?$");
    auto degreeClass = [tonic](int degree) { return pitchClass(tonic + kMajorScale[(degree - 1) % 7]); };
    QList<Chord> chords;
    int velocity = 60, bar = 0;
    double beat = 0;
    QStringList barTokens;
    auto flushBar = [&] {
        for (const QString& t : barTokens) {
            const double length = double(beatsPerBar) / barTokens.size();
            if (t == "-") {
                if (chords.isEmpty())
                    fail(QStringLiteral("bar %1 holds a chord that was never struck").arg(bar));
                chords.last().length += length;
            } else {
                const auto m = chordRe.match(t);
                if (!m.hasMatch()) fail(QStringLiteral("bad chord '%1' in bar %2").arg(t).arg(bar));
                const int root = m.captured(1).toInt();
                QList<int> tones{degreeClass(root), degreeClass(root + 2), degreeClass(root + 4)};
                if (!m.captured(2).isEmpty()) tones[1] = pitchClass(tones[1] + 1);
                if (!m.captured(3).isEmpty()) tones.append(degreeClass(root + 6));
                const int bass = m.captured(4).isEmpty() ? tones[0] : degreeClass(m.captured(4).toInt());
                chords.append({beat, length, tones, bass, velocity});
            }
            beat += length;
        }
        barTokens.clear();
        ++bar;
    };
    for (const QString& t : tokens(text)) {
        if (t == "|")
            flushBar();
        else if (int v = dynamic(t); v >= 0)
            velocity = v;
        else
            barTokens.append(t);
    }
    if (!barTokens.isEmpty()) flushBar();
    return chords;
}

namespace {

// The bass note and the chord tones above it, rising over three octaves.
QList<int> tonesAbove(const Chord& c, int low)
{
    int bass = low + pitchClass(c.bass - low);
    QList<int> out{bass};
    for (int p = bass + 1; p <= bass + 36; ++p) {
        if (c.tones.contains(pitchClass(p))) out.append(p);
    }
    return out;
}

int toneFor(QChar symbol, const QList<int>& rising, const Chord& c)
{
    if (symbol == 'a') {
        const int down = pitchClass(rising[0] - c.tones.value(2));
        return rising[0] - (down == 0 ? 12 : down);
    }
    return rising.value(symbol.digitValue(), -1);
}

} // namespace

QList<Note> accompany(const QList<Chord>& chords, const Pattern& pattern)
{
    const QStringList steps = tokens(pattern.steps);
    QList<Note> notes;
    for (qsizetype ci = 0; ci < chords.size(); ++ci) {
        const Chord& c = chords[ci];
        const QList<int> rising = tonesAbove(c, pattern.low);
        const double end = c.beat + c.length;
        const int velocity = c.velocity + pattern.velocity;
        if (ci == chords.size() - 1 && pattern.roll > 0) {
            // The closing chord: bass and five tones above it, each entering a little after the last.
            for (int i = 0; i < 6 && i < rising.size(); ++i) {
                const double at = c.beat + i * pattern.roll;
                notes.append({at, end - at, rising[i], velocity - 2 * i});
            }
            continue;
        }
        const qsizetype first = notes.size();
        for (int s = 0;; ++s) {
            const double at = c.beat + s * pattern.stepBeats;
            if (at >= end - 1e-6) break;
            const QString& step = steps[s % steps.size()];
            for (QChar symbol : step) {
                if (symbol == '.') continue;
                const int pitch = toneFor(symbol, rising, c);
                if (pitch < 0) fail(QStringLiteral("pattern step '%1' needs more chord tones").arg(step));
                const double length = pattern.sustain ? end - at : std::min(pattern.stepBeats, end - at);
                notes.append({at, length, pitch, velocity});
            }
        }
        // A held tone struck again is released at the new stroke, as a string or key would be.
        for (qsizetype i = first; i < notes.size(); ++i) {
            for (qsizetype j = i + 1; j < notes.size(); ++j) {
                if (notes[j].pitch == notes[i].pitch && notes[j].beat > notes[i].beat) {
                    notes[i].length = std::min(notes[i].length, notes[j].beat - notes[i].beat);
                    break;
                }
            }
        }
    }
    return notes;
}

QList<Note> pad(const QList<Chord>& chords, int centre, int velocity)
{
    QList<Note> notes;
    for (const Chord& c : chords) {
        for (int pc : c.tones) {
            const int pitch = centre - 5 + pitchClass(pc - (centre - 5));
            notes.append({c.beat, c.length, pitch, c.velocity + velocity});
        }
    }
    return notes;
}
