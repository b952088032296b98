// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tipsovo {

// PCM audio as decoded from a WAVE resource.
struct PcmSound {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0; // 8 or 16
    QByteArray samples;
    qint64 durationMs() const;
};

// Decodes RIFF WAVE PCM data. Chunk sizes are clamped to the data actually present (espeak-ng
// writes a placeholder size when it streams); anything but 8/16-bit PCM is rejected.
bool decodeWave(QByteArrayView bytes, PcmSound *out);

} // namespace tipsovo
