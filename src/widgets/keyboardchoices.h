// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace tipsovo {

// Lets a window be played with the keyboard alone. Its choices are the visible, enabled
// controls inside it that show the hand cursor (the program's "can still be clicked"), so a
// choice already made drops out by itself. Tab and Shift+Tab go through them in reading order,
// the arrow keys to the nearest one in that direction; Enter or Space clicks the marked one as
// the left mouse button would; Escape runs the window's leave action (KONEC, Zapri).
//
// The mark looks like the pointer's hover: a FlatButton shows its own warm tint, any other
// choice gets the same tint on a plate over it; there is no grey focus frame. Each move of the
// mark is announced through `marked`, so the window can speak the choice as on hover.
class KeyboardChoices : public QObject {
    Q_OBJECT
public:
    explicit KeyboardChoices(QWidget *window);
    ~KeyboardChoices() override;

    void setLeaveAction(std::function<void()> leave) { m_leave = std::move(leave); }
    // The travel game steers with the arrow keys; it keeps them for itself.
    void setArrowsMove(bool on) { m_arrows = on; }
    // ... and its Space bar starts and pauses the train; Enter still chooses.
    void setSpaceChooses(bool on) { m_space = on; }

    // The choices in reading order, as they are now.
    QList<QWidget *> choices() const;
    QWidget *current() const { return m_current; }

    // What the keys do; tests and the window may call them directly too.
    void step(int delta);                // Tab (+1), Shift+Tab (-1)
    void moveTowards(Qt::Key arrow);     // the arrow keys
    void choose();                       // Enter, Space
    void mark(QWidget *choice);          // moves the mark (nullptr clears it)

    static bool isChoice(const QWidget *w);

signals:
    void marked(QWidget *choice);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(QKeyEvent *e);
    void showMark();
    void dropMarkIfGone();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_plate;
    std::function<void()> m_leave;
    bool m_arrows = true;
    bool m_space = true;
};

} // namespace tipsovo
