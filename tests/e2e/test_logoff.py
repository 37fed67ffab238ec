"""Log-off and shutdown: at every stage, the freeze after "NE" included, every window of the program
agrees to the end of the session within 500 ms, and the end of the session ends the program quietly:
exit code 0, no error report, no page, nothing left behind."""

import unittest

from harness import RunTest


class LogOff(RunTest):
    def test_at_every_stage(self):
        def log_off(stage, window):
            answer = self.helper("log-off", f"#{window['hwnd']}")
            self.assertEqual(answer["agreed"], 1, "every window lets the session end")
            self.assertGreaterEqual(answer["slowest"], 0, "every window answered")
            self.assertLess(answer["slowest"], 500, "the slowest answer, in ms")
            self.assert_ended_cleanly(page=False)
        self.at_every_stage(log_off)


if __name__ == "__main__":
    unittest.main()
