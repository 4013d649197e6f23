#include "clock.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

namespace platform {

namespace {

ClockSource& clock()
{
    static ClockSource source;
    return source;
}

std::function<int(int, int)>& random()
{
    static std::function<int(int, int)> source;
    return source;
}

} // namespace

QDateTime now()
{
    return clock().now ? clock().now() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

qint64 steadyMs()
{
    if (clock().steadyMs) return clock().steadyMs();
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void setClockSource(ClockSource source)
{
    clock() = std::move(source);
}

int randomBetween(int low, int high)
{
    if (high < low) std::swap(low, high);
    if (random()) return random()(low, high);
    static QRandomGenerator generator(quint32(QDateTime::currentMSecsSinceEpoch()));
    return low + int(generator.bounded(quint32(high - low) + 1u));
}

void setRandomSource(std::function<int(int, int)> source)
{
    random() = std::move(source);
}

} // namespace platform
