// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/wave.h"

#include <QtEndian>

#include <algorithm>

namespace tipsovo {

qint64 PcmSound::durationMs() const
{
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    if (bytesPerSecond <= 0)
        return 0;
    // Rounded up, so a sound of a few samples still counts as playing for a moment.
    return (qint64(samples.size()) * 1000 + bytesPerSecond - 1) / bytesPerSecond;
}

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 192000;

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

} // namespace

bool decodeWave(QByteArrayView bytes, PcmSound *out)
{
    const qsizetype total = bytes.size();
    if (total < 12 || bytes.first(4) != "RIFF" || bytes.sliced(8, 4) != "WAVE")
        return false;
    // The RIFF size is not trusted at all (streaming writers leave a placeholder, others get it
    // wrong): the chunks are walked over the bytes present.
    const qsizetype riffEnd = total;

    bool haveFmt = false;
    PcmSound sound;
    QByteArrayView data;
    bool haveData = false;

    qsizetype pos = 12;
    while (pos + 8 <= riffEnd) {
        const QByteArrayView id = bytes.sliced(pos, 4);
        const qsizetype declared = qsizetype(le32(bytes.data() + pos + 4));
        const qsizetype body = pos + 8;
        const qsizetype size = std::min(declared, riffEnd - body);
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const char *f = bytes.data() + body;
            quint16 format = le16(f);
            if (format == kFormatExtensible) {
                // WAVEFORMATEXTENSIBLE: cbSize >= 22 and the sub-format GUID begins with the
                // plain format code.
                if (size < 40 || le16(f + 16) < 22)
                    return false;
                format = le16(f + 24);
                static const char kGuidTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
                if (QByteArrayView(f + 26, 14) != QByteArrayView(kGuidTail, 14))
                    return false;
            }
            if (format != kFormatPcm)
                return false;
            sound.channels = le16(f + 2);
            const quint32 rate = le32(f + 4);
            const quint16 blockAlign = le16(f + 12);
            sound.bitsPerSample = le16(f + 14);
            if (sound.channels < 1 || sound.channels > 2)
                return false;
            if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
                return false;
            if (rate < quint32(kMinRate) || rate > quint32(kMaxRate))
                return false;
            sound.sampleRate = int(rate);
            if (blockAlign != sound.channels * sound.bitsPerSample / 8)
                return false;
            haveFmt = true;
        } else if (id == "data" && !haveData) {
            data = bytes.sliced(body, size);
            haveData = true;
        }
        // Chunks are padded to an even length.
        pos = body + size + (size & 1);
    }
    if (!haveFmt || !haveData)
        return false;
    const int frame = sound.channels * sound.bitsPerSample / 8;
    // A truncated last frame is dropped rather than played as noise.
    sound.samples = data.first(data.size() - data.size() % frame).toByteArray();
    if (out)
        *out = std::move(sound);
    return true;
}

} // namespace tipsovo
