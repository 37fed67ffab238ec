"""The joke keeps the foreground from one window to the next, with another program's window open
beside it: Windows refuses the foreground to a program that lost it, so a window of another
program that comes to the front at a hand-over, even for a moment, would keep it there."""

import unittest

from harness import CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, MESSAGE_BOX_CLASS, BesideAnotherProgram

OWNER_CLASS = "TajneNastaveniVlastnik"
JOKE_CLASSES = {DIALOG_CLASS, CONSOLE_CLASS, MESSAGE_BOX_CLASS, OWNER_CLASS}


class Foreground(BesideAnotherProgram):
    def watch_the_run(self, answer):
        """Runs the joke through with the answer, the foreground window watched from the moment the
        user clicks into the settings window until the program ends: [(ms, hwnd, class)]."""
        settings = self.wait_window()
        self.click("Sekni se po")  # the user's last input goes to the joke
        self.helper("watch-foreground", 120000)
        try:
            self.click("OK")
            question = self.wait_question()
            self.click(answer)
            console = self.wait_window(CONSOLE_TITLE)
            box = self.wait_finale_box()
            self.keys("ENTER", title=f"#{box['hwnd']}")
            self.assertEqual(self.expect_exit(timeout=60), 0)
        finally:
            seen = self.helper("watched")
        return [(int(r["ms"]), r["hwnd"], r["class"]) for r in seen], [settings, question, console, box]

    def assert_kept_the_foreground(self, seen, windows):
        # Up to the program's end: its last window in front, then whatever the system chooses.
        last = max(i for i, (_, _, name) in enumerate(seen) if name in JOKE_CLASSES)
        timeline = ", ".join(f"{ms} ms {name or '(none)'}" for ms, _, name in seen)
        for ms, _, name in seen[:last + 1]:
            self.assertIn(name, JOKE_CLASSES, f"another window in front at {ms} ms: {timeline}")
        # Each window of the joke, once shown, in front, in order.
        order = [hwnd for _, hwnd, _ in seen[:last + 1]]
        shown = [w["hwnd"] for w in windows]
        firsts = [order.index(hwnd) if hwnd in order else None for hwnd in shown]
        self.assertNotIn(None, firsts, f"each of the joke's windows in front: {timeline}")
        self.assertEqual(firsts, sorted(firsts), f"in the order they showed: {timeline}")

    def test_through_yes(self):
        self.assert_kept_the_foreground(*self.watch_the_run("ANO"))

    def test_through_no_and_the_freeze(self):
        self.assert_kept_the_foreground(*self.watch_the_run("NE"))


if __name__ == "__main__":
    unittest.main()
