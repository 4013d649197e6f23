#include "volume.h"

#include <atomic>

namespace sound {

namespace {
std::atomic<uint32_t> g_word{0xFFFFFFFFu};
}

void setWaveVolume(uint32_t word) { g_word = word; }

uint32_t waveVolume() { return g_word; }

double waveGain() { return double(g_word.load() & 0xFFFFu) / 65535.0; }

} // namespace sound
