// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QPointer>

namespace tipsovo {

// One numbered letter cell of the letter screens: a single character (or one offered syllable),
// centred, in Courier New bold of the given pixel size. Its number is its Tag; its text colour is state the screens read
// back (red = found); the hand pointer means it can still be clicked. It reports presses of
// either button and left clicks (press and release inside); a disabled cell (or one in a
// disabled panel) reports nothing. The second press of a double-click is no second click.
class LetterCell : public QLabel {
    Q_OBJECT
public:
    LetterCell(int tag, int pixelSize, QWidget *parent = nullptr);

    int tag() const;
    void setTextColor(const QColor &c);
    QColor textColor() const { return m_color; }
    void setClickable(bool clickable);
    bool isClickable() const;

signals:
    void pressed(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    QColor m_color = Qt::black;
    bool m_leftDown = false;
};

// The number a screen gives a cell: task (or slot) × 1000 + row × 100 + place. Row 0 is the
// row under the picture; places count from 1.
constexpr int cellTag(int task, int row, int place) { return task * 1000 + row * 100 + place; }

// Finds the letter cells of a screen by their number. The index is built from the screen's
// descendants the first time it is asked (or after rebuild()), so screens build all their
// cells first; cells are found by Tag alone, whatever their names. Cells without a positive
// Tag are not indexed; of two cells with the same number the first one found wins.
class LetterCells {
public:
    explicit LetterCells(QWidget *root) : m_root(root) {}

    LetterCell *cell(int tag) const;
    LetterCell *cell(int task, int row, int place) const { return cell(cellTag(task, row, place)); }
    // Every indexed cell, by number.
    QList<LetterCell *> all() const;
    int count() const;
    void rebuild();

    // Colours the cells first..last of a task's row (places 1..99; a range past the row's end
    // stops at its last cell) and returns the cells it coloured, in order.
    QList<LetterCell *> colour(int task, int row, int first, int last, const QColor &c) const;

private:
    void ensureIndex() const;

    QPointer<QWidget> m_root;
    mutable QHash<int, QPointer<LetterCell>> m_index;
    mutable bool m_built = false;
};

} // namespace tipsovo
