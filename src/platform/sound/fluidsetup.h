// FluidSynth setup shared by the player, the renderer and the device check (internal to sound/).
#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

#include <fluidsynth.h>

#include <memory>
#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcSound)

namespace sound::detail {

struct SettingsDeleter {
    void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
};
struct SynthDeleter {
    void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
};
struct PlayerDeleter {
    void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};
struct DriverDeleter {
    void operator()(fluid_audio_driver_t* p) const { delete_fluid_audio_driver(p); }
};
using SettingsPtr = std::unique_ptr<fluid_settings_t, SettingsDeleter>;
using SynthPtr = std::unique_ptr<fluid_synth_t, SynthDeleter>;
using PlayerPtr = std::unique_ptr<fluid_player_t, PlayerDeleter>;
using DriverPtr = std::unique_ptr<fluid_audio_driver_t, DriverDeleter>;

constexpr int kSampleRate = 44100;

// Settings used for playing and for rendering alike, so that a rendered tune sounds as it plays.
// Also sends FluidSynth's messages to the lcSound category instead of stderr.
SettingsPtr newSettings();

// The synth gain for the current wave volume.
float synthGain();

// The General MIDI soundfont: the override when one is set, otherwise the first known place that
// holds one. Empty when there is none.
QString soundFontPath();
void setSoundFontOverride(std::optional<QString> path);

// A synth with the General MIDI soundfont loaded. Throws sound::Error when that is impossible.
struct Synth {
    SettingsPtr settings;
    SynthPtr synth;
};
Synth makeSynth();

// The bytes of a Standard MIDI File. Throws sound::Error when the file is missing or not one.
QByteArray readMidiFile(const QString& path);

// A player with the tune queued to play once; throws sound::Error when FluidSynth refuses it.
PlayerPtr makePlayer(fluid_synth_t* synth, const QByteArray& midi);

// Opens the first audio driver that works, from the sound server to plain ALSA. Returns null and
// sets error when none does.
DriverPtr createAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth, QString* error);

} // namespace sound::detail
