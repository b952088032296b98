// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/odometermodel.h"

namespace tipsovo {

OdometerModel::OdometerModel(int glyphHeight) : m_glyphHeight(qMax(1, glyphHeight)), m_frame(m_glyphHeight)
{
    m_old = m_new = format(m_value);
}

quint32 OdometerModel::limitFor(Base base, int digitCount)
{
    constexpr quint32 most = 2147483647;
    switch (base) {
    case Base::Binary:
        return digitCount < 32 ? quint32((quint64(1) << digitCount) - 1) : most;
    case Base::Decimal: {
        if (digitCount >= 10)
            return most;
        quint64 p = 1;
        for (int i = 0; i < digitCount; ++i)
            p *= 10;
        return quint32(p - 1);
    }
    case Base::Hexadecimal:
        return digitCount < 8 ? quint32((quint64(1) << (4 * digitCount)) - 1) : most;
    }
    return most;
}

bool OdometerModel::setDigitCount(int count)
{
    if (count < 1 || count > 32 || count == m_digitCount)
        return false;
    m_digitCount = count;
    m_limit = limitFor(m_base, m_digitCount);
    setValueAtOnce(m_value);
    return true;
}

void OdometerModel::setBase(Base base)
{
    if (base == m_base)
        return;
    m_base = base;
    m_limit = limitFor(m_base, m_digitCount);
    setValueAtOnce(m_value);
}

void OdometerModel::setValueAtOnce(quint32 value)
{
    m_value = value > m_limit ? quint32(quint64(value) % (quint64(m_limit) + 1)) : value;
    m_old = m_new = format(m_value);
    m_frame = m_glyphHeight;
}

QString OdometerModel::format(quint32 value) const
{
    QString s;
    switch (m_base) {
    case Base::Binary:
        s = QString::number(value, 2);
        break;
    case Base::Decimal:
        s = QString::number(value, 10);
        break;
    case Base::Hexadecimal:
        s = QString::number(value, 16).toUpper();
        break;
    }
    // Only the lowest digits fit (a 32-bit binary value in fewer cells).
    if (s.size() > m_digitCount)
        s = s.right(m_digitCount);
    return s.rightJustified(m_digitCount, QLatin1Char('0'));
}

void OdometerModel::startRoll(const QString &from, bool up)
{
    m_old = from;
    m_new = format(m_value);
    m_up = up;
    m_frame = 0;
}

void OdometerModel::increment()
{
    // A roll in progress is abandoned: the old digits are those of the value it was going to.
    const QString from = format(m_value);
    m_value = m_value >= m_limit ? 0 : m_value + 1;
    startRoll(from, true);
}

void OdometerModel::decrement()
{
    const QString from = format(m_value);
    m_value = m_value == 0 ? m_limit : m_value - 1;
    startRoll(from, false);
}

bool OdometerModel::advance()
{
    if (m_frame >= m_glyphHeight)
        return false;
    ++m_frame;
    return true;
}

int OdometerModel::glyphIndex(QChar c)
{
    static const QString glyphs = QStringLiteral("0123456789ABCDEF");
    const qsizetype i = glyphs.indexOf(c.toUpper());
    return i < 0 ? BlankGlyph : int(i);
}

int OdometerModel::topGlyph() const
{
    switch (m_base) {
    case Base::Binary:
        return 1;
    case Base::Decimal:
        return 9;
    case Base::Hexadecimal:
        return 15;
    }
    return 9;
}

QList<OdometerModel::Copy> OdometerModel::cellCopies(int i) const
{
    const int h = m_glyphHeight;
    const int from = glyphIndex(i < m_old.size() ? m_old.at(i) : QChar());
    const int to = glyphIndex(i < m_new.size() ? m_new.at(i) : QChar());
    const int p = m_frame * 255 / h;
    const int d = h * p / 255;

    bool wrap = false;
    if (from != to) {
        if (!m_up && from == 0 && (to == topGlyph() || m_value == m_limit))
            wrap = true;
        else if (m_up && to == 0 && (from == topGlyph() || m_value == 0))
            wrap = true;
    }
    if (!wrap && (from - to != 1 && to - from != 1))
        return {{to * h, 0, h}}; // no change, or a jump: the new glyph at once

    // The digit moves up when it grows, unless the counter rolls the other way.
    const bool movesUp = m_up != m_incTopToBottom;
    if (!wrap && !m_incTopToBottom)
        return {{from * h + (to > from ? d : -d), 0, h}}; // neighbours: one window of the strip

    QList<Copy> copies;
    auto add = [&copies](int srcY, int dstY, int height) {
        if (height > 0)
            copies.append({srcY, dstY, height});
    };
    if (movesUp) {
        // The old glyph leaves through the top, the new one rises from below.
        add(from * h + d, 0, h - d);
        add(to * h, h - d, d);
    } else {
        add(to * h + h - d, 0, d);
        add(from * h, d, h - d);
    }
    return copies;
}

} // namespace tipsovo
