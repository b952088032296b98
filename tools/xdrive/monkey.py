# SPDX-License-Identifier: GPL-3.0-or-later
"""Random play: starts the program on an X display, and for each activity in turn opens it from
the main menu and sends random clicks, right clicks, double clicks, drags, wheel turns, keys and
rests into its window for the given time, opening it again whenever it closes and closing any
print preview at once (no paper is printed). Every second the program must answer the window
manager's ping within 2 s. A sanitizer report, a crash or a missed ping ends the run with the
seed that replays it. Run through scripts/monkey, which gives it a display and a sound server."""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xdrive  # noqa: E402

# Main-menu buttons (Tag: left, top, width, height in the menu) and what each one opens.
MENU_BUTTONS = {
    1: (359, 251, 105, 79), 2: (493, 250, 105, 79), 3: (628, 251, 105, 79),
    4: (18, 377, 105, 79), 5: (155, 376, 105, 79), 6: (290, 376, 105, 79),
    7: (424, 376, 105, 79), 8: (171, 486, 105, 79), 9: (306, 486, 105, 79),
    10: (441, 486, 105, 79),
}
NAMES = {
    1: "besede, zlogi, crke", 2: "prva crka", 3: "ugani besedo", 4: "sestavi zloge",
    5: "zamenjaj crke", 6: "kje je crka", 7: "vstavi besedo", 8: "oznaci povedi",
    9: "sledi crtam", 10: "kam potujemo",
}
# The two choosers in front of an activity: their size and their choice buttons' centres.
WORDS_CHOOSER = (419, 206)
WORDS_CHOICES = [(25 + 56, 63 + 32), (153 + 56, 63 + 32), (281 + 56, 63 + 32)]
THEMES_MENU = (346, 374)
THEME_CHOICES = [(25 + 70, 60 + 54), (180 + 70, 60 + 54), (25 + 70, 180 + 54), (180 + 70, 180 + 54)]
# Windows the monkey closes as soon as they show: the print preview and what it opens.
FOREIGN_TITLES = ("Natisni", "Shrani kot PDF")

KEYS = ([chr(c) for c in range(ord("a"), ord("z") + 1)] + [str(d) for d in range(10)]
        + ["ccaron", "scaron", "zcaron", "space", "Return", "BackSpace", "Delete", "Escape",
           "Tab", "Left", "Right", "Up", "Down", "Home", "End", "Prior", "Next", "F1", "plus",
           "minus"])

SANITIZER = re.compile(r"ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer|"
                       r"SUMMARY: (Address|UndefinedBehavior)Sanitizer")


class Failure(Exception):
    pass


def program_environment(workdir, display):
    """The program's environment under Xvfb: a home and runtime folder of its own in workdir
    (made here), the X display, and no printer reachable, whatever the preview is asked."""
    env = dict(os.environ)
    env.update({
        "HOME": os.path.join(workdir, "home"),
        "XDG_RUNTIME_DIR": os.path.join(workdir, "runtime"),
        "QT_QPA_PLATFORM": "xcb",
        "DISPLAY": display,
        "CUPS_SERVER": "/nonexistent/cups.sock",
    })
    for d in ("home", "runtime"):
        os.makedirs(os.path.join(workdir, d), mode=0o700, exist_ok=True)
    return env


