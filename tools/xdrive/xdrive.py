# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives and watches the program's windows on an X display (Xvfb) through libX11 and libXtst,
with nothing but the Python standard library: the top-level windows in stacking order, real
pointer and key input (XTest, as a user's), the window manager's ping and close messages, and
pictures of the screen. Used by scripts/monkey and scripts/bench-screens."""

import ctypes
import ctypes.util
import os
import select
import time

_x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
_xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")

Window = ctypes.c_ulong
Atom = ctypes.c_ulong


class _XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int),
        ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p), ("root", Window),
        ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
        ("format", ctypes.c_int), ("l", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", _XClientMessageEvent),
                ("pad", ctypes.c_long * 24)]


class _XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
    ]


def _proto(lib, name, restype, *argtypes):
    f = getattr(lib, name)
    f.restype = restype
    f.argtypes = list(argtypes)
    return f


_P = ctypes.c_void_p
XOpenDisplay = _proto(_x11, "XOpenDisplay", _P, ctypes.c_char_p)
XCloseDisplay = _proto(_x11, "XCloseDisplay", ctypes.c_int, _P)
XDefaultRootWindow = _proto(_x11, "XDefaultRootWindow", Window, _P)
XConnectionNumber = _proto(_x11, "XConnectionNumber", ctypes.c_int, _P)
XInternAtom = _proto(_x11, "XInternAtom", Atom, _P, ctypes.c_char_p, ctypes.c_int)
XQueryTree = _proto(_x11, "XQueryTree", ctypes.c_int, _P, Window, ctypes.POINTER(Window),
                    ctypes.POINTER(Window), ctypes.POINTER(ctypes.POINTER(Window)),
                    ctypes.POINTER(ctypes.c_uint))
XGetWindowAttributes = _proto(_x11, "XGetWindowAttributes", ctypes.c_int, _P, Window,
                              ctypes.POINTER(_XWindowAttributes))
XGetWindowProperty = _proto(_x11, "XGetWindowProperty", ctypes.c_int, _P, Window, Atom,
                            ctypes.c_long, ctypes.c_long, ctypes.c_int, Atom,
                            ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.c_void_p))
XFree = _proto(_x11, "XFree", ctypes.c_int, _P)
XSync = _proto(_x11, "XSync", ctypes.c_int, _P, ctypes.c_int)
XFlush = _proto(_x11, "XFlush", ctypes.c_int, _P)
XSelectInput = _proto(_x11, "XSelectInput", ctypes.c_int, _P, Window, ctypes.c_long)
XSendEvent = _proto(_x11, "XSendEvent", ctypes.c_int, _P, Window, ctypes.c_int, ctypes.c_long,
                    ctypes.POINTER(_XEvent))
XPending = _proto(_x11, "XPending", ctypes.c_int, _P)
XNextEvent = _proto(_x11, "XNextEvent", ctypes.c_int, _P, ctypes.POINTER(_XEvent))
XGetImage = _proto(_x11, "XGetImage", ctypes.POINTER(_XImage), _P, Window, ctypes.c_int,
                   ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int)
XStringToKeysym = _proto(_x11, "XStringToKeysym", ctypes.c_ulong, ctypes.c_char_p)
XKeysymToKeycode = _proto(_x11, "XKeysymToKeycode", ctypes.c_ubyte, _P, ctypes.c_ulong)
XDisplayKeycodes = _proto(_x11, "XDisplayKeycodes", ctypes.c_int, _P,
                          ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int))
XGetKeyboardMapping = _proto(_x11, "XGetKeyboardMapping", ctypes.POINTER(ctypes.c_ulong), _P,
                             ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int))
XChangeKeyboardMapping = _proto(_x11, "XChangeKeyboardMapping", ctypes.c_int, _P, ctypes.c_int,
                                ctypes.c_int, ctypes.POINTER(ctypes.c_ulong), ctypes.c_int)
XTestFakeMotionEvent = _proto(_xtst, "XTestFakeMotionEvent", ctypes.c_int, _P, ctypes.c_int,
                              ctypes.c_int, ctypes.c_int, ctypes.c_ulong)
XTestFakeButtonEvent = _proto(_xtst, "XTestFakeButtonEvent", ctypes.c_int, _P, ctypes.c_uint,
                              ctypes.c_int, ctypes.c_ulong)
XTestFakeKeyEvent = _proto(_xtst, "XTestFakeKeyEvent", ctypes.c_int, _P, ctypes.c_uint,
                           ctypes.c_int, ctypes.c_ulong)

# A window can go between listing it and asking about it: such errors are expected, and the
# default handler would end this process.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
_ignore_errors = _ERROR_HANDLER(lambda dpy, err: 0)
XSetErrorHandler = _proto(_x11, "XSetErrorHandler", ctypes.c_void_p, _ERROR_HANDLER)
XSetErrorHandler(_ignore_errors)

_IS_VIEWABLE = 2
_CLIENT_MESSAGE = 33
_STRUCTURE_NOTIFY_MASK = 1 << 17
_Z_PIXMAP = 2


class TopWindow:
    """A top-level window as the display holds it: absolute geometry and its title."""

    def __init__(self, wid, x, y, width, height, name, override):
        self.id, self.x, self.y, self.width, self.height = wid, x, y, width, height
        self.name, self.override = name, override

    def size(self):
        return (self.width, self.height)

    def centre(self):
        return (self.x + self.width // 2, self.y + self.height // 2)

    def __repr__(self):
        return "%s %dx%d+%d+%d %r" % (hex(self.id), self.width, self.height, self.x, self.y,
                                      self.name)


class Display:
    def __init__(self, name=None):
        name = name or os.environ.get("DISPLAY", ":0")
        self.dpy = XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display %s" % name)
        self.root = XDefaultRootWindow(self.dpy)
        self._atoms = {}
        # The replies to pings come to the root window, sent with StructureNotify (Qt's choice).
        XSelectInput(self.dpy, self.root, _STRUCTURE_NOTIFY_MASK)
        self._ping_serial = 0
        self._spare_keycodes = self._find_spare_keycodes()
        self._remapped = {}

    def atom(self, name):
        if name not in self._atoms:
            self._atoms[name] = XInternAtom(self.dpy, name.encode(), 0)
        return self._atoms[name]

    def _title(self, wid):
        kind, fmt = Atom(), ctypes.c_int()
        n, after, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        for prop in ("_NET_WM_NAME", "WM_NAME"):
            if XGetWindowProperty(self.dpy, wid, self.atom(prop), 0, 256, 0, 0,
                                  ctypes.byref(kind), ctypes.byref(fmt), ctypes.byref(n),
                                  ctypes.byref(after), ctypes.byref(data)) == 0 and data.value:
                raw = ctypes.string_at(data.value, n.value)
                XFree(data)
                if raw:
                    return raw.decode("utf-8", "replace")
        return ""

    def windows(self):
        """The viewable children of the root, bottom to top."""
        root, parent = Window(), Window()
        children, count = ctypes.POINTER(Window)(), ctypes.c_uint()
        if not XQueryTree(self.dpy, self.root, ctypes.byref(root), ctypes.byref(parent),
                          ctypes.byref(children), ctypes.byref(count)):
            return []
        ids = [children[i] for i in range(count.value)]
        if children:
            XFree(children)
        result = []
        for wid in ids:
            a = _XWindowAttributes()
            if not XGetWindowAttributes(self.dpy, wid, ctypes.byref(a)):
                continue
            if a.map_state != _IS_VIEWABLE or a.width < 2 or a.height < 2:
                continue
            result.append(TopWindow(wid, a.x, a.y, a.width, a.height, self._title(wid),
                                    bool(a.override_redirect)))
        return result

    def _send_protocol(self, wid, protocol, arg1=0, arg2=0):
        ev = _XEvent()
        ev.xclient.type = _CLIENT_MESSAGE
        ev.xclient.window = wid
        ev.xclient.message_type = self.atom("WM_PROTOCOLS")
        ev.xclient.format = 32
        ev.xclient.l[0] = self.atom(protocol)
        ev.xclient.l[1] = arg1
        ev.xclient.l[2] = arg2
        XSendEvent(self.dpy, wid, 0, 0, ctypes.byref(ev))
        XFlush(self.dpy)

    def close_window(self, wid):
        """What a window manager's close does (Alt+F4): WM_DELETE_WINDOW."""
        self._send_protocol(wid, "WM_DELETE_WINDOW")

    def ping(self, wid, timeout):
        """Sends the window manager's ping and waits for the program's event loop to answer.
        Returns the seconds it took, or None when no answer came within the timeout."""
        self._ping_serial += 1
        serial = self._ping_serial
        start = time.monotonic()
        self._send_protocol(wid, "_NET_WM_PING", serial, wid)
        ping = self.atom("_NET_WM_PING")
        fd = XConnectionNumber(self.dpy)
        ev = _XEvent()
        while True:
            while XPending(self.dpy):
                XNextEvent(self.dpy, ctypes.byref(ev))
                if (ev.type == _CLIENT_MESSAGE and ev.xclient.l[0] == ping
                        and ev.xclient.l[1] == serial):
                    return time.monotonic() - start
            left = timeout - (time.monotonic() - start)
            if left <= 0:
                return None
            select.select([fd], [], [], left)

    def drain(self):
        ev = _XEvent()
        while XPending(self.dpy):
            XNextEvent(self.dpy, ctypes.byref(ev))

    # Input, through XTest: the program sees it as a user's.
    def move(self, x, y):
        XTestFakeMotionEvent(self.dpy, -1, int(x), int(y), 0)
        XFlush(self.dpy)

    def button(self, number, press):
        XTestFakeButtonEvent(self.dpy, number, 1 if press else 0, 0)
        XFlush(self.dpy)

    def click(self, number=1):
        self.button(number, True)
        self.button(number, False)

    def sync(self):
        XSync(self.dpy, 0)

    def _find_spare_keycodes(self):
        low, high = ctypes.c_int(), ctypes.c_int()
        XDisplayKeycodes(self.dpy, ctypes.byref(low), ctypes.byref(high))
        per = ctypes.c_int()
        count = high.value - low.value + 1
        syms = XGetKeyboardMapping(self.dpy, low.value, count, ctypes.byref(per))
        spare = []
        for i in range(count):
            if all(syms[i * per.value + j] == 0 for j in range(per.value)):
                spare.append(low.value + i)
        XFree(syms)
        return spare[::-1]

    def keycode(self, keysym_name):
        """The key code of a key name ("a", "Return", "scaron"); a name the keyboard map has no
        key for gets a spare key code of its own, as xdotool does."""
        sym = XStringToKeysym(keysym_name.encode())
        if not sym:
            return 0
        code = XKeysymToKeycode(self.dpy, sym)
        if code:
            return code
        if keysym_name in self._remapped:
            return self._remapped[keysym_name]
        if not self._spare_keycodes:
            return 0
        code = self._spare_keycodes.pop()
        pair = (ctypes.c_ulong * 2)(sym, sym)
        XChangeKeyboardMapping(self.dpy, code, 2, pair, 1)
        XSync(self.dpy, 0)
        self._remapped[keysym_name] = code
        return code

    def key(self, code, press):
        XTestFakeKeyEvent(self.dpy, code, 1 if press else 0, 0)
        XFlush(self.dpy)

    def grab(self, x, y, width, height):
        """The screen's pixels in a rectangle, as bytes (the cursor is not part of them)."""
        img = XGetImage(self.dpy, self.root, x, y, width, height, 0xFFFFFFFF, _Z_PIXMAP)
        if not img:
            return b""
        data = ctypes.string_at(img.contents.data, img.contents.bytes_per_line * height)
        XFree(img.contents.data)
        XFree(img)
        return data


def wait_for(predicate, timeout, step=0.05):
    """Polls until predicate() gives something true; returns it, or None after the timeout."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(step)


def settle(grab, before, start, still_s, limit_s, lateness=None):
    """Seconds from start to the last change of grab()'s picture before still_s of stillness;
    None when it never changed (within still_s + 2 s) or never came to rest (within limit_s).
    With a list for lateness, how late each 2 ms sleep woke is added to it."""
    prev = before
    last = None
    while True:
        img = grab()
        now = time.monotonic()
        if img != prev:
            last = now
            prev = img
        if last is not None and now - last >= still_s:
            return last - start
        if (last is None and now - start >= still_s + 2.0) or now - start >= limit_s:
            return None
        t = time.monotonic()
        time.sleep(0.002)
        if lateness is not None:
            lateness.append(time.monotonic() - t - 0.002)
