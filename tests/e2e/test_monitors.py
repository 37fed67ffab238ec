"""The joke on a desk of several monitors: it follows the victim to the monitor the settings window
is on, covers every other monitor black while the console types, puts the box on the console's
monitor, and leaves the whole desk to the page it opens. Another program that takes the keyboard
has the console and its covers behind it."""

import re
import subprocess
import unittest

from harness import (CONSOLE_TITLE, COVER_CLASS, WM_POINTERACTIVATE, BesideAnotherProgram, RunTest, centred_on,
                     describe_windows, inside)
# RandR outputs of one X screen, (width, height, x, y) on its root; Wine makes the first the primary
# monitor at 0,0 and puts the others around it.
TWO = [(1024, 768, 0, 0), (800, 600, 1024, 0)]
# One left of the primary (negative coordinates) and one lower than it, smaller than both.
HTCLIENT = 1
THREE = [(1024, 768, 800, 0), (800, 600, 0, 0), (640, 480, 1824, 288)]


class SeveralMonitors(RunTest):
    """Each test a whole run of the joke with the settings window dragged to one monitor."""

    def desk(self):
        return self.helper("monitors")

    def brightest(self, name, area, desk):
        """The brightest value of any pixel of that part of the desk on the screen (0: all black).
        The X root has no negative coordinates: the desk's top left corner is its 0,0."""
        left, top = (min(m["window"][axis] for m in desk) for axis in "xy")
        shot = self.screenshot(name, {"window": dict(area, x=area["x"] - left, y=area["y"] - top)})
        return float(subprocess.run(["convert", str(shot), "-format", "%[fx:maxima]", "info:"], check=True,
                                    capture_output=True, text=True).stdout)

    def covers(self):
        return [w for w in self.helper("windows") if w["class"] == COVER_CLASS]

    def run_on(self, monitor, meanwhile=None):
        """The settings window on that monitor, then "OK", "ANO", the console and the box: each
        where the victim is, every other monitor black while the console types. `meanwhile`,
        given the monitor while the console types, gives the one the console is on after it."""
        area, desk = monitor["window"], self.desk()
        others = sorted((m["window"] for m in desk if m["window"] != area), key=lambda r: (r["x"], r["y"]))
        settings = self.wait_window()
        frame = settings["window"]
        settings = self.helper("move", f"#{settings['hwnd']}", area["x"] + (area["w"] - frame["w"]) // 2,
                               area["y"] + (area["h"] - frame["h"]) // 2)
        self.assertTrue(inside(settings["window"], area), f"the settings window on {area}")

        question = self.open_question()
        self.assertTrue(centred_on(question["window"], monitor["work"]), f"{question['window']} centred on {area}")

        self.click("ANO")
        console = self.until("the console over the monitor in use", lambda: self.wait_window(CONSOLE_TITLE),
                             lambda seen: seen["window"] == area)
        covers = self.until("a cover over every other monitor", self.covers,
                            lambda seen: sorted((w["window"] for w in seen), key=lambda r: (r["x"], r["y"])) == others,
                            show=lambda seen: [w["window"] for w in seen])
        for cover in covers:
            self.assertEqual((cover["title"], cover["owner"]), ("", console["hwnd"]), "no text, owned by the console")
        # Painted, not only made: each looked at until it shows what it should.
        self.until("text on the console", lambda: self.brightest(f"monitors-console-{area['x']}", area, desk),
                   lambda brightest: brightest > 0.5)
        for index, other in enumerate(others):
            self.until(f"the monitor at {other} black", lambda other=other, index=index: self.brightest(
                f"monitors-cover-{area['x']}-{index}", other, desk), lambda brightest: brightest == 0)
        self.screenshot(f"monitors-desk-{area['x']}")
        if meanwhile:
            monitor = meanwhile(monitor)

        box = self.wait_finale_box()
        self.until("the box centred on the console's monitor", lambda: self.session.window(f"#{box['hwnd']}"),
                   lambda seen: seen and centred_on(seen["window"], monitor["work"]),
                   show=lambda seen: seen and seen["window"])
        self.keys("ENTER", title=f"#{box['hwnd']}")
        self.assert_ended(page=True)
        self.assert_nothing_shown_at_the_shell_call(console, covers)

    def assert_nothing_shown_at_the_shell_call(self, console, covers):
        """In the trace, before the shell is asked for the page: the console hidden and every cover
        gone, so that whatever the launch shows opens in front."""
        lines = self.relay_log.read_text(errors="replace").splitlines()
        shell = next(i for i, line in enumerate(lines) if "Call shell32.ShellExecuteExA(" in line)
        shown = {}
        for line in lines[:shell]:
            if m := re.search(r"Call user32\.ShowWindow\(([0-9a-f]+),([0-9a-f]+)\)", line):
                shown[int(m.group(1), 16)] = int(m.group(2), 16) != 0
            elif m := re.search(r"Call user32\.DestroyWindow\(([0-9a-f]+)\)", line):
                shown[int(m.group(1), 16)] = False
        self.assertIs(shown.get(console["hwnd"]), False, "the console hidden before the shell call")
        for cover in covers:
            self.assertIs(shown.get(cover["hwnd"]), False, "each cover gone before the shell call")


class TwoMonitors(SeveralMonitors):
    """On the second monitor, the desk changes while the console types, as its RandR outputs can:
    a monitor added, resized and removed, and then the console's own."""

    monitors = TWO

    def test_the_joke_on_each_monitor_in_turn(self):
        for index, monitor in enumerate(self.desk()):
            with self.subTest(monitor=monitor["window"]):
                if index:
                    self.restart()
                self.run_on(monitor, self.change_the_desk if index else None)

    def assert_covered(self, what, console_on):
        """The console over that monitor and a cover over every other."""
        def look():
            monitors = [tuple(m["window"].values()) for m in self.desk()]
            windows = self.helper("windows")
            console = [tuple(w["window"].values()) for w in windows if w["title"] == CONSOLE_TITLE]
            covers = sorted(tuple(w["window"].values()) for w in windows if w["class"] == COVER_CLASS)
            return monitors, console, covers
        self.until(what, look, lambda seen: seen[1] == [console_on] and console_on in seen[0] and
                   seen[2] == sorted(m for m in seen[0] if m != console_on),
                   show=lambda seen: "monitors {}, console {}, covers {}".format(*seen))

    def change_the_desk(self, monitor):
        """Each time the console keeps its monitor and every other is covered anew; when the
        console's own monitor (the second) goes, the console moves to the main one."""
        second = tuple(monitor["window"].values())
        self.session.change_desk("--addmode", "DUMMY2", "640x480")
        self.session.change_desk("--fb", "2464x768", "--output", "DUMMY2", "--mode", "640x480", "--pos", "1824x0")
        self.assert_covered("a new monitor covered", second)
        self.session.change_desk("--addmode", "DUMMY2", "800x600")
        self.session.change_desk("--fb", "2624x768", "--output", "DUMMY2", "--mode", "800x600")
        self.assert_covered("the new monitor covered at its new size", second)
        self.session.change_desk("--output", "DUMMY2", "--off")
        self.assert_covered("no cover left where the new monitor was", second)
        self.session.change_desk("--output", "DUMMY1", "--off")
        main = next(m for m in self.desk() if m["primary"])
        self.assert_covered("the console on the main monitor, alone", tuple(main["window"].values()))
        return main


class ThreeMonitors(SeveralMonitors):
    monitors = THREE

    def test_the_joke_on_the_monitor_left_of_the_primary(self):
        self.run_on(next(m for m in self.desk() if m["window"]["x"] < 0))


class AnotherProgramTakesTheKeyboard(BesideAnotherProgram):
    """While the console types, another program takes the foreground (as Notepad may, or as Windows
    leaves it after a click into it during the freeze): the console and its covers drop behind it,
    and the keys go where the victim sees them."""

    monitors = TWO

    def assert_in_front(self, console):
        def in_front(windows):
            order = [w["hwnd"] for w in windows]
            return (any(w["hwnd"] == console["hwnd"] and w["foreground"] for w in windows) and
                    all(order.index(h) < order.index(self.other["hwnd"]) for h in [console["hwnd"], *(c["hwnd"] for c in self.covers)]))
        self.until("the console and its covers in front, with the keyboard", lambda: self.helper("windows"),
                   in_front, show=describe_windows)
        # And done with coming back, as after its first showing: see wait_console_in_front.
        self.helper("dump", f"#{console['hwnd']}")

    def test_the_console_drops_behind_it_and_comes_back_with_a_click(self):
        self.open_question()
        self.click("ANO")
        console = self.wait_console_in_front()
        self.covers = self.until("the cover", lambda: [w for w in self.helper("windows") if w["class"] == COVER_CLASS],
                                 lambda seen: len(seen) == 1)

        self.raise_the_other([console, *self.covers], above=False)
        edit = next(c for c in self.helper("dump", f"#{self.other['hwnd']}")["children"] if c["class"] == "Edit")
        self.keys("text:N", title=f"#{self.other['hwnd']}")
        self.until("the key in the other program", lambda: next(
            c["text"] for c in self.helper("dump", f"#{self.other['hwnd']}")["children"] if c["hwnd"] == edit["hwnd"]),
            lambda text: text == "N")

        # A click on the cover, then on the console itself, each brings the console back.
        cover = self.covers[0]["window"]
        self.helper("click-at", cover["x"] + cover["w"] // 2, cover["y"] + cover["h"] // 2)
        self.assert_in_front(console)
        self.raise_the_other([console, *self.covers], above=False)
        self.helper("click-at", *self.spot_clear_of(console["window"], self.session.wait(f"#{self.other['hwnd']}", 1)))
        self.assert_in_front(console)
        # A tap on a black monitor, as Windows 8 and later tell an inactive window of it.
        self.raise_the_other([console, *self.covers], above=False)
        self.helper("send", f"#{self.covers[0]['hwnd']}", WM_POINTERACTIVATE, HTCLIENT << 16 | 1, self.covers[0]["hwnd"])
        self.assert_in_front(console)

        # The box, once it waits, above the program that takes the keyboard; a click on the console
        # or on the black monitor gives the keyboard to the box, not to the console it has disabled.
        box = self.wait_finale_box()
        for where in ("the console", "the black monitor"):
            self.raise_the_other([box], above=True)
            other = self.session.wait(f"#{self.other['hwnd']}", 1)
            spot = self.spot_clear_of(console["window"] if where == "the console" else cover, other, box)
            with self.subTest(click_on=where):
                self.click_gives_the_box_the_keyboard(spot, box)
        self.keys("ENTER", title="-")
        self.assert_ended(page=True)


if __name__ == "__main__":
    unittest.main()
