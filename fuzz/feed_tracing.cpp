// SPDX-License-Identifier: GPL-3.0-or-later
// A tracing sheet from the pack "Grafomotorika" as the follow-lines screen uses it: decoded,
// stretched over the drawing area, then drawn on. The area keeps its size whatever the picture
// is; where the red pen passes, every pixel becomes the AND of red and what was there.
// The input: a length-prefixed part of pen strokes, then the sheet's bitmap resource.
#include "feeds.h"

#include "activities/drawing/tracingsheet.h"
#include "media/bitmap.h"

#include <QtEndian>

namespace tipsovo::fuzz {

QString feedTracing(QByteArrayView input)
{
    const TwoParts parts = splitTwo(input);
    const QByteArrayView strokes = parts.first;
    QImage picture;
    decodeBitmapResource(parts.rest, &picture);

    const QSize area(593, 400);
    const QColor navy(0, 0, 128);
    TracingSheet sheet(area, navy);
    sheet.showSheet(picture);
    if (sheet.image().size() != area)
        return QStringLiteral("the drawing area became %1 x %2")
            .arg(sheet.image().width()).arg(sheet.image().height());
    if (picture.isNull() && sheet.image().pixel(0, 0) != navy.rgb())
        return QStringLiteral("an empty sheet shows something");

    sheet.setPenWidth(strokes.isEmpty() || quint8(strokes[0]) % 2 ? 10 : 5);
    for (qsizetype i = 1; i + 3 < strokes.size() && i < 64; i += 4) {
        const QPoint at(qFromLittleEndian<quint16>(strokes.data() + i) % 700 - 50,
                        qFromLittleEndian<quint16>(strokes.data() + i + 2) % 500 - 50);
        // A move that stays on the pen's own pixel (a sub-pixel move) draws nothing, and
        // needs not: that pixel was drawn by the segment that ended there.
        const bool inside = QRect(QPoint(0, 0), area).contains(at) && at != sheet.penPosition();
        const QRgb before = inside ? sheet.image().pixel(at) : 0;
        if (i == 1)
            sheet.penDown(at);
        else
            sheet.lineTo(at);
        if (inside && i > 1) {
            const QRgb after = sheet.image().pixel(at);
            if (qRed(after) != qRed(before) || qGreen(after) != 0 || qBlue(after) != 0)
                return QStringLiteral("the pen left %1 over %2").arg(after, 8, 16).arg(before, 8, 16);
        }
    }
    return {};
}

} // namespace tipsovo::fuzz
