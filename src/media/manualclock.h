// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/clock.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <numeric>

namespace tipsovo {

// A clock for tests: time stands still until someone sleeps or advances it; a sleep returns at
// once, moves the time on and is remembered, so a test can assert how long a wait lasted.
// Calls asked for with callAfter run when advance() passes their time, each at its own time
// and in order, as the event loop would run them; a sleep runs none (it handles no events).
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
    void callAfter(qint64 ms, QObject *context, std::function<void()> what) override
    {
        m_calls.append({m_now + std::max<qint64>(0, ms), m_nextCall++, context, std::move(what)});
    }

    // Time passing without anybody waiting (the user resting, the event loop running).
    void advance(qint64 ms)
    {
        const qint64 until = m_now + std::max<qint64>(0, ms);
        for (;;) {
            qsizetype next = -1;
            for (qsizetype i = 0; i < m_calls.size(); ++i)
                if (m_calls[i].atMs <= until
                    && (next < 0 || m_calls[i].atMs < m_calls[next].atMs
                        || (m_calls[i].atMs == m_calls[next].atMs
                            && m_calls[i].order < m_calls[next].order)))
                    next = i;
            if (next < 0)
                break;
            Call call = m_calls.takeAt(next);
            m_now = std::max(m_now, call.atMs);
            if (call.context)
                call.what();
        }
        m_now = until;
    }
    // Advances until no call is waiting any more (at most `limitMs`).
    void runPending(qint64 limitMs = 60000)
    {
        const qint64 until = m_now + limitMs;
        while (!m_calls.isEmpty() && m_now < until) {
            qint64 first = m_calls.first().atMs;
            for (const Call &c : m_calls)
                first = std::min(first, c.atMs);
            advance(std::max<qint64>(0, std::min(first, until) - m_now));
        }
    }
    qsizetype pendingCalls() const { return m_calls.size(); }

    const QList<qint64> &sleeps() const { return m_sleeps; }
    qint64 totalSleptMs() const
    {
        return std::accumulate(m_sleeps.begin(), m_sleeps.end(), qint64(0),
                               [](qint64 sum, qint64 ms) { return sum + (ms > 0 ? ms : 0); });
    }
    void clearSleeps() { m_sleeps.clear(); }

private:
    struct Call {
        qint64 atMs;
        quint64 order;
        QPointer<QObject> context;
        std::function<void()> what;
    };
    qint64 m_now;
    QList<qint64> m_sleeps;
    QList<Call> m_calls;
    quint64 m_nextCall = 0;
};

} // namespace tipsovo
