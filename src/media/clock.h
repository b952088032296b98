// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>

class QObject;

namespace tipsovo {

// Every blocking wait of the program goes through this object, and so do the timed steps of
// the waits that must not block, so tests can run them instantly and see them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0; // monotonic
    virtual void sleepMs(qint64 ms) = 0; // blocks, handles no events
    // Runs `what` once, `ms` from now, from the event loop; never once `context` is gone.
    virtual void callAfter(qint64 ms, QObject *context, std::function<void()> what) = 0;
};

Clock &systemClock();

} // namespace tipsovo
