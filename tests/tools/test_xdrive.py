# SPDX-License-Identifier: GPL-3.0-or-later
"""The display tools of scripts/monkey and scripts/bench-screens: what they take for the menu,
the activity, a chooser and a print preview; when a screen counts as painted; and, on a real
Xvfb with a real Qt window, that a program's answer to the ping is heard, that a stopped
program is caught, and that the close message closes its window."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.environ.get("TIPSOVO_SOURCE_DIR", "."), "tools", "xdrive"))
import monkey  # noqa: E402
import screens  # noqa: E402
import xdrive  # noqa: E402
from xdrive import TopWindow, wait_for as xdrive_wait  # noqa: E402

BACKDROP = TopWindow(1, 0, 0, 1024, 768, "Tipsovo", False)
MENU = TopWindow(2, 112, 97, 800, 573, "Igrica — Tipsovo", False)
ACTIVITY = TopWindow(3, 112, 97, 800, 573, "Tipsovo", False)
WORDS = TopWindow(4, 302, 281, 419, 206, "Tipsovo", False)
PREVIEW = TopWindow(5, 85, 30, 854, 708, "Prva črka", False)
TOOLTIP = TopWindow(6, 300, 300, 30, 14, "", True)


class FakeDisplay:
    def __init__(self, wins):
        self.wins = wins

    def windows(self):
        return list(self.wins)


def monkey_on(wins):
    m = monkey.Monkey.__new__(monkey.Monkey)
    m.x = FakeDisplay(wins)
    m.screen_size = None
    return m


class WindowsTheMonkeyKnows(unittest.TestCase):
    def test_backdrop_is_never_a_target_and_the_menu_alone_means_the_activity_closed(self):
        m = monkey_on([BACKDROP, MENU])
        self.assertEqual([w.id for w in m.program_windows()], [MENU.id])
        self.assertIs(m.menu(), MENU)
        self.assertTrue(m.top().name.startswith("Igrica"))

    def test_the_activity_over_the_menu_is_the_target_not_a_tooltip_over_it(self):
        m = monkey_on([BACKDROP, MENU, ACTIVITY, TOOLTIP])
        self.assertIs(m.top(), ACTIVITY)
        self.assertFalse(m.is_foreign(ACTIVITY))

    def test_the_words_chooser_is_recognised_only_for_its_own_button(self):
        m = monkey_on([BACKDROP, MENU, WORDS])
        self.assertIs(m.chooser(1), WORDS)
        self.assertIsNone(m.chooser(7))

    def test_print_preview_and_its_dialogs_are_closed_not_played(self):
        m = monkey_on([BACKDROP, MENU, ACTIVITY, PREVIEW])
        self.assertTrue(m.is_foreign(m.top()))
        for title in ("Natisni", "Shrani kot PDF"):
            self.assertTrue(m.is_foreign(TopWindow(7, 300, 200, 500, 400, title, False)))


class FakeClock:
    """Time that moves only when the code under test sleeps or grabs."""

    def __init__(self):
        self.now = 0.0

    def monotonic(self):
        return self.now

    def sleep(self, s):
        self.now += s


def bench_on(frames, clock, grab_ms=3):
    """frames: (from_second, picture) in time order; a grab shows the newest one started."""
    b = screens.Bench.__new__(screens.Bench)
    b.lateness = []

    def grab():
        clock.now += grab_ms / 1000
        picture = frames[0][1]
        for since, p in frames:
            if clock.now >= since:
                picture = p
        return picture
    b.grab = grab
    return b


class WhenAScreenCountsAsPainted(unittest.TestCase):
    def setUp(self):
        # The wait itself lives in xdrive and is shared by both benchmarks.
        self.clock = FakeClock()
        self.saved = xdrive.time
        xdrive.time = self.clock

    def tearDown(self):
        xdrive.time = self.saved

    def test_the_last_change_counts_not_the_first(self):
        b = bench_on([(0, b"menu"), (0.020, b"half"), (0.150, b"whole")], self.clock)
        took = b.settle(b"menu", 0.0)
        self.assertGreaterEqual(took, 0.150)
        self.assertLess(took, 0.160)

    def test_a_change_after_a_short_pause_is_still_part_of_the_opening(self):
        b = bench_on([(0, b"a"), (0.010, b"b"), (0.700, b"c")], self.clock)
        self.assertGreaterEqual(b.settle(b"a", 0.0), 0.700)

    def test_a_screen_that_never_rests_or_never_changes_has_no_time(self):
        blinking = [(i * 0.5, b"on" if i % 2 else b"off") for i in range(40)]
        self.assertIsNone(bench_on(blinking, self.clock).settle(b"off", 0.0))
        self.clock.now = 0.0
        self.assertIsNone(bench_on([(0, b"same")], self.clock).settle(b"same", 0.0))


@unittest.skipUnless(shutil.which("Xvfb") and os.environ.get("TIPSOVO_BUILD_DIR"),
                     "needs Xvfb and the built bare window")
class OnARealDisplay(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.display = ":%d" % (300 + os.getpid() % 500)
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb", HOME=self.tmp,
                   XDG_RUNTIME_DIR=self.tmp)
        time.sleep(1)
        bare = os.path.join(os.environ["TIPSOVO_BUILD_DIR"], "tipsovo-bench-bare")
        self.program = subprocess.Popen([bare, "--stay"], env=env, stderr=subprocess.DEVNULL)
        self.x = xdrive.Display(self.display)
        self.window = xdrive.wait_for(lambda: (self.x.windows() or [None])[-1], 30)

    def tearDown(self):
        for p in (self.program, self.xvfb):
            if p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def test_ping_is_answered_missed_while_stopped_and_close_closes_the_window(self):
        self.assertIsNotNone(self.window)
        self.assertIsNotNone(self.x.ping(self.window.id, 5.0))
        self.program.send_signal(signal.SIGSTOP)
        self.assertIsNone(self.x.ping(self.window.id, 0.5))
        self.program.send_signal(signal.SIGCONT)
        self.assertIsNotNone(self.x.ping(self.window.id, 5.0))
        self.x.close_window(self.window.id)
        self.assertTrue(xdrive_wait(lambda: not self.x.windows(), 10), "the window stayed open")


if __name__ == "__main__":
    unittest.main()
