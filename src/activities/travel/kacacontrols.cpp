// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/travel/kacacontrols.h"

#include "activities/travel/kacaboard.h"
#include "activities/travel/kacamodel.h"
#include "widgets/controls.h"
#include "widgets/smoothpictures.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tipsovo::kaca {

PaintBox::PaintBox(const KacaBoard &board, QWidget *parent) : QWidget(parent), m_board(board)
{
    setObjectName(QStringLiteral("PaintBox"));
    setAccessibleName(QStringLiteral("Zemljevid"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    smoothWhenScaled(p);
    for (const QRect &r : e->region())
        p.drawImage(r.topLeft(), m_board.map(), r);
}

Marker::Marker(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("shpMesto"));
    setAccessibleName(QStringLiteral("Mesto"));
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    resize(15, 15);
}

void Marker::setFill(const QColor &c)
{
    m_fill = c;
    repaint();
}

void Marker::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    smoothWhenScaled(p);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 1.5));
    p.setBrush(m_fill);
    p.drawEllipse(QRectF(0.75, 0.75, width() - 1.5, height() - 1.5));
}

void Marker::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && pressed)
        pressed();
}

SpeedDial::SpeedDial(KacaModel &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("pbHitrost"));
    setAccessibleName(QStringLiteral("Hitrost"));
    for (int i = 0; i < 5; ++i)
        m_pictures[i] = programPicture(QStringLiteral("hitrost-%1").arg(i + 1), QSize(84, 52));
}

void SpeedDial::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    smoothWhenScaled(p);
    p.drawPixmap(0, 0, m_pictures[m_model.dialPicture()]);
}

void SpeedDial::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_model.slower();
    else if (e->button() == Qt::RightButton)
        m_model.faster();
    else
        return;
    update();
    if (changed)
        changed();
}

} // namespace tipsovo::kaca
