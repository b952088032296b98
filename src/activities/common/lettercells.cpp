// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/lettercells.h"

#include "activities/common/activityscreen.h"
#include "media/hint.h"
#include "widgets/controls.h"

#include <QMouseEvent>
#include <algorithm>

namespace tipsovo {

LetterCell::LetterCell(int tag, int pixelSize, QWidget *parent) : QLabel(parent)
{
    setTag(this, tag);
    setFont(pixelFont(QStringLiteral("Courier New"), pixelSize, true));
    setAlignment(Qt::AlignCenter);
    setTextColor(Qt::black);
}

int LetterCell::tag() const { return tagOf(this); }

void LetterCell::setTextColor(const QColor &c)
{
    m_color = c;
    // In every colour group: a found word stays red when its panel is disabled.
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

void LetterCell::setClickable(bool clickable) { ActivityScreen::setClickable(this, clickable); }

bool LetterCell::isClickable() const { return ActivityScreen::isClickable(this); }

void LetterCell::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_leftDown = true;
    emit pressed(e->button());
    e->accept();
}

void LetterCell::mouseReleaseEvent(QMouseEvent *e)
{
    const bool click = e->button() == Qt::LeftButton && m_leftDown
                       && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton)
        m_leftDown = false;
    e->accept();
    if (click)
        emit clicked();
}

void LetterCell::mouseDoubleClickEvent(QMouseEvent *e)
{
    // Qt turns the second press into this event; its release must not make a click either.
    m_leftDown = false;
    e->accept();
}

void LetterCells::ensureIndex() const
{
    if (m_built)
        return;
    m_built = true;
    m_index.clear();
    if (!m_root)
        return;
    for (LetterCell *c : m_root->findChildren<LetterCell *>()) {
        const int tag = c->tag();
        if (tag > 0 && !m_index.contains(tag))
            m_index.insert(tag, c);
    }
}

void LetterCells::rebuild()
{
    m_built = false;
    ensureIndex();
}

LetterCell *LetterCells::cell(int tag) const
{
    ensureIndex();
    return m_index.value(tag).data();
}

QList<LetterCell *> LetterCells::all() const
{
    ensureIndex();
    QList<int> tags = m_index.keys();
    std::sort(tags.begin(), tags.end());
    QList<LetterCell *> cells;
    for (int t : tags)
        if (LetterCell *c = m_index.value(t))
            cells.append(c);
    return cells;
}

int LetterCells::count() const { return int(all().size()); }

QList<LetterCell *> LetterCells::colour(int task, int row, int first, int last,
                                        const QColor &c) const
{
    QList<LetterCell *> coloured;
    // Within the row's own numbers only, so a long range never reaches the next row.
    for (int place = std::max(first, 1); place <= std::min(last, 99); ++place) {
        if (LetterCell *cell = this->cell(task, row, place)) {
            cell->setTextColor(c);
            coloured.append(cell);
        }
    }
    return coloured;
}

} // namespace tipsovo