class Monkey:
    def __init__(self, args):
        self.args = args
        self.log_path = os.path.join(args.workdir, "program.log")
        self.log = open(self.log_path, "wb")
        env = program_environment(args.workdir, args.display)
        env.update({
            "ASAN_OPTIONS": env.get("ASAN_OPTIONS", "detect_leaks=0"),
            "UBSAN_OPTIONS": env.get("UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1"),
        })
        self.proc = subprocess.Popen([args.program], stdout=self.log, stderr=subprocess.STDOUT,
                                     env=env)
        self.x = xdrive.Display(args.display)
        self.screen_size = None
        self.current_seed = None

    # What the display shows.
    def program_windows(self):
        wins = self.x.windows()
        if self.screen_size is None and wins:
            self.screen_size = max((w.width, w.height) for w in wins)
        # The black backdrop covers the whole screen and takes no input.
        return [w for w in wins if not (w.x == 0 and w.y == 0 and w.size() == self.screen_size)]

    def menu(self, wins=None):
        for w in wins if wins is not None else self.program_windows():
            if w.name.startswith("Igrica"):
                return w
        return None

    def top(self, wins=None):
        wins = wins if wins is not None else self.program_windows()
        real = [w for w in wins if not (w.override and (w.width < 40 or w.height < 20))]
        return real[-1] if real else None

    def is_foreign(self, w):
        return w.name in FOREIGN_TITLES or w.width > 800 or w.height > 600

    # Health.
    def check(self, where):
        if self.proc.poll() is not None:
            raise Failure("the program ended (exit %s) %s" % (self.proc.returncode, where))
        self.log.flush()
        with open(self.log_path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        if SANITIZER.search(text):
            raise Failure("sanitizer report %s" % where)

    def answers(self, where):
        m = self.menu() or self.top()
        if m is None:
            raise Failure("no window left %s" % where)
        took = self.x.ping(m.id, self.args.answer_limit)
        if took is None:
            self.check(where)
            # Tell a stuck program from a stuck display: does the X server itself answer?
            server = subprocess.run(["timeout", "2", "xdotool", "getmouselocation"],
                                    env=dict(os.environ, DISPLAY=self.args.display),
                                    capture_output=True, text=True)
            print("the X server %s" % ("answers" if server.returncode == 0
                                       else "does not answer either"), file=sys.stderr)
            self.backtrace()
            raise Failure("the program did not answer for %g s %s" % (self.args.answer_limit, where))
        return took

    def backtrace(self):
        """Three samples of the user-interface thread's stack, a second apart: where it hangs."""
        out = ""
        for _ in range(3):
            try:
                out += subprocess.run(["gdb", "-p", str(self.proc.pid), "-batch", "-ex",
                                       "thread apply 1 bt 40"], capture_output=True, text=True,
                                      timeout=60).stdout
            except (OSError, subprocess.SubprocessError):
                break
            out += "\n----\n"
            time.sleep(1)
        with open(os.path.join(self.args.workdir, "backtrace.txt"), "w") as f:
            f.write(out)
        print(out[-12000:], file=sys.stderr)

    # Getting into an activity.
    def wait_started(self):
        if not xdrive.wait_for(lambda: self.menu(), 60, 0.2):
            self.check("at start-up")
            raise Failure("the main menu did not show within 60 s")
        time.sleep(0.5)

    def back_to_menu(self, where):
        for _ in range(40):
            wins = self.program_windows()
            t = self.top(wins)
            if t is not None and t.name.startswith("Igrica"):
                return
            if t is not None:
                self.x.close_window(t.id)
            time.sleep(0.25)
            self.check(where)
        raise Failure("the program does not go back to the main menu %s (top: %s)"
                      % (where, self.top()))

    def click_at(self, x, y):
        self.x.move(x, y)
        time.sleep(0.03)
        self.x.click(1)

    def open_activity(self, tag, choice):
        self.back_to_menu("before opening %s" % NAMES[tag])
        m = self.menu()
        left, top, w, h = MENU_BUTTONS[tag]
        self.click_at(m.x + left + w // 2, m.y + top + h // 2)
        if tag in (1, 7):
            chooser = xdrive.wait_for(lambda: self.chooser(tag), 15, 0.1)
            if not chooser:
                raise Failure("the chooser of %s did not show (windows: %s)"
                              % (NAMES[tag], self.program_windows()))
            self.choose(tag, chooser, choice)
        self.wait_in_activity(tag)

    def chooser(self, tag):
        # Only the words and the insert-word activities open through a chooser of these sizes;
        # for any other activity a window of that size is something else (a key that reached
        # the menu as a screen closed may open the theme menu), which is played like the rest.
        if tag not in (1, 7):
            return None
        t = self.top()
        want = WORDS_CHOOSER if tag == 1 else THEMES_MENU
        return t if t is not None and t.size() == want else None

    def choose(self, tag, chooser, choice):
        choices = WORDS_CHOICES if tag == 1 else THEME_CHOICES
        cx, cy = choices[choice % len(choices)]
        self.click_at(chooser.x + cx, chooser.y + cy)

    def wait_in_activity(self, tag):
        def inside():
            t = self.top()
            return t is not None and not t.name.startswith("Igrica") and self.chooser(tag) is None
        if not xdrive.wait_for(inside, 20, 0.1):
            self.check("opening %s" % NAMES[tag])
            raise Failure("%s did not open within 20 s" % NAMES[tag])

    # Random play.
    def random_point(self, rng, w):
        return (w.x + rng.randrange(w.width), w.y + rng.randrange(w.height))

    def event(self, rng, w):
        r = rng.random()
        x, y = self.random_point(rng, w)
        if r < 0.36:
            self.x.move(x, y)
            time.sleep(rng.uniform(0, 0.02))
            self.x.click(1)
            return "click"
        if r < 0.46:
            self.x.move(x, y)
            self.x.click(3)
            return "right click"
        if r < 0.56:
            self.x.move(x, y)
            self.x.click(1)
            time.sleep(rng.uniform(0.02, 0.12))
            self.x.click(1)
            return "double click"
        if r < 0.70:
            self.x.move(x, y)
            self.x.button(1, True)
            x2, y2 = self.random_point(rng, w)
            steps = rng.randint(2, 12)
            for i in range(1, steps + 1):
                self.x.move(x + (x2 - x) * i // steps, y + (y2 - y) * i // steps)
                time.sleep(0.01)
            self.x.button(1, False)
            return "drag"
        if r < 0.90:
            name = rng.choice(KEYS)
            code = self.x.keycode(name)
            mods = []
            if rng.random() < 0.12:
                mods.append(self.x.keycode("Control_L"))
            if rng.random() < 0.12:
                mods.append(self.x.keycode("Shift_L"))
            for c in mods:
                self.x.key(c, True)
            if code:
                self.x.key(code, True)
                self.x.key(code, False)
            for c in reversed(mods):
                self.x.key(c, False)
            return "key"
        if r < 0.94:
            self.x.move(x, y)
            self.x.click(rng.choice((4, 5)))
            return "wheel"
        if r < 0.98:
            self.x.move(x, y)
            return "move"
        # A rest on one spot lets its hover sound play.
        self.x.move(x, y)
        time.sleep(rng.uniform(0.3, 1.2))
        return "rest"

    def play(self, tag, seconds):
        self.events = 0
        seed = "%s-%d" % (self.args.seed, tag)
        rng = random.Random(seed)
        self.current_seed = seed
        stats = {"events": 0, "reopened": 0, "previews": 0, "slowest": 0.0}
        choice = 0
        self.open_activity(tag, choice)
        end = time.monotonic() + seconds
        next_ping = time.monotonic() + 1.0
        while time.monotonic() < end:
            wins = self.program_windows()
            t = self.top(wins)
            where = "in %s after %d events (seed %s)" % (NAMES[tag], stats["events"], seed)
            if t is None or t.name.startswith("Igrica"):
                # KONEC, Escape or a close took the activity away: open it again.
                choice += 1
                stats["reopened"] += 1
                self.open_activity(tag, choice)
                continue
            if tag in (1, 7) and self.chooser(tag) is not None:
                choice += 1
                stats["reopened"] += 1
                self.choose(tag, t, choice)
                self.wait_in_activity(tag)
                continue
            if self.is_foreign(t):
                stats["previews"] += 1
                self.x.close_window(t.id)
                time.sleep(0.2)
                continue
            self.event(rng, t)
            stats["events"] += 1
            self.events = stats["events"]
            time.sleep(rng.uniform(0.002, 0.02))
            if time.monotonic() >= next_ping:
                stats["slowest"] = max(stats["slowest"], self.answers(where))
                self.check(where)
                next_ping = time.monotonic() + 1.0
        where = "at the end of %s (seed %s)" % (NAMES[tag], seed)
        self.x.button(1, False)
        stats["slowest"] = max(stats["slowest"], self.answers(where))
        self.back_to_menu(where)
        self.answers(where)
        self.check(where)
        return stats

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True)
    p.add_argument("--display", required=True)
    p.add_argument("--seconds", type=float, required=True)
    p.add_argument("--seed", default=None)
    p.add_argument("--only", type=int, nargs="*", default=None)
    p.add_argument("--workdir", required=True)
    p.add_argument("--min-events", type=int, default=2000)
    p.add_argument("--answer-limit", type=float, default=2.0,
                   help="seconds the program may take to answer the ping")
    args = p.parse_args()
    if args.seed is None:
        args.seed = str(random.SystemRandom().randrange(1, 10**9))
    tags = args.only or list(range(1, 11))
    print("monkey: seed %s, %g s in each of %d activities" % (args.seed, args.seconds, len(tags)),
          flush=True)
    monkey = Monkey(args)
    status = 0
    rows = []
    try:
        monkey.wait_started()
        for tag in tags:
            stats = monkey.play(tag, args.seconds)
            rows.append((tag, stats))
            print("%2d %-20s %6d events  %3d reopened  %3d previews closed  slowest answer %4d ms"
                  % (tag, NAMES[tag], stats["events"], stats["reopened"], stats["previews"],
                     stats["slowest"] * 1000), flush=True)
    except Failure as e:
        status = 1
        print("FAIL: %s (after %d events)" % (e, getattr(monkey, "events", 0)), flush=True)
        print("replay: scripts/monkey %g --seed %s --only %s"
              % (args.seconds, args.seed, " ".join(str(t) for t in tags[len(rows):])),
              flush=True)
    finally:
        monkey.stop()
    with open(monkey.log_path, "rb") as f:
        text = f.read().decode("utf-8", "replace")
    m = SANITIZER.search(text)
    if m:
        status = 1
        print("FAIL: sanitizer report (seed %s):" % args.seed)
        print(text[max(0, m.start() - 200):m.start() + 6000])
    elif status:
        print("program output (last lines):")
        print("\n".join(text.splitlines()[-40:]))
    few = [t for t, s in rows if s["events"] < args.min_events]
    if status == 0 and few:
        status = 1
        print("MISSED: fewer than %d events in %s" % (args.min_events,
                                                     ", ".join(NAMES[t] for t in few)))
    if status == 0:
        print("monkey: no finding (seed %s)" % args.seed)
    return status


if __name__ == "__main__":
    sys.exit(main())
