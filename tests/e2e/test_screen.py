"""The screen around the joke: a new resolution while the console types, and another program's window
brought to the front, which Windows may leave in front of a program that asks for the foreground."""

import re
import subprocess
import unittest

from harness import CONSOLE_TITLE, MESSAGE_BOX_CLASS, TITLE, WM_CLOSE, BesideAnotherProgram, RunTest, inside
from wineenv import SCREEN


def same_pixels(first, second):
    """Whether two pictures of the same size have no pixel that differs."""
    result = subprocess.run(["compare", "-metric", "AE", str(first), str(second), "null:"], capture_output=True,
                            text=True)
    return result.stderr.strip() == "0"


class ResolutionChange(RunTest):
    """The console opens on an 800 x 600 screen, which then becomes smaller and then larger than it
    was when the console opened."""

    def setUp(self):
        self.helper("display-mode", 800, 600)
        super().setUp()

    def tearDown(self):
        super().tearDown()
        self.helper("display-mode", *SCREEN)

    def typed_rows(self):
        """Where the console has typed, read from the trace: [(y, text)] of each call in order."""
        return [(int(m.group(1), 16), m.group(2)) for line in self.relay_calls("gdi32.ExtTextOutW")
                for m in [re.search(r'ExtTextOutW\([0-9a-f]+,[0-9a-f]+,([0-9a-f]+),[0-9a-f]+,[0-9a-f]+,[0-9a-f]+ L"(.*?)"',
                                    line)] if m]

    def covers(self, width, height):
        self.until(f"the console covering {width} x {height}", lambda: self.wait_window(CONSOLE_TITLE)["window"],
                   lambda seen: seen == {"x": 0, "y": 0, "w": width, "h": height})

    def test_to_a_smaller_and_a_larger_screen_while_the_console_types(self):
        self.reach("console")
        self.covers(800, 600)
        # Eight lines typed, the ninth not yet begun (it comes 2.8 s later).
        rows = self.until("the line about the error", self.typed_rows,
                          lambda seen: any(text.startswith("Vyskytla") for _, text in seen))
        line = sorted({y for y, _ in rows})[1]  # the second line's top: one line's height
        typed = {"x": 0, "y": 0, "w": 800, "h": 8 * line}
        before = self.screenshot("resolution-before", {"window": typed})

        self.helper("display-mode", 640, 480)
        self.covers(640, 480)
        smaller = self.screenshot("resolution-smaller", {"window": dict(typed, w=640)})
        left = before.with_name("resolution-before-left.png")
        subprocess.run(["convert", str(before), "-crop", "640x+0+0", "+repage", str(left)], check=True)
        self.assertTrue(same_pixels(smaller, left), "the lines where they were, cut at 640 px")

        self.helper("display-mode", *SCREEN)
        self.covers(*SCREEN)
        larger = self.screenshot("resolution-larger", {"window": typed})
        self.assertTrue(same_pixels(larger, before), "every line whole again, where it was")

        box = self.wait_finale_box()
        self.assert_the_finale_comes_after_sixteen_seconds()
        self.keys("ENTER", title=f"#{box['hwnd']}")
        self.assert_ended(page=True)


class WorkArea(RunTest):
    """The settings window where the system would put it, partly off the screen and over a taskbar
    along the bottom: a shortcut can ask for any place for a program's first window. (A desk of its
    own: Wine's virtual desktop makes its work area the whole screen, its taskbar or none.)"""

    monitors = [(*SCREEN, 0, 0)]
    work_area = (0, 0, SCREEN[0], SCREEN[1] - 28)

    def setUp(self):
        self.process = None  # started by the test, at a place of its choosing

    def tearDown(self):
        window = self.session.window(TITLE)
        if window:
            self.helper("post", f"#{window['hwnd']}", WM_CLOSE)
        self.session.gone(TITLE)

    def test_the_settings_window_lies_inside_the_work_area(self):
        program = "Z:" + str(self.session.program).replace("/", "\\")
        self.helper("start-at", SCREEN[0] - 100, SCREEN[1] - 60, program)
        window = self.session.wait(TITLE, 60)
        work = self.screen()["work"]
        self.assertEqual(tuple(work.values()), self.work_area, "the desk's work area, as Wine took it")
        self.assertTrue(inside(window["window"], work), f"{window['window']} inside {work}")


class AnotherProgramInFront(BesideAnotherProgram):
    """Another program's window brought to the front: the console drops behind it, since the keys go
    there; the finale's box, small, stays above every window."""
    def test_during_the_freeze_the_console_and_the_box(self):
        self.reach("freeze")
        self.helper("raise", f"#{self.other['hwnd']}")  # a click into it while the joke is frozen
        # Wine gives the console the foreground (Windows would not): once it has it, the other
        # program takes it back.
        console = self.wait_console_in_front()
        self.raise_the_other([console], above=False)
        box = self.wait_finale_box()
        self.assertEqual(box["class"], MESSAGE_BOX_CLASS)
        self.raise_the_other([box], above=True)
        # A click on the console gives the keyboard to the box, which the victim dismisses with Enter.
        other = self.session.wait(f"#{self.other['hwnd']}", 1)
        self.click_gives_the_box_the_keyboard(self.spot_clear_of(console["window"], other, box), box)
        self.keys("ENTER", title="-")
        self.assert_ended(page=True)


if __name__ == "__main__":
    unittest.main()
