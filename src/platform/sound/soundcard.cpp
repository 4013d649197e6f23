#include "soundcard.h"

#include "fluidsetup.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace sound {

namespace {

std::mutex g_mutex;
std::optional<bool> g_override;
std::optional<bool> g_probed;

bool alsaHasCard()
{
    int card = -1;
    return snd_card_next(&card) == 0 && card >= 0;
}

// A driver needs a synth to pull from, but no soundfont: it is closed again at once.
bool audioDriverOpens()
{
    detail::SettingsPtr settings = detail::newSettings();
    detail::SynthPtr synth(settings ? new_fluid_synth(settings.get()) : nullptr);
    if (!synth) return false;
    QString error;
    return detail::createAudioDriver(settings.get(), synth.get(), &error) != nullptr;
}

} // namespace

bool hasWaveOutput()
{
    std::lock_guard lock(g_mutex);
    if (g_override) return *g_override;
    if (!g_probed) g_probed = alsaHasCard() && audioDriverOpens();
    return *g_probed;
}

void setWaveOutputOverride(std::optional<bool> present)
{
    std::lock_guard lock(g_mutex);
    g_override = present;
}

} // namespace sound
