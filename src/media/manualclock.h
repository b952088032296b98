// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/clock.h"

#include <QList>
#include <numeric>

namespace tipsovo {

// A clock for tests: time stands still until someone sleeps or advances it; a sleep returns at
// once, moves the time on and is remembered, so a test can assert how long a wait lasted.
class ManualClock final : public Clock {
public:
    explicit ManualClock(qint64 startMs = 0) : m_now(startMs) {}

    qint64 nowMs() const override { return m_now; }
    void sleepMs(qint64 ms) override
    {
        m_sleeps.append(ms);
        if (ms > 0)
            m_now += ms;
    }

    // Time passing without anybody waiting (the user resting, the event loop running).
    void advance(qint64 ms) { m_now += ms; }

    const QList<qint64> &sleeps() const { return m_sleeps; }
    qint64 totalSleptMs() const
    {
        return std::accumulate(m_sleeps.begin(), m_sleeps.end(), qint64(0),
                               [](qint64 sum, qint64 ms) { return sum + (ms > 0 ? ms : 0); });
    }
    void clearSleeps() { m_sleeps.clear(); }

private:
    qint64 m_now;
    QList<qint64> m_sleeps;
};

} // namespace tipsovo
