// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/bitmap.h"

#include <QtEndian>

#include <cstdlib>

namespace tipsovo {

namespace {

constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiRle8 = 1;
constexpr quint32 kBiRle4 = 2;
constexpr quint32 kBiBitfields = 3;
// A run of two bytes gives at most 255 pixels: more pixels than that per byte of data is a
// header that lies, and decoding it would fill a huge picture from a few bytes.
constexpr qint64 kRlePixelsPerByte = 128;
constexpr quint32 kBiAlphaBitfields = 6;
constexpr qint64 kMaxSide = 16384;

} // namespace

bool decodeBitmapResource(QByteArrayView dib, QImage *out)
{
    const qsizetype size = dib.size();
    if (size < 12)
        return false;
    const char *d = dib.data();
    const quint32 headerSize = qFromLittleEndian<quint32>(d);
    if (headerSize > quint32(size))
        return false;

    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = kBiRgb;
    qint64 colours = 0;
    int entrySize = 4;
    qint64 masks = 0;
    if (headerSize == 12) { // BITMAPCOREHEADER
        width = qFromLittleEndian<quint16>(d + 4);
        height = qFromLittleEndian<quint16>(d + 6);
        bitCount = qFromLittleEndian<quint16>(d + 10);
        colours = bitCount <= 8 ? (qint64(1) << bitCount) : 0;
        entrySize = 3;
    } else if (headerSize >= 40) {
        width = qFromLittleEndian<qint32>(d + 4);
        height = qFromLittleEndian<qint32>(d + 8);
        bitCount = qFromLittleEndian<quint16>(d + 14);
        compression = qFromLittleEndian<quint32>(d + 16);
        const quint32 used = qFromLittleEndian<quint32>(d + 32);
        if (bitCount <= 8) {
            if (used > (quint32(1) << bitCount))
                return false;
            colours = used ? used : (qint64(1) << bitCount);
        } else {
            colours = used; // an optional table before the pixels
        }
        if (headerSize == 40 && compression == kBiBitfields)
            masks = 12;
        else if (headerSize == 40 && compression == kBiAlphaBitfields)
            masks = 16;
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || width > kMaxSide || std::abs(height) > kMaxSide)
        return false;
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }

    const qint64 pixelStart = qint64(headerSize) + masks + colours * entrySize;
    if (pixelStart > size)
        return false;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
        if (rowBytes * std::abs(height) > size - pixelStart)
            return false; // truncated pixels
    } else if (compression == kBiRle8 || compression == kBiRle4) {
        if (width * std::abs(height) > (size - pixelStart) * kRlePixelsPerByte)
            return false;
    }

    // The 14-byte file header a bitmap resource lacks; its sizes are filled in correctly.
    QByteArray file;
    file.reserve(14 + size);
    file.append("BM", 2);
    char field[4];
    qToLittleEndian<quint32>(quint32(14 + size), field);
    file.append(field, 4);
    file.append(4, '\0'); // reserved
    qToLittleEndian<quint32>(quint32(14 + pixelStart), field);
    file.append(field, 4);
    file.append(d, size);

    QImage image;
    if (!image.loadFromData(file, "BMP") || image.isNull())
        return false;
    if (out)
        *out = std::move(image);
    return true;
}

} // namespace tipsovo
