#include "volume.h"

#include <atomic>
#include <map>
#include <mutex>

namespace sound {

namespace {
std::atomic<uint32_t> g_word{0xFFFFFFFFu};

// Observers run under the lock, so one being removed is never called afterwards.
std::mutex g_observersMutex;
std::map<int, std::function<void()>> g_observers;
int g_nextObserverId = 1;
} // namespace

void setWaveVolume(uint32_t word)
{
    g_word = word;
    std::lock_guard lock(g_observersMutex);
    for (const auto& [id, observer] : g_observers)
        observer();
}

uint32_t waveVolume()
{
    return g_word;
}

double waveGain()
{
    return double(g_word.load() & 0xFFFFu) / 65535.0;
}

int addWaveVolumeObserver(std::function<void()> observer)
{
    std::lock_guard lock(g_observersMutex);
    const int id = g_nextObserverId++;
    g_observers.emplace(id, std::move(observer));
    return id;
}

void removeWaveVolumeObserver(int id)
{
    std::lock_guard lock(g_observersMutex);
    g_observers.erase(id);
}

} // namespace sound
