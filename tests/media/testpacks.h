// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builders for the WAVE and bitmap data the media tests feed in.

#include <QByteArray>
#include <QList>
#include <QtEndian>

namespace testdata {

inline void put16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

inline void put32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

inline QByteArray chunk(const char *id, const QByteArray &body, quint32 declared)
{
    QByteArray c(id, 4);
    put32(c, declared);
    c.append(body);
    return c;
}

inline QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = chunk(id, body, quint32(body.size()));
    if (body.size() % 2)
        c.append('\0'); // pad byte
    return c;
}

inline QByteArray fmtBody(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    QByteArray f;
    put16(f, format);
    put16(f, channels);
    put32(f, rate);
    put32(f, rate * channels * bits / 8);
    put16(f, quint16(channels * bits / 8));
    put16(f, bits);
    return f;
}

inline QByteArray riff(const QByteArray &chunks, quint32 declared)
{
    QByteArray w("RIFF");
    put32(w, declared);
    w.append("WAVE");
    w.append(chunks);
    return w;
}

inline QByteArray riff(const QByteArray &chunks) { return riff(chunks, quint32(4 + chunks.size())); }

inline QByteArray wave(quint16 channels, quint32 rate, quint16 bits, const QByteArray &samples)
{
    return riff(chunk("fmt ", fmtBody(1, channels, rate, bits)) + chunk("data", samples));
}

// A BITMAPINFOHEADER (40 bytes).
inline QByteArray infoHeader(qint32 width, qint32 height, quint16 bits, quint32 compression = 0,
                             quint32 clrUsed = 0)
{
    QByteArray h;
    put32(h, 40);
    put32(h, quint32(width));
    put32(h, quint32(height));
    put16(h, 1);
    put16(h, bits);
    put32(h, compression);
    put32(h, 0);    // image size
    put32(h, 2835); // 72 dpi
    put32(h, 2835);
    put32(h, clrUsed);
    put32(h, 0);
    return h;
}

// Appends a colour-table entry (B, G, R, 0).
inline void putQuad(QByteArray &b, quint8 r, quint8 g, quint8 bl)
{
    b.append(char(bl));
    b.append(char(g));
    b.append(char(r));
    b.append('\0');
}

} // namespace testdata
