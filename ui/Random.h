#pragma once

#include <QtGlobal>

#include <optional>
#include <random>

namespace ui {

// Uniform random numbers in [0, 1), seeded from the clock. Quiz code draws only from here, so that a
// test can fix the seed and replay a page.
class Random {
public:
    static void seedFromClock();  // the clock's seed, or the test's fixed seed when one is set
    static double next();

    static void setFixedSeed(std::optional<quint32> seed);  // for tests

private:
    static std::mt19937& engine();
};

}  // namespace ui
