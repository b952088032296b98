// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace tipsovo {

// Keeps the program's windows one family for the window manager, so that the program has one
// entry in the task bar and its screens stay above the black backdrop, which covers the whole
// screen with its panels:
// - the backdrop is the family's head: full screen, the one window in the task bar;
// - the main menu is transient for the backdrop, every other window (activity screens,
//   choosers, dialogs, message boxes, the print preview) for the window it was opened over,
//   or the menu;
// - every window but the backdrop is left out of the task bar and the pager.
// Window managers keep transients above the window they belong to and give a full-screen
// window with a focused member of its family the layer above the panels.
class WindowFamily : public QObject {
    Q_OBJECT
public:
    WindowFamily(QWidget *backdrop, QWidget *menu, QObject *parent = nullptr);

    // A later start asked for the program: the backdrop, the menu and the screens opened over
    // it come to the front in the order they were opened, the topmost one active.
    void bringToFront();

    // The window a new window belongs to when it names none: the one active now (not the
    // backdrop), else the menu.
    QWidget *ownerFor(const QWidget *window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void adopt(QWidget *window);

    QPointer<QWidget> m_backdrop;
    QPointer<QWidget> m_menu;
    QList<QPointer<QWidget>> m_opened; // in the order they were shown
};

// Window-system side of it (X11; nothing elsewhere).
namespace WindowSystem {
// Out of the task bar and the pager: to be called before the window is mapped.
void skipTaskbar(QWindow *window);
// WM_TRANSIENT_FOR, also on a mapped window (Qt writes it only for dialog kinds of window).
void setTransientFor(QWindow *window, QWindow *owner);
} // namespace WindowSystem

} // namespace tipsovo
