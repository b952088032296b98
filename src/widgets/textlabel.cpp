// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/textlabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTransform>
#include <cmath>

namespace tipsovo {

TExtendedLabel::TExtendedLabel(QWidget *parent) : QWidget(parent)
{
    QFont f = font();
    f.setFamily(QStringLiteral("Arial"));
    setFont(f); // measures through changeEvent
    measure();
}

void TExtendedLabel::setCaption(const QString &caption)
{
    m_caption = caption;
    measure();
}

QColor TExtendedLabel::fontColor() const { return palette().color(QPalette::WindowText); }

void TExtendedLabel::setFontColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p); // measures again through changeEvent
}

void TExtendedLabel::setAngle(int tenthsOfDegree)
{
    m_angle = ((tenthsOfDegree % 3600) + 3600) % 3600;
    measure();
}

void TExtendedLabel::setAlignment(Alignment alignment)
{
    m_alignment = alignment;
    applyXPosition();
}

void TExtendedLabel::setXPosition(int x)
{
    m_xPosition = x;
    applyXPosition();
}

void TExtendedLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    measure();
}

void TExtendedLabel::setTransparent(bool on)
{
    m_transparent = on;
    update();
}

void TExtendedLabel::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void TExtendedLabel::setBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, width, height);
    if (m_angle != 0)
        m_xPosition = left;
    else if (m_alignment == AlignRight)
        m_xPosition = left + width;
    else if (m_alignment == AlignCenter)
        m_xPosition = left + width / 2;
    else
        m_xPosition = left;
}

void TExtendedLabel::applyXPosition()
{
    int left = m_xPosition;
    // Without autoSize the label keeps its own width, so that is what it anchors.
    const int w = m_autoSize ? m_textWidth : width();
    if (m_angle == 0) {
        if (m_alignment == AlignRight)
            left = m_xPosition - w;
        else if (m_alignment == AlignCenter)
            left = m_xPosition - w / 2;
    }
    move(left, y());
}

void TExtendedLabel::measure()
{
    if (m_measuring)
        return;
    m_measuring = true;
    m_pieces = parseMarkup(m_caption, font(), fontColor());
    const MarkupSize size = measureMarkup(m_pieces, font());
    m_textWidth = size.width;
    m_textHeight = size.height;

    // The box of the turned text: the corners of the unturned box, turned about the origin.
    const QRect box(0, 0, m_textWidth, m_textHeight);
    QTransform turn;
    turn.rotate(-m_angle / 10.0);
    const QRect turned = turn.mapRect(QRectF(box)).toAlignedRect();
    if (m_angle == 0) {
        m_origin = QPoint(0, 0);
    } else {
        m_origin = -turned.topLeft();
    }
    if (m_autoSize)
        resize(m_angle == 0 ? box.size() : turned.size());
    applyXPosition();
    m_measuring = false;
    update();
}

void TExtendedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_color);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(m_origin);
    if (m_angle != 0)
        painter.rotate(-m_angle / 10.0);
    drawMarkup(painter, m_pieces, font());
}

void TExtendedLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        measure();
    QWidget::changeEvent(event);
}

void TExtendedLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TExtendedLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

} // namespace tipsovo
