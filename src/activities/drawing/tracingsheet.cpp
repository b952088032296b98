// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/drawing/tracingsheet.h"

#include <QPainter>
#include <QPen>

namespace tipsovo {

TracingSheet::TracingSheet(QSize size, QColor ground)
    : m_image(size, QImage::Format_RGB32), m_ground(ground)
{
    m_image.fill(ground);
}

void TracingSheet::showSheet(const QImage &sheet)
{
    m_image.fill(m_ground);
    if (sheet.isNull())
        return; // an empty picture leaves the bare ground, as an empty thumbnail shows
    QPainter p(&m_image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(m_image.rect(), sheet);
}

void TracingSheet::lineTo(QPoint to)
{
    QPainter p(&m_image);
    // Raster operations draw without antialiasing: every pixel under the pen is ANDed once.
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.setPen(QPen(QColor(255, 0, 0), m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(m_pen, to);
    m_pen = to;
}

} // namespace tipsovo
