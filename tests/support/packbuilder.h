// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small packs for screen tests, written with the program's own pack writer.

#include "media/resourcepack.h"
#include "media/slovenian.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QImage>

namespace tipsovo::test {

// A picture as a bitmap resource stores it: the BMP file without its 14-byte header.
inline QByteArray dibOf(const QImage &image)
{
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "BMP");
    return bmp.mid(14);
}

inline QByteArray solidDib(QSize size, QColor colour)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    return dibOf(img);
}

// A fixed-column data line: field 1 in columns 1–20, field 2 in 22–41, field 3 in 44–48.
inline QString dataLine(const QString &f1, const QString &f2, const QString &f3 = {})
{
    QString line = f1.leftJustified(20, QLatin1Char(' '), true) + QLatin1Char(' ')
                   + f2.leftJustified(20, QLatin1Char(' '), true);
    if (!f3.isEmpty())
        line += QStringLiteral("  ") + f3.left(5);
    return line;
}

inline bool writePack(const QString &dir, const QString &base, const ResourcePackWriter &w)
{
    return w.write(QDir(dir).filePath(base + QStringLiteral(".ipo")));
}

} // namespace tipsovo::test
