"""Log-off and shutdown: at every stage, the freeze after "NE" included, every window of the program
agrees to the end of the session, and the end of the session ends the program quietly: exit code 0,
no error report, no page, nothing left behind."""

import re
import unittest

from harness import RunTest


WM_QUERYENDSESSION, WM_ENDSESSION, ENDSESSION_LOGOFF = 0x0011, 0x0016, 0x80000000


class LogOff(RunTest):
    def log_off(self, window):
        """As a log-off asks every top-level window of the program whether the session may end, and,
        all having agreed, tells each that it ends: the answers to the question."""
        asked = self.helper("send-all", f"#{window['hwnd']}", WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, check=False)
        if asked and all(answer["result"] for answer in asked):
            self.helper("send-all", f"#{window['hwnd']}", WM_ENDSESSION, 1, ENDSESSION_LOGOFF, check=False)
        return asked

    def test_at_every_stage(self):
        def log_off(stage, window):
            asked = self.asked_during_the_freeze(stage, window, self.log_off)
            self.assertEqual([answer["result"] for answer in asked if not answer["result"]], [],
                             "every window lets the session end")
            # Windows lists a program that has not answered in 5 s as keeping the session from ending.
            self.assertLess(max(answer["answered"] - answer["sent"] for answer in asked), 5000,
                            f"every window answered in time: {asked}")
            self.assert_ended(page=False, finale=stage == "box")
            if stage == "freeze":
                self.assert_answered_during_the_freeze()
        self.at_every_stage(log_off)

    def assert_answered_during_the_freeze(self):
        """The freeze sleeps in slices: the first answer comes after the swap, and more of the freeze
        after it. (Each window is asked once the one before has answered: the last may be asked as
        the freeze ends.)"""
        trace = self.relay_log.read_text(errors="replace").splitlines()
        swapped = next(i for i, line in enumerate(trace) if "Call user32.SetWindowTextW" in line and 'L"ANO"' in line)
        sleeps = [i for i, line in enumerate(trace) if re.search(r"(?i)Call kernel32\.Sleep\(", line)]
        answers = [i for i, line in enumerate(trace) if "Ret  window proc" in line and "msg=WM_QUERYENDSESSION" in line]
        self.assertTrue(answers, "the windows' answers in the trace")
        self.assertTrue(swapped < answers[0] and any(i > answers[0] for i in sleeps),
                        "answered while the freeze went on, not after it")


if __name__ == "__main__":
    unittest.main()
