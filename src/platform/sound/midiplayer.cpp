#include "midiplayer.h"

#include "error.h"
#include "fluidsetup.h"
#include "volume.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace sound {

// The synth, the MIDI player on it and, once playing, the audio driver that pulls from the synth.
struct MidiPlayer::Engine {
    detail::Synth synth;
    detail::PlayerPtr player;
    detail::DriverPtr driver;
    int volumeObserver = 0;

    ~Engine()
    {
        if (volumeObserver) removeWaveVolumeObserver(volumeObserver);
        stop();
    }
    // The player must not be touched while a driver renders from its synth: the driver goes first.
    void stop()
    {
        if (player) fluid_player_stop(player.get());
        driver.reset();
        player.reset();
    }
};

MidiPlayer::MidiPlayer(QObject* parent) : QObject(parent) {}

MidiPlayer::~MidiPlayer() = default;

void MidiPlayer::setFileName(const QString& path)
{
    fileName_ = path;
}

void MidiPlayer::open()
{
    close();
    QByteArray midi = detail::readMidiFile(fileName_);
    auto engine = std::make_unique<Engine>();
    engine->synth = detail::makeSynth();
    fluid_synth_t* synth = engine->synth.synth.get();
    engine->volumeObserver =
        addWaveVolumeObserver([synth] { fluid_synth_set_gain(synth, detail::synthGain()); });
    fluid_synth_set_gain(synth, detail::synthGain());
    midi_ = std::move(midi);
    engine_ = std::move(engine);
}

bool MidiPlayer::isOpen() const
{
    return engine_ != nullptr;
}

void MidiPlayer::play()
{
    if (!engine_) throw Error(QStringLiteral("No tune is open"));
    if (isPlaying()) return;
    startPlayer();
}

void MidiPlayer::startPlayer()
{
    // A player that has reached the end cannot start again, so each start gets a fresh one.
    engine_->stop();
    fluid_settings_t* settings = engine_->synth.settings.get();
    fluid_synth_t* synth = engine_->synth.synth.get();
    engine_->player = detail::makePlayer(synth, midi_);
    QString error;
    engine_->driver = detail::createAudioDriver(settings, synth, &error);
    if (!engine_->driver) {
        engine_->stop();
        throw Error(error);
    }
    if (fluid_player_play(engine_->player.get()) != FLUID_OK) {
        engine_->stop();
        throw Error(QStringLiteral("The tune could not be started: %1").arg(fileName_));
    }
}

void MidiPlayer::close()
{
    engine_.reset();
    midi_.clear();
}

bool MidiPlayer::isPlaying() const
{
    return engine_ && engine_->driver && engine_->player &&
           fluid_player_get_status(engine_->player.get()) == FLUID_PLAYER_PLAYING;
}

QString MidiPlayer::soundFontPath()
{
    return detail::soundFontPath();
}

void MidiPlayer::setSoundFontOverride(std::optional<QString> path)
{
    detail::setSoundFontOverride(std::move(path));
}

namespace {

constexpr int kBlockFrames = 1024;

void appendLe(QByteArray& out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

void writeWav(const QString& path, const QByteArray& pcm)
{
    constexpr int channels = 2;
    constexpr int bytesPerSample = 2;
    QByteArray header;
    header.append("RIFF");
    appendLe(header, quint32(36 + pcm.size()), 4);
    header.append("WAVEfmt ");
    appendLe(header, 16, 4);
    appendLe(header, 1, 2); // PCM
    appendLe(header, channels, 2);
    appendLe(header, detail::kSampleRate, 4);
    appendLe(header, detail::kSampleRate * channels * bytesPerSample, 4);
    appendLe(header, channels * bytesPerSample, 2);
    appendLe(header, 8 * bytesPerSample, 2);
    header.append("data");
    appendLe(header, quint32(pcm.size()), 4);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size() ||
        file.write(pcm) != pcm.size() || !file.commit())
        throw Error(QStringLiteral("The WAV file cannot be written: %1 (%2)").arg(path, file.errorString()));
}

// Rounds without dither, so that a silent synth gives exact zeros.
qint16 toPcm(float sample)
{
    return qint16(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

} // namespace

bool MidiPlayer::renderToWav(const QString& midi, const QString& wavOut, int maxSeconds, QString* error)
{
    try {
        const QByteArray data = detail::readMidiFile(midi);
        detail::Synth s = detail::makeSynth();
        detail::PlayerPtr player = detail::makePlayer(s.synth.get(), data);
        if (fluid_player_play(player.get()) != FLUID_OK)
            throw Error(QStringLiteral("The tune could not be started: %1").arg(midi));

        const qint64 maxFrames = qint64(std::max(maxSeconds, 0)) * detail::kSampleRate;
        std::vector<float> left(kBlockFrames), right(kBlockFrames);
        QByteArray pcm;
        pcm.reserve(qsizetype(std::min<qint64>(maxFrames, 120 * detail::kSampleRate) * 4));
        // The player stays in its playing state until the last notes and the reverb have died away.
        for (qint64 frames = 0;
             frames < maxFrames && fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING;) {
            const int n = int(std::min<qint64>(kBlockFrames, maxFrames - frames));
            fluid_synth_write_float(s.synth.get(), n, left.data(), 0, 1, right.data(), 0, 1);
            for (int i = 0; i < n; ++i) {
                appendLe(pcm, quint16(toPcm(left[i])), 2);
                appendLe(pcm, quint16(toPcm(right[i])), 2);
            }
            frames += n;
        }
        writeWav(wavOut, pcm);
        return true;
    } catch (const Error& e) {
        if (error) *error = e.message();
        return false;
    }
}

} // namespace sound
