// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/drawing/tracingcanvas.h"
#include "widgets/smoothpictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace tipsovo {

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
    smoothWhenScaled(p);
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
