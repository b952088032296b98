// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/odometerstrip.h"

#include <QPainter>

namespace tipsovo {

QImage odometerStrip(const QImage &given, const QString &fallbackPath)
{
    QImage strip = given.isNull() && !fallbackPath.isEmpty() ? QImage(fallbackPath) : given;
    if (strip.height() < OdometerModel::GlyphCount || strip.width() < 1) {
        // Without a strip the counter still has its size, in dark cells.
        strip = QImage(15, 20 * OdometerModel::GlyphCount, QImage::Format_RGB32);
        strip.fill(Qt::black);
    }
    return strip.convertToFormat(QImage::Format_RGB32);
}

void drawOdometerCells(QImage &output, const OdometerModel &model, const QImage &strip)
{
    const int glyphWidth = strip.width();
    QPainter painter(&output);
    for (int i = 0; i < model.digitCount(); ++i) {
        for (const OdometerModel::Copy &c : model.cellCopies(i))
            painter.drawImage(QPoint(i * glyphWidth, c.dstY), strip,
                              QRect(0, c.srcY, glyphWidth, c.height));
    }
}

} // namespace tipsovo
