// The program's clock and random numbers, replaceable so that tests can fix them.
#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

namespace platform {

// Today's date and the current local time.
QDate today();
QDateTime now();
// Milliseconds from a steady clock (for elapsed-time counters).
qint64 steadyMs();

struct ClockSource {
    std::function<QDateTime()> now;
    std::function<qint64()> steadyMs;
};
// Installs a clock; an empty source restores the system clock.
void setClockSource(ClockSource source);

// A whole number drawn uniformly from [low, high].
int randomBetween(int low, int high);
// Installs a generator returning a value in [low, high]; empty restores the default
// generator, which is seeded from the clock.
void setRandomSource(std::function<int(int low, int high)> source);

} // namespace platform
