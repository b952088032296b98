// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace tipsovo {

// A white panel that scrolls its lines upward without end: one pixel every 50 ms, starting
// over after the last line has gone by.
class ScrollingList : public QWidget {
    Q_OBJECT
public:
    explicit ScrollingList(QWidget *parent = nullptr);
    void setLines(const QStringList &lines);
    QStringList lines() const { return m_lines; }
    int offset() const { return m_offset; }
    QTimer &timer() { return m_timer; }
    void step();

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int contentHeight() const;

    QStringList m_lines;
    int m_offset = 0;
    QTimer m_timer;
};

// The about screen: who made the program and, scrolling, every source of its pictures,
// sounds and words with its licence. It covers the main menu and closes with ZAPRI.
class TfOProgramu : public QWidget {
    Q_OBJECT
public:
    explicit TfOProgramu(QRect menuBounds, QWidget *parent = nullptr);

    // The credits as shipped with the program: one line per entry.
    static QStringList creditLines();
};

} // namespace tipsovo
