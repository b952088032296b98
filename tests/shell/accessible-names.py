# SPDX-License-Identifier: GPL-3.0-or-later
# Walks the running program through AT-SPI, as a screen reader sees it: every control of the
# menu and of each screen the menu opens has a name. The screens are opened and closed through
# AT-SPI's own "Press" action on the menu's buttons and on KONEC or Zapri.
import sys
import time

import pyatspi

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_MENU_ITEM,
}
problems = []


def application(deadline):
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Tipsovo" and showing_frames(app):
                return app
        time.sleep(0.3)
    return None


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def showing_frames(app):
    return [app.getChildAtIndex(i) for i in range(app.childCount)
            if app.getChildAtIndex(i) is not None and showing(app.getChildAtIndex(i))]


def nodes(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from nodes(child)


def check(frame, where):
    count = 0
    for n in nodes(frame):
        if not showing(n) or n.getRole() not in CONTROL_ROLES:
            continue
        count += 1
        if not n.name.strip():
            problems.append(f"{where}: a {n.getRoleName()} without a name")
    if count == 0:
        problems.append(f"{where}: no controls seen")
    return count


def button(frame, name):
    for n in nodes(frame):
        if showing(n) and n.getRole() in CONTROL_ROLES and n.name == name:
            return n
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return True
    return False


def wait_for(condition, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    return None


def main():
    app = application(time.time() + float(sys.argv[1]))
    if app is None:
        print("accessible-names: the program never showed up on the accessibility bus")
        return 1
    menu = wait_for(lambda: next((f for f in showing_frames(app) if button(f, "Izhod")), None), 20)
    if menu is None:
        print("accessible-names: no menu with Izhod")
        return 1
    print(f"menu: {check(menu, 'menu')} controls")
    for caption in ["Besede, zlogi, črke", "Prva črka", "Ugani besedo", "Sestavi zloge",
                    "Zamenjaj črke", "Kje je črka?", "Vstavi besedo", "Označi povedi",
                    "Sledi črtam", "Kam potujemo?", "O programu"]:
        b = button(menu, caption)
        if b is None:
            problems.append(f"menu: no button {caption!r}")
            continue
        before = {id(f) for f in showing_frames(app)}
        press(b)
        # The new window is the showing frame with a way back (KONEC, Zapri).
        def opened():
            for f in showing_frames(app):
                if f is not menu and (button(f, "KONEC") or button(f, "Zapri")):
                    return f
            return None
        screen = wait_for(opened, 30)
        if screen is None:
            problems.append(f"{caption}: no screen with KONEC or Zapri opened")
            continue
        print(f"{caption}: {check(screen, caption)} controls")
        leave = button(screen, "KONEC") or button(screen, "Zapri")
        press(leave)
        # A theme or kind chooser may stand in front of its screen: leave that too.
        if not wait_for(lambda: all(not (button(f, "KONEC") or button(f, "Zapri"))
                                    for f in showing_frames(app) if f is not menu), 15):
            for f in showing_frames(app):
                if f is not menu:
                    other = button(f, "KONEC") or button(f, "Zapri")
                    if other:
                        press(other)
            if not wait_for(lambda: all(not (button(f, "KONEC") or button(f, "Zapri"))
                                        for f in showing_frames(app) if f is not menu), 15):
                problems.append(f"{caption}: the screen did not close")
    for p in problems:
        print("accessible-names:", p)
    return 1 if problems else 0


sys.exit(main())
