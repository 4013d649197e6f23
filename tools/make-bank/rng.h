// A small deterministic random generator: the same seed gives the same bank everywhere.
#pragma once

#include <iterator>
#include <QtGlobal>
#include <utility>

namespace makebank {

class Rng {
public:
    explicit Rng(quint64 seed) : state_(seed) {}

    // splitmix64: portable and fully specified, unlike the standard distributions.
    quint64 next()
    {
        quint64 z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }

    template <class Container> void shuffle(Container& c)
    {
        for (int i = int(c.size()) - 1; i > 0; --i)
            std::swap(c[i], c[below(i + 1)]);
    }
    template <class Container> const auto& pick(const Container& c) { return c[below(int(std::size(c)))]; }

private:
    quint64 state_;
};

} // namespace makebank
