// SPDX-License-Identifier: GPL-3.0-or-later
// A WAVE that decodes is one the sound output can play: 8- or 16-bit PCM, one or two channels,
// a rate the devices take, whole frames, samples that came from the input.
#include "feeds.h"

#include "media/wave.h"

namespace tipsovo::fuzz {

QString feedWave(QByteArrayView input)
{
    PcmSound sound;
    if (!decodeWave(input, &sound))
        return {};
    if (sound.channels < 1 || sound.channels > 2)
        return QStringLiteral("%1 channels").arg(sound.channels);
    if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
        return QStringLiteral("%1 bits per sample").arg(sound.bitsPerSample);
    if (sound.sampleRate < 1000 || sound.sampleRate > 192000)
        return QStringLiteral("rate %1").arg(sound.sampleRate);
    const int frame = sound.channels * sound.bitsPerSample / 8;
    if (sound.samples.size() % frame != 0)
        return QStringLiteral("a part of a frame");
    if (sound.samples.size() > input.size())
        return QStringLiteral("more samples than bytes");
    if (!sound.samples.isEmpty() && input.indexOf(QByteArrayView(sound.samples)) < 0)
        return QStringLiteral("samples not taken from the input");
    if (sound.durationMs() < 0)
        return QStringLiteral("negative length");
    return {};
}

} // namespace tipsovo::fuzz
