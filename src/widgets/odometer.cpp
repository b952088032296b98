// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/odometer.h"

#include "media/clock.h"
#include "widgets/odometerstrip.h"
#include "widgets/smoothpictures.h"

#include <QPainter>

namespace tipsovo {

TOdometer::TOdometer(QWidget *parent, Clock *clock) : TOdometer(QImage(), parent, clock) {}

TOdometer::TOdometer(const QImage &strip, QWidget *parent, Clock *clock)
    : QWidget(parent),
      m_model(odometerStrip(strip, digitsResource()).height() / OdometerModel::GlyphCount),
      m_strip(odometerStrip(strip, digitsResource())),
      m_clock(clock ? clock : &systemClock())
{
    m_glyphWidth = m_strip.width();
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        drawFrame();
        if (!m_model.advance())
            m_timer.stop();
    });
    resizeToCells();
    drawFrame();
}

TOdometer::BaseType TOdometer::baseType() const
{
    switch (m_model.base()) {
    case OdometerModel::Base::Binary:
        return btBinary;
    case OdometerModel::Base::Hexadecimal:
        return btHexadecimal;
    default:
        return btDecimal;
    }
}

void TOdometer::setBaseType(BaseType base)
{
    if (base == baseType())
        return;
    m_timer.stop();
    m_model.setBase(base == btBinary ? OdometerModel::Base::Binary
                    : base == btHexadecimal ? OdometerModel::Base::Hexadecimal
                                            : OdometerModel::Base::Decimal);
    drawFrame();
}

void TOdometer::setDigitCount(int count)
{
    if (count < 1 || count > 32 || count == m_model.digitCount())
        return;
    m_timer.stop();
    m_model.setDigitCount(count);
    resizeToCells();
    drawFrame();
}

void TOdometer::setFrameInterval(int ms) { m_timer.setInterval(qBound(1, ms, 255)); }

void TOdometer::setValue(quint32 value)
{
    const quint32 now = m_model.value();
    if (now < m_model.limit() && value == now + 1) {
        increment();
    } else if (now != 0 && value == now - 1) {
        decrement();
    } else {
        m_timer.stop();
        m_model.setValueAtOnce(value);
        drawFrame();
    }
}

void TOdometer::increment()
{
    m_timer.stop();
    m_model.increment();
    roll();
}

void TOdometer::decrement()
{
    m_timer.stop();
    m_model.decrement();
    roll();
}

void TOdometer::roll()
{
    switch (m_animation) {
    case atNone:
        m_model.stop();
        drawFrame();
        break;
    case atSynchronous: {
        // Blocks the caller for the whole roll, one frame per interval.
        bool advanced = true;
        while (advanced) {
            drawFrame();
            advanced = m_model.advance();
            m_clock->sleepMs(m_timer.interval());
        }
        break;
    }
    case atAsynchronous:
        drawFrame();
        m_model.advance();
        m_timer.start();
        break;
    }
}

void TOdometer::resizeToCells()
{
    m_output = QImage(m_glyphWidth * m_model.digitCount(), m_model.glyphHeight(),
                      QImage::Format_RGB32);
    m_output.fill(Qt::black);
    setFixedSize(m_output.size());
}

void TOdometer::drawFrame()
{
    drawOdometerCells(m_output, m_model, m_strip);
    // Straight to the screen while a synchronous roll blocks the event loop.
    if (isVisible() && m_animation == atSynchronous && m_model.rolling())
        repaint();
    else
        update();
}

void TOdometer::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    smoothWhenScaled(p);
    p.drawImage(0, 0, m_output);
}

} // namespace tipsovo
