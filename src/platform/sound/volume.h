// The program's own output level for sound, as a wave volume word (low word left, high word right).
#pragma once

#include <cstdint>
#include <functional>

namespace sound {

void setWaveVolume(uint32_t word);
uint32_t waveVolume();
// The level as a gain from 0.0 (silent) to 1.0, from the left channel.
double waveGain();

// Called after every change of the level, on the thread that changed it. An observer must not add or
// remove observers from inside the call. Returns an id for removeWaveVolumeObserver.
int addWaveVolumeObserver(std::function<void()> observer);
void removeWaveVolumeObserver(int id);

} // namespace sound
