// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/wave.h"

#include <memory>

namespace tipsovo {

// Where sounds go. At most one sound plays at a time: a request while one plays is refused,
// never queued and never interrupting.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts the sound in the background; false when refused (something plays) or when the
    // sound cannot start at all.
    virtual bool playAsync(const PcmSound &sound) = 0;
    // Plays the sound and returns when it has ended; does not interrupt a playing sound
    // (returns at once, false, when one plays).
    virtual bool playSync(const PcmSound &sound) = 0;
    virtual void stopAll() = 0;
    virtual bool isPlaying() const = 0;
    // What is left of the playing sound, in milliseconds (0 when none plays).
    virtual qint64 remainingMs() const = 0;
};

// The real output: QAudioSink on a thread of its own; when there is no device, a timer of the
// sound's length stands in for playback, so waits behave the same.
std::unique_ptr<SoundOutput> createSystemSoundOutput();

} // namespace tipsovo
