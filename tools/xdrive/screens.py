# SPDX-License-Identifier: GPL-3.0-or-later
"""Times what a child waits for most: from a click on a main-menu button until the screen it
opens has stopped changing on the display, and from KONEC back to the menu. Each click is timed
from the real button press (XTest) to the last change of the picture of the menu's rectangle
before a second of stillness. Also reads the program's RSS after every screen has been opened
once and over ten rounds of the travel game. Run through scripts/bench-screens."""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xdrive  # noqa: E402
from monkey import MENU_BUTTONS, program_environment  # noqa: E402

TARGET_MEDIAN_MS = 100
TARGET_WORST_MS = 200
TARGET_RSS_GROWTH = 0.10
STILL_S = 1.0
LIMIT_S = 12.0


def menu_button(tag):
    left, top, w, h = MENU_BUTTONS[tag]
    return ("menu", left + w // 2, top + h // 2)


KONEC = ("menu", 725, 542)
KONEC_TRAVEL = ("menu", 720, 523)
WORDS_ZAPRI = ("top", 303 + 45, 148 + 18)
THEMES_ZAPRI = ("top", 228 + 46, 312 + 18)
AALIB_LAZJA = ("top", 28 + 70, 82 + 69)
AALIB_ZAPRI = ("top", 231 + 45, 240 + 18)

# name, clicks before (not timed), the timed opening click, the timed closing click (KONEC or
# the chooser's ZAPRI) and clicks after it (not timed) back to the menu.
ROWS = [
    ("1 chooser besede/zlogi/crke", [], menu_button(1), WORDS_ZAPRI, []),
    ("1 > besede", [menu_button(1)], ("top", 81, 95), KONEC, [WORDS_ZAPRI]),
    ("1 > zlogi", [menu_button(1)], ("top", 209, 95), KONEC, [WORDS_ZAPRI]),
    ("1 > crke", [menu_button(1)], ("top", 337, 95), KONEC, [WORDS_ZAPRI]),
    ("2 prva crka", [], menu_button(2), KONEC, []),
    ("3 ugani besedo (+chooser)", [], menu_button(3), AALIB_ZAPRI, []),
    ("3 > lazja", [menu_button(3)], AALIB_LAZJA, KONEC, []),
    ("4 sestavi zloge", [], menu_button(4), KONEC, []),
    ("5 zamenjaj crke", [], menu_button(5), KONEC, []),
    ("6 kje je crka", [], menu_button(6), KONEC, []),
    ("7 theme menu", [], menu_button(7), THEMES_ZAPRI, []),
    ("7 > kmetija", [menu_button(7)], ("top", 95, 114), KONEC, [THEMES_ZAPRI]),
    ("7 > park", [menu_button(7)], ("top", 250, 114), KONEC, [THEMES_ZAPRI]),
    ("7 > ulica", [menu_button(7)], ("top", 95, 234), KONEC, [THEMES_ZAPRI]),
    ("7 > obala", [menu_button(7)], ("top", 250, 234), KONEC, [THEMES_ZAPRI]),
    ("8 oznaci povedi", [], menu_button(8), KONEC, []),
    ("9 sledi crtam", [], menu_button(9), KONEC, []),
    ("10 kam potujemo", [], menu_button(10), KONEC_TRAVEL, []),
]
TRAVEL_ROW = ROWS[-1]


class Failure(Exception):
    pass


class Bench:
    def __init__(self, args):
        self.args = args
        env = program_environment(args.workdir, args.display)
        self.log = open(os.path.join(args.workdir, "program.log"), "wb")
        self.proc = subprocess.Popen([args.program], stdout=self.log, stderr=subprocess.STDOUT,
                                     env=env)
        self.x = xdrive.Display(args.display)
        self.lateness = []

    def menu(self):
        for w in self.x.windows():
            if w.name.startswith("Igrica"):
                return w
        return None

    def top(self):
        wins = self.x.windows()
        return wins[-1] if wins else None

    def rss_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def point(self, target):
        kind, x, y = target
        if kind == "menu":
            w = self.m
        else:
            # A chooser's button: the chooser is the small window on top once it has come up.
            w = xdrive.wait_for(lambda: (lambda t: t if t and t.width < 800 else None)(self.top()), 10)
            if w is None:
                raise Failure("no chooser came up for a click at %d,%d in it" % (x, y))
        return (w.x + x, w.y + y)

    def grab(self):
        m = self.m
        return self.x.grab(m.x, m.y, m.width, m.height)

    def settle(self, before, start):
        """Seconds from start to the last change of the picture before STILL_S of stillness;
        None when it never changed or never came to rest."""
        return xdrive.settle(self.grab, before, start, STILL_S, LIMIT_S, self.lateness)

    def untimed_click(self, target):
        before = self.grab()
        x, y = self.point(target)
        self.x.move(x, y)
        time.sleep(0.05)
        start = time.monotonic()
        self.x.click(1)
        self.settle(before, start)

    def timed_click(self, target, mode):
        if mode != "rest":
            self.x.move(5, 5)
            time.sleep(self.args.quiet)
        x, y = self.point(target)
        if mode == "quick":
            # From a spot without a sound, after a quiet while, onto the button just before.
            self.x.move(x, y)
            time.sleep(0.05)
        elif mode == "rest":
            # The pointer has rested on the button long enough for its hover sound to end.
            self.x.move(x, y)
            time.sleep(self.args.rest)
        else:
            # "hover": the click comes while the button's hover sound is playing.
            self.x.move(x, y)
            time.sleep(self.args.hover)
        before = self.grab()
        start = time.monotonic()
        self.x.click(1)
        took = self.settle(before, start)
        if self.args.shots:
            self.shot_count = getattr(self, "shot_count", 0) + 1
            os.makedirs(self.args.shots, exist_ok=True)
            subprocess.run(["import", "-display", self.args.display, "-window", "root",
                            os.path.join(self.args.shots, "%03d.png" % self.shot_count)])
        if took is None:
            raise Failure("the screen never came to rest (or never changed) after a click at "
                          "%d,%d" % (x, y))
        return took * 1000

    def at_menu(self):
        t = self.top()
        return t is not None and t.name.startswith("Igrica")

    def run_row(self, row, mode):
        name, setup, opening, closing, teardown = row
        if not self.at_menu():
            raise Failure("not at the main menu before %s (top: %s)" % (name, self.top()))
        for c in setup:
            self.untimed_click(c)
        opened = self.timed_click(opening, mode)
        closed = self.timed_click(closing, mode)
        for c in teardown:
            self.untimed_click(c)
        if not self.at_menu():
            raise Failure("%s did not go back to the main menu (top: %s)" % (name, self.top()))
        return opened, closed

    def start(self):
        if not xdrive.wait_for(self.menu, 60, 0.1):
            raise Failure("the main menu did not show")
        self.m = self.menu()
        self.x.move(5, 5)
        time.sleep(2.0)


def summary(values):
    return statistics.median(values), max(values)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--display", required=True)
    p.add_argument("--workdir", required=True)
    p.add_argument("--rounds", type=int, default=5)
    p.add_argument("--modes", default="quick,rest")
    p.add_argument("--quiet", type=float, default=1.5)
    p.add_argument("--rest", type=float, default=4.0)
    p.add_argument("--hover", type=float, default=0.6)
    p.add_argument("--only", default="")
    p.add_argument("--shots", default="", help="a folder for a screenshot after every timed click")
    args = p.parse_args()
    modes = [m for m in args.modes.split(",") if m]
    rows = [r for r in ROWS if not args.only or any(o in r[0] for o in args.only.split(","))]
    bench = Bench(args)
    status = 0
    results = {}
    misses = []
    try:
        bench.start()
        rss_all = None
        for rnd in range(args.rounds):
            for row in rows:
                for mode in modes:
                    opened, closed = bench.run_row(row, mode)
                    results.setdefault((row[0], mode), ([], []))
                    results[(row[0], mode)][0].append(opened)
                    results[(row[0], mode)][1].append(closed)
            if rnd == 0:
                rss_all = bench.rss_kib()
        print("click -> last change of the picture, ms (median / worst of %d); modes: quick ="
              " pointer onto the button 50 ms before the click, rest = after %.1f s on it%s"
              % (args.rounds, args.rest,
                 ", hover = %.1f s on it, its sound playing" % args.hover
                 if "hover" in modes else ""))
        print("%-28s %-6s %15s %15s" % ("screen", "mode", "open", "KONEC/ZAPRI"))
        for row in rows:
            for mode in modes:
                o, c = results[(row[0], mode)]
                om, ow = summary(o)
                cm, cw = summary(c)
                print("%-28s %-6s %7.0f / %5.0f %7.0f / %5.0f" % (row[0], mode, om, ow, cm, cw))
                for what, med, worst in (("open", om, ow), ("close", cm, cw)):
                    if med > TARGET_MEDIAN_MS or worst > TARGET_WORST_MS:
                        misses.append("%s %s (%s): median %.0f ms, worst %.0f ms; target <= %d"
                                      " / %d" % (row[0], what, mode, med, worst,
                                                 TARGET_MEDIAN_MS, TARGET_WORST_MS))
        print("RSS after every screen once (KiB)     %d" % rss_all)
        if TRAVEL_ROW in rows:
            bench.run_row(TRAVEL_ROW, "quick")
            rss1 = bench.rss_kib()
            for _ in range(9):
                bench.run_row(TRAVEL_ROW, "quick")
            rss10 = bench.rss_kib()
            growth = (rss10 - rss1) / rss1
            print("RSS travel game, 1 round (KiB)        %d" % rss1)
            print("RSS travel game, 10 rounds (KiB)      %d   %+.1f %%, target <= +%d %%"
                  % (rss10, growth * 100, TARGET_RSS_GROWTH * 100))
            if growth > TARGET_RSS_GROWTH:
                misses.append("RSS grew %.1f %% over ten rounds of the travel game" % (growth * 100))
        late = sorted(bench.lateness)
        if late:
            print("machine: a 2 ms sleep of this script ran late by median %.1f ms, 99th %.1f ms,"
                  " worst %.1f ms; load %s" % (statistics.median(late) * 1000,
                                               late[int(len(late) * 0.99)] * 1000, late[-1] * 1000,
                                               open("/proc/loadavg").read().split()[0]))
    except Failure as e:
        status = 1
        print("FAIL: %s" % e)
    finally:
        if bench.proc.poll() is None:
            bench.proc.terminate()
            try:
                bench.proc.wait(20)
            except subprocess.TimeoutExpired:
                bench.proc.kill()
        bench.log.close()
    for m in misses:
        print("MISSED: %s" % m)
    if misses:
        status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
