// SPDX-License-Identifier: GPL-3.0-or-later
// Small inputs for the pack tests: WAVE and BMP files made on the spot, and a map of where the
// fields of a pack lie, so a test can damage exactly the one it means to.
#pragma once

#include "media/resourcepack.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

namespace packtest {

// A mono 8 kHz 16-bit PCM WAVE file whose samples are all `fill`.
inline QByteArray waveFile(int samples, char fill = '\x11')
{
    const QByteArray pcm(samples * 2, fill);
    QByteArray out("RIFF....WAVEfmt ");
    qToLittleEndian<quint32>(quint32(36 + pcm.size()), out.data() + 4);
    auto add16 = [&out](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto add32 = [&](quint32 v) { add16(quint16(v & 0xFFFF)); add16(quint16(v >> 16)); };
    add32(16);
    add16(1);     // PCM
    add16(1);     // mono
    add32(8000);  // sample rate
    add32(16000); // bytes per second
    add16(2);     // block align
    add16(16);    // bits per sample
    out.append("data");
    add32(quint32(pcm.size()));
    return out + pcm;
}

// A small picture with distinct pixels, so a lost row or a swapped channel shows.
inline QImage testImage(int w = 5, int h = 3)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(40 * x, 70 * y, 255 - 30 * x));
    }
    return image;
}

inline QByteArray bmpFile(const QImage &image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return buffer.data();
}

inline quint32 get32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
inline void set32(QByteArray &b, qsizetype at, quint32 v)
{
    qToLittleEndian<quint32>(v, b.data() + at);
}
inline void set16(QByteArray &b, qsizetype at, quint16 v)
{
    qToLittleEndian<quint16>(v, b.data() + at);
}

// File offsets of the fields of a single-section pack, read from the pack itself.
struct PackMap {
    explicit PackMap(const QByteArray &b) : bytes(b)
    {
        pe = get32(b, 0x3C);
        opt = pe + 24;
        section = opt + qFromLittleEndian<quint16>(b.constData() + pe + 20);
        root = get32(b, section + 20);
    }
    qsizetype dataDirectory(int i) const { return opt + 96 + 8 * i; }
    qsizetype typeEntry(int t) const { return root + 16 + 8 * t; }
    quint32 nameDirRel(int t) const { return get32(bytes, typeEntry(t) + 4) & 0x7FFFFFFF; }
    qsizetype nameDir(int t) const { return root + nameDirRel(t); }
    qsizetype nameEntry(int t, int i) const { return nameDir(t) + 16 + 8 * i; }
    qsizetype nameString(int t, int i) const
    {
        return root + (get32(bytes, nameEntry(t, i)) & 0x7FFFFFFF);
    }
    qsizetype langDir(int t, int i) const
    {
        return root + (get32(bytes, nameEntry(t, i) + 4) & 0x7FFFFFFF);
    }
    qsizetype dataEntry(int t, int i) const { return root + get32(bytes, langDir(t, i) + 20); }

    QByteArray bytes;
    qsizetype pe = 0, opt = 0, section = 0, root = 0;
};

// The bytes of a resource, or a marker that cannot be mistaken for them when it is missing.
inline QByteArray bytesOf(const tipsovo::ResourcePack &pack, tipsovo::ResourceKind kind,
                          const QString &name)
{
    const auto data = pack.find(kind, name);
    return data ? data->toByteArray() : QByteArray("<missing>");
}

// What every pack that opens must satisfy: each listed resource is found, and its bytes lie
// inside the buffer the pack was made from.
inline bool consistent(const tipsovo::ResourcePack &pack, QByteArrayView buffer)
{
    for (const tipsovo::ResourceEntry &e : pack.entries()) {
        const auto data = pack.find(e.kind, e.name);
        if (!data || data->size() < 0)
            return false;
        if (data->size() > 0 && (data->constData() < buffer.constData()
                                 || data->constData() + data->size()
                                        > buffer.constData() + buffer.size()))
            return false;
    }
    return true;
}

} // namespace packtest
