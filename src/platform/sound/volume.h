// The program's own output level for sound, as a wave volume word (low word left, high word right).
#pragma once

#include <cstdint>

namespace sound {

void setWaveVolume(uint32_t word);
uint32_t waveVolume();
// The level as a gain from 0.0 (silent) to 1.0, from the left channel.
double waveGain();

} // namespace sound
