// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/drawing/tracingcanvas.h"

#include <QMouseEvent>
#include <QPainter>

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

TracingCanvas::TracingCanvas(QSize size, QColor ground, QWidget *parent)
    : QWidget(parent), m_sheet(size, ground)
{
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TracingCanvas::paintEvent(QPaintEvent *e)
{
    if (m_narisiPrvo) {
        m_narisiPrvo = false;
        if (m_firstSheet)
            m_sheet.showSheet(m_firstSheet());
    }
    QPainter p(this);
    p.drawImage(e->rect(), m_sheet.image(), e->rect());
}

void TracingCanvas::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_drawing = true;
    m_sheet.penDown(e->position().toPoint());
}

void TracingCanvas::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton) || !m_drawing)
        return;
    const QPoint from = m_sheet.penPosition(), to = e->position().toPoint();
    m_sheet.lineTo(to);
    const int r = m_sheet.penWidth() / 2 + 2;
    update(QRect(from, to).normalized().adjusted(-r, -r, r, r));
}

} // namespace tipsovo
