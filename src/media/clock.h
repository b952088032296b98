// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace tipsovo {

// Every blocking wait of the program goes through this object, so tests can run the waits
// instantly and see them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0; // monotonic
    virtual void sleepMs(qint64 ms) = 0; // blocks, handles no events
};

Clock &systemClock();

} // namespace tipsovo
