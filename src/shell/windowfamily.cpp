// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/windowfamily.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef TIPSOVO_WITH_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#endif

namespace tipsovo {

namespace {

bool isFamilyWindow(const QWidget *w)
{
    if (!w || !w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop:
    case Qt::SubWindow:
        return false;
    default:
        return true;
    }
}

#ifdef TIPSOVO_WITH_XCB
xcb_connection_t *x11Connection()
{
    if (!qApp)
        return nullptr;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
}
#endif

} // namespace

namespace WindowSystem {

void skipTaskbar(QWindow *window)
{
#ifdef TIPSOVO_WITH_XCB
    xcb_connection_t *c = x11Connection();
    if (!c || !window)
        return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t wanted[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    // Qt merges its own states into what the property holds when it maps the window.
    std::vector<xcb_atom_t> atoms;
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr)) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto *data = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
            atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
    }
    for (xcb_atom_t a : wanted)
        if (a != XCB_ATOM_NONE && std::find(atoms.begin(), atoms.end(), a) == atoms.end())
            atoms.push_back(a);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    xcb_flush(c);
#else
    Q_UNUSED(window);
#endif
}

void setTransientFor(QWindow *window, QWindow *owner)
{
#ifdef TIPSOVO_WITH_XCB
    xcb_connection_t *c = x11Connection();
    if (!c || !window || !owner)
        return;
    const auto id = xcb_window_t(window->winId());
    const auto ownerId = xcb_window_t(owner->winId());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW,
                        32, 1, &ownerId);
    xcb_flush(c);
#else
    Q_UNUSED(window);
    Q_UNUSED(owner);
#endif
}

} // namespace WindowSystem

WindowFamily::WindowFamily(QWidget *backdrop, QWidget *menu, QObject *parent)
    : QObject(parent), m_backdrop(backdrop), m_menu(menu)
{
    if (qApp)
        qApp->installEventFilter(this);
}

QWidget *WindowFamily::ownerFor(const QWidget *window) const
{
    if (window == m_menu)
        return m_backdrop;
    if (QWidget *parent = window->parentWidget())
        return parent->window();
    QWidget *active = QApplication::activeWindow();
    if (active && active != window && active != m_backdrop && isFamilyWindow(active))
        return active;
    return m_menu;
}

bool WindowFamily::eventFilter(QObject *watched, QEvent *event)
{
    // Show reaches a window after it has its native window and before it is mapped.
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w != m_backdrop && isFamilyWindow(w))
            adopt(w);
    }
    return false;
}

void WindowFamily::adopt(QWidget *w)
{
    m_opened.removeIf([w](const QPointer<QWidget> &o) { return !o || o == w; });
    if (w != m_menu)
        m_opened.append(w);
    QWindow *window = w->windowHandle();
    QWidget *owner = ownerFor(w);
    if (!window || !owner)
        return;
    // The menu shows before the backdrop it belongs to (it shows the backdrop itself).
    if (!owner->windowHandle())
        owner->winId();
    if (!window->transientParent())
        window->setTransientParent(owner->windowHandle());
    WindowSystem::skipTaskbar(window);
    // Qt writes WM_TRANSIENT_FOR only for dialogs and removes it from other windows when it
    // maps them: those get it once they are mapped.
    if (w->windowType() == Qt::Window) {
        QPointer<QWidget> guardOwner(owner);
        QTimer::singleShot(0, w, [w, guardOwner] {
            if (guardOwner && w->windowHandle() && guardOwner->windowHandle() && w->isVisible())
                WindowSystem::setTransientFor(w->windowHandle(), guardOwner->windowHandle());
        });
    }
}

void WindowFamily::bringToFront()
{
    if (!m_menu || !m_menu->isVisible())
        return; // still starting: the menu comes to the front by itself when it shows
    if (m_backdrop && m_backdrop->isVisible()) {
        m_backdrop->setWindowState(m_backdrop->windowState() & ~Qt::WindowMinimized);
        m_backdrop->raise();
    }
    QWidget *top = m_menu;
    QList<QWidget *> order{m_menu.data()};
    for (const QPointer<QWidget> &w : std::as_const(m_opened))
        if (w && w->isVisible())
            order.append(w);
    for (QWidget *w : order) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        top = w;
    }
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        top = modal;
    }
    top->activateWindow();
}

} // namespace tipsovo
