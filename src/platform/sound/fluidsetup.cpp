#include "fluidsetup.h"

#include "error.h"
#include "volume.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <alsa/asoundlib.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

Q_LOGGING_CATEGORY(lcSound, "prepdesk.sound", QtWarningMsg)

namespace sound::detail {

namespace {

// Synth gain at the highest wave volume: our tunes then play at about -22 to -28 dBFS RMS, with
// peaks below -4 dBFS left as headroom for chords with reverb.
constexpr float kFullGain = 1.0f;

// FluidSynth reports why a call failed only through its log; the last error is kept per thread
// so that the failing call's message can go into our error text.
thread_local QString t_lastError;

void logToCategory(int level, const char* message, void*)
{
    const QString text = QString::fromUtf8(message);
    if (level <= FLUID_ERR) {
        t_lastError = text;
        qCWarning(lcSound).noquote() << "FluidSynth:" << text;
    } else if (level == FLUID_WARN) {
        qCWarning(lcSound).noquote() << "FluidSynth:" << text;
    } else {
        qCDebug(lcSound).noquote() << "FluidSynth:" << text;
    }
}

// ALSA explains each failed device lookup on stderr; without a sound card that is expected, and the
// reason reaches the caller through FluidSynth's message anyway.
void alsaToCategory(const char* file, int line, const char* function, int, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    qCDebug(lcSound).noquote() << "ALSA:" << file << line << function << text;
}

void routeLogOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, logToCategory, nullptr);
        snd_lib_error_set_handler(alsaToCategory);
    });
}

std::mutex g_soundFontMutex;
std::optional<QString> g_soundFontOverride;

QString fluidDefaultSoundFont()
{
    SettingsPtr settings(new_fluid_settings());
    char* path = nullptr;
    if (!settings || fluid_settings_dupstr(settings.get(), "synth.default-soundfont", &path) != FLUID_OK)
        return {};
    const QString result = QString::fromLocal8Bit(path);
    fluid_free(path);
    return result;
}

QString withReason(const QString& text)
{
    return t_lastError.isEmpty() ? text : text + QStringLiteral(" (") + t_lastError + QLatin1Char(')');
}

} // namespace

SettingsPtr newSettings()
{
    routeLogOnce();
    SettingsPtr s(new_fluid_settings());
    if (!s) return s;
    fluid_settings_setnum(s.get(), "synth.sample-rate", kSampleRate);
    fluid_settings_setnum(s.get(), "synth.gain", synthGain());
    // A roomier reverb than the default suits the slow pieces we play.
    fluid_settings_setnum(s.get(), "synth.reverb.room-size", 0.6);
    fluid_settings_setnum(s.get(), "synth.reverb.damp", 0.4);
    fluid_settings_setnum(s.get(), "synth.reverb.width", 0.8);
    fluid_settings_setnum(s.get(), "synth.reverb.level", 0.7);
    // The player follows the rendered samples, so rendering without a driver keeps correct time.
    fluid_settings_setstr(s.get(), "player.timing-source", "sample");
    fluid_settings_setint(s.get(), "player.reset-synth", 1);
    return s;
}

float synthGain()
{
    return kFullGain * float(waveGain());
}

QString soundFontPath()
{
    {
        std::lock_guard lock(g_soundFontMutex);
        if (g_soundFontOverride) return *g_soundFontOverride;
    }
    const QStringList candidates{
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
        fluidDefaultSoundFont(),
        QStringLiteral("/usr/share/soundfonts/default.sf2"),
    };
    for (const QString& path : candidates) {
        if (!path.isEmpty() && QFileInfo(path).isFile()) return path;
    }
    return {};
}

void setSoundFontOverride(std::optional<QString> path)
{
    std::lock_guard lock(g_soundFontMutex);
    g_soundFontOverride = std::move(path);
}

Synth makeSynth()
{
    const QString font = soundFontPath();
    if (font.isEmpty())
        throw Error(QStringLiteral("No General MIDI soundfont installed (package timgm6mb-soundfont)"));
    if (!QFileInfo(font).isFile()) throw Error(QStringLiteral("Soundfont not found: %1").arg(font));
    const QByteArray fontName = QFile::encodeName(font);
    if (!fluid_is_soundfont(fontName.constData()))
        throw Error(QStringLiteral("Not a soundfont: %1").arg(font));

    Synth s;
    s.settings = newSettings();
    if (s.settings) s.synth.reset(new_fluid_synth(s.settings.get()));
    if (!s.synth) throw Error(QStringLiteral("The synthesizer could not be started"));
    t_lastError.clear();
    if (fluid_synth_sfload(s.synth.get(), fontName.constData(), 1) == FLUID_FAILED)
        throw Error(withReason(QStringLiteral("The soundfont could not be loaded: %1").arg(font)));
    fluid_synth_set_gain(s.synth.get(), synthGain());
    return s;
}

QByteArray readMidiFile(const QString& path)
{
    if (path.isEmpty()) throw Error(QStringLiteral("No MIDI file given"));
    const QFileInfo info(path);
    if (!info.exists()) throw Error(QStringLiteral("MIDI file not found: %1").arg(path));
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("MIDI file cannot be read: %1").arg(path));
    const QByteArray data = file.readAll();

    // A Standard MIDI File opens with an "MThd" chunk of at least 6 bytes, followed by a track chunk.
    auto be32 = [&data](qsizetype at) {
        return quint32(quint8(data[at])) << 24 | quint32(quint8(data[at + 1])) << 16 |
               quint32(quint8(data[at + 2])) << 8 | quint32(quint8(data[at + 3]));
    };
    bool valid = data.size() >= 22 && data.startsWith("MThd");
    if (valid) {
        const quint32 headerLength = be32(4);
        valid = headerLength >= 6 && headerLength <= quint32(data.size() - 16) &&
                data.mid(8 + headerLength, 4) == "MTrk";
    }
    if (!valid) throw Error(QStringLiteral("Not a Standard MIDI File: %1").arg(path));
    return data;
}

PlayerPtr makePlayer(fluid_synth_t* synth, const QByteArray& midi)
{
    t_lastError.clear();
    PlayerPtr player(new_fluid_player(synth));
    if (!player || fluid_player_add_mem(player.get(), midi.constData(), size_t(midi.size())) != FLUID_OK)
        throw Error(withReason(QStringLiteral("The MIDI player could not take the tune")));
    fluid_player_set_loop(player.get(), 1); // once, no repeat
    return player;
}

DriverPtr createAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth, QString* error)
{
    QStringList reasons;
    for (const char* name : {"pulseaudio", "alsa"}) {
        t_lastError.clear();
        if (fluid_settings_setstr(settings, "audio.driver", name) != FLUID_OK) {
            reasons << QStringLiteral("%1: not built in").arg(QLatin1String(name));
            continue;
        }
        DriverPtr driver(new_fluid_audio_driver(settings, synth));
        if (driver) return driver;
        reasons << QStringLiteral("%1: %2").arg(
            QLatin1String(name), t_lastError.isEmpty() ? QStringLiteral("failed") : t_lastError);
    }
    if (error)
        *error =
            QStringLiteral("No audio output could be opened (%1)").arg(reasons.join(QStringLiteral("; ")));
    return nullptr;
}

} // namespace sound::detail
