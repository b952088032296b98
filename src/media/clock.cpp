// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/clock.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace tipsovo {

namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { m_timer.start(); }
    qint64 nowMs() const override { return m_timer.elapsed(); }
    void sleepMs(qint64 ms) override
    {
        if (ms > 0)
            QThread::msleep(static_cast<unsigned long>(ms));
    }
    void callAfter(qint64 ms, QObject *context, std::function<void()> what) override
    {
        QTimer::singleShot(std::chrono::milliseconds(std::max<qint64>(0, ms)), Qt::PreciseTimer,
                           context, std::move(what));
    }

private:
    QElapsedTimer m_timer;
};

} // namespace

Clock &systemClock()
{
    static SystemClock clock;
    return clock;
}

} // namespace tipsovo
