#include "smf.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

QByteArray variableLength(quint32 value)
{
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7)
        out.prepend(char(0x80 | (value & 0x7F)));
    return out;
}

QByteArray be(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
    return out;
}

void check(bool ok, const char* what)
{
    if (!ok) throw std::invalid_argument(what);
}

} // namespace

MidiTrack::MidiTrack(const QByteArray& name)
{
    meta(0, 0x03, name);
}

void MidiTrack::add(qint64 tick, Order order, QByteArray bytes)
{
    check(tick >= 0, "event before the start");
    events_.append({tick, order, std::move(bytes)});
}

void MidiTrack::meta(qint64 tick, int type, const QByteArray& data)
{
    QByteArray bytes;
    bytes.append(char(0xFF));
    bytes.append(char(type));
    bytes.append(variableLength(quint32(data.size())));
    bytes.append(data);
    add(tick, Meta, bytes);
}

void MidiTrack::tempo(qint64 tick, double bpm)
{
    check(bpm > 0, "tempo");
    meta(tick, 0x51, be(quint32(std::lround(60'000'000.0 / bpm)), 3));
}

void MidiTrack::timeSignature(qint64 tick, int numerator, int denominator)
{
    const int power = int(std::log2(denominator));
    check((1 << power) == denominator, "time signature denominator");
    meta(tick, 0x58, QByteArray{} + char(numerator) + char(power) + char(24) + char(8));
}

void MidiTrack::keySignature(qint64 tick, int sharps, bool minor)
{
    check(sharps >= -7 && sharps <= 7, "key signature");
    meta(tick, 0x59, QByteArray{} + char(qint8(sharps)) + char(minor ? 1 : 0));
}

void MidiTrack::program(qint64 tick, int channel, int program)
{
    check(channel >= 0 && channel < 16 && program >= 0 && program < 128, "program change");
    add(tick, Control, QByteArray{} + char(0xC0 | channel) + char(program));
}

void MidiTrack::control(qint64 tick, int channel, int controller, int value)
{
    check(channel >= 0 && channel < 16 && controller >= 0 && controller < 128, "controller");
    add(tick, Control,
        QByteArray{} + char(0xB0 | channel) + char(controller) + char(std::clamp(value, 0, 127)));
}

void MidiTrack::note(qint64 tick, qint64 length, int channel, int pitch, int velocity)
{
    check(channel >= 0 && channel < 16 && pitch >= 0 && pitch < 128 && length > 0, "note");
    const char vel = char(std::clamp(velocity, 1, 127));
    add(tick, NoteOn, QByteArray{} + char(0x90 | channel) + char(pitch) + vel);
    add(tick + length, NoteOff, QByteArray{} + char(0x80 | channel) + char(pitch) + char(64));
}

qint64 MidiTrack::lastTick() const
{
    qint64 last = 0;
    for (const Event& e : events_)
        last = std::max(last, e.tick);
    return last;
}

QByteArray MidiTrack::chunk(qint64 endTick) const
{
    QList<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    QByteArray body;
    qint64 now = 0;
    for (const Event& e : sorted) {
        body.append(variableLength(quint32(e.tick - now)));
        body.append(e.bytes);
        now = e.tick;
    }
    body.append(variableLength(quint32(std::max<qint64>(endTick - now, 0))));
    body.append("\xFF\x2F\x00", 3);
    return QByteArray("MTrk") + be(quint32(body.size()), 4) + body;
}

QByteArray standardMidiFile(const QList<MidiTrack>& tracks, int ticksPerQuarter, qint64 endTick)
{
    qint64 end = endTick;
    for (const MidiTrack& t : tracks)
        end = std::max(end, t.lastTick());
    QByteArray file = QByteArray("MThd") + be(6, 4) + be(1, 2) + be(quint32(tracks.size()), 2) +
                      be(quint32(ticksPerQuarter), 2);
    for (const MidiTrack& t : tracks)
        file.append(t.chunk(end));
    return file;
}
