// Whether this machine can play sound at all.
#pragma once

#include <optional>

namespace sound {

// True when ALSA lists at least one sound card and an audio driver can be opened on it. Probed once,
// on the first call; later calls return the cached answer.
bool hasWaveOutput();

// Forces the answer of hasWaveOutput (for tests); std::nullopt goes back to the probed answer.
void setWaveOutputOverride(std::optional<bool> present);

} // namespace sound
