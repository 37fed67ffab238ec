"""The chain of windows, seen from outside: each way out of a window that ends the program there,
with no window after it."""

import unittest

from harness import CONSOLE_CLASS, DIALOG_CLASS, SC_CLOSE, WM_SYSCOMMAND, RunTest


class WaysOut(RunTest):
    # Each way out that a window of the joke has, before the finale: Storno, Esc, the close box of
    # the title bar and Alt+F4 (the console has neither frame nor keys of its own but Alt+F4).
    CASES = [("settings", "Storno"), ("settings", "ESC"), ("settings", "close"), ("settings", "ALT+F4"),
             ("question", "close"), ("question", "ALT+F4"), ("console", "ALT+F4")]

    def test_each_ends_the_program_without_another_window(self):
        for index, (stage, way) in enumerate(self.CASES):
            with self.subTest(stage=stage, way=way):
                if index:
                    self.restart()
                window = self.reach(stage)
                if stage == "console":
                    self.until("the console typing", lambda: self.relay_calls("gdi32.ExtTextOutW"))
                if way == "Storno":
                    self.click(way)
                elif way == "close":
                    self.helper("post", f"#{window['hwnd']}", WM_SYSCOMMAND, SC_CLOSE)
                else:
                    self.keys(way, title=f"#{window['hwnd']}")
                self.assert_ended(finale=False)
                self.assertEqual(self.windows_created(DIALOG_CLASS), 1 if stage == "settings" else 2)
                self.assertEqual(self.windows_created(CONSOLE_CLASS), int(stage == "console"))


if __name__ == "__main__":
    unittest.main()
