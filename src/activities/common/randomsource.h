// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRandomGenerator>

namespace tipsovo {

// Each screen's own random source, seeded from the clock when the screen is created so every
// opening differs; tests seed it to replay a screen.
class RandomSource {
public:
    RandomSource();
    explicit RandomSource(quint32 seed) : m_gen(seed) {}
    void seed(quint32 seed) { m_gen.seed(seed); }

    // A uniform integer from 0 to n − 1 (0 when n < 1).
    int Random(int n);

    // The numbers 1..n in random order, drawn as the screens always shuffle their places:
    // draw Random(n) + 1 and keep each number not yet taken.
    QList<int> shuffledPlaces(int n);

private:
    QRandomGenerator m_gen;
};

} // namespace tipsovo
