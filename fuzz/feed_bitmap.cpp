// SPDX-License-Identifier: GPL-3.0-or-later
// A bitmap that decodes has the size its header gives, and an uncompressed 8-bit or true-colour
// one shows its own first pixel (read here straight from the bytes) at the top left: no other
// picture, no picture shifted by a wrongly found pixel start.
#include "feeds.h"

#include "media/bitmap.h"

#include <QtEndian>

#include <cstdlib>
#include <optional>

namespace tipsovo::fuzz {

namespace {

quint32 u32(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint32>(b.data() + at); }
quint16 u16(QByteArrayView b, qsizetype at) { return qFromLittleEndian<quint16>(b.data() + at); }

// The top-left pixel of an uncompressed 8-, 24- or 32-bit DIB with a 40-byte header, or
// nothing when the header is another kind.
std::optional<QRgb> topLeft(QByteArrayView dib)
{
    if (dib.size() < 40 || u32(dib, 0) != 40 || u32(dib, 16) != 0)
        return std::nullopt;
    const qint64 width = qint32(u32(dib, 4));
    const qint64 height = qint32(u32(dib, 8));
    const int bits = u16(dib, 14);
    const quint32 used = u32(dib, 32);
    const qint64 colours = bits <= 8 ? (used ? used : (qint64(1) << bits)) : used;
    const qint64 pixels = 40 + colours * 4;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    // Bottom-up unless the height is negative: the top row is the last one stored.
    const qint64 row = height > 0 ? pixels + (height - 1) * rowBytes : pixels;
    if (row + 4 > dib.size())
        return std::nullopt;
    const auto *p = reinterpret_cast<const uchar *>(dib.data() + row);
    switch (bits) {
    case 8: {
        if (p[0] >= colours)
            return std::nullopt; // an index past the table: any colour will do
        const auto *c = reinterpret_cast<const uchar *>(dib.data() + 40 + 4 * p[0]);
        return qRgb(c[2], c[1], c[0]);
    }
    case 24:
    case 32:
        return qRgb(p[2], p[1], p[0]);
    default:
        return std::nullopt;
    }
}

} // namespace

QString feedBitmap(QByteArrayView input)
{
    QImage image;
    if (!decodeBitmapResource(input, &image))
        return {};
    if (image.isNull())
        return QStringLiteral("decoded to nothing");
    const bool core = u32(input, 0) == 12;
    const qint64 width = core ? u16(input, 4) : qint32(u32(input, 4));
    const qint64 height = core ? u16(input, 6) : qint32(u32(input, 8));
    if (image.width() != width || image.height() != std::abs(height))
        return QStringLiteral("%1 x %2 decoded as %3 x %4")
            .arg(width).arg(height).arg(image.width()).arg(image.height());
    if (const auto expected = topLeft(input)) {
        const QRgb got = image.pixel(0, 0);
        if (qRed(got) != qRed(*expected) || qGreen(got) != qGreen(*expected)
            || qBlue(got) != qBlue(*expected))
            return QStringLiteral("top-left pixel %1 instead of %2")
                .arg(got, 8, 16).arg(*expected, 8, 16);
    }
    // What the screens do with a picture before they show it.
    const QImage shown = image.convertToFormat(QImage::Format_RGB32);
    if (shown.size() != image.size())
        return QStringLiteral("lost in conversion");
    return {};
}

} // namespace tipsovo::fuzz
