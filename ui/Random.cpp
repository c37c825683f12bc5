#include "ui/Random.h"

#include <QDateTime>

namespace ui {

namespace {
std::optional<quint32>& fixedSeed()
{
    static std::optional<quint32> seed;
    return seed;
}
}  // namespace

std::mt19937& Random::engine()
{
    static std::mt19937 e(quint32(QDateTime::currentMSecsSinceEpoch()));
    return e;
}

void Random::seedFromClock()
{
    if (fixedSeed()) {
        engine().seed(*fixedSeed());
        return;
    }
    // Two seedings within one millisecond must not replay the same numbers, so the clock is mixed into
    // the running state rather than replacing it.
    std::seed_seq seq{quint32(QDateTime::currentMSecsSinceEpoch()), quint32(engine()())};
    engine().seed(seq);
}

double Random::next()
{
    // 53 random bits, so every value is exact and strictly below 1 (generate_canonical may round up to 1).
    const quint32 high = engine()() >> 5;
    const quint32 low = engine()() >> 6;
    return (high * 67108864.0 + low) / 9007199254740992.0;
}

void Random::setFixedSeed(std::optional<quint32> seed)
{
    fixedSeed() = seed;
    if (seed)
        engine().seed(*seed);
}

}  // namespace ui
