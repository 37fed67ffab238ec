"""The victim does anything, in any order: seeded random input at every stage, and the click that
comes back from the desktop straight onto a button. The program never hangs, never reports a
failure, never shows two of its windows at once, and ends with exit code 0. VICTIM_SEEDS="7 8"
replays the runs of those seeds."""

import os
import unittest

from harness import CONSOLE_TITLE, TITLE, RunTest
from victim import VictimRun

SEEDS = [int(seed) for seed in os.environ.get("VICTIM_SEEDS", "1 2 3").split()]


class ClickBack(RunTest):
    """A click on an inactive window activates it, and the dialog manager gives the focus back to the
    control that had it; the same click then presses the button under the pointer."""

    def test_from_the_desktop_straight_onto_another_button(self):
        cases = [("question", [], "ANO", "NE", CONSOLE_TITLE),
                 ("question", ["TAB"], "NE", "ANO", CONSOLE_TITLE),
                 ("settings", ["SHIFT+TAB"], "Storno", "OK", None)]
        for index, (stage, keys, focus, button, then) in enumerate(cases):
            with self.subTest(stage=stage, focus=focus, click=button):
                if index:
                    self.restart()
                self.reach(stage)
                if keys:
                    self.keys(*keys)
                self.wait_focus(focus)
                self.helper("click-back", TITLE, button)
                if then:
                    self.wait_window(then, timeout_ms=60000)
                else:
                    self.wait_question()


class RandomVictim(RunTest):
    def test_seeded_runs(self):
        for index, seed in enumerate(SEEDS):
            with self.subTest(seed=seed):
                if index:
                    self.restart()
                problems = VictimRun(self.session, self.process, self.relay_log, seed).play()
                self.assertEqual(problems, [], f"seed {seed}; replay: VICTIM_SEEDS={seed} ./test -R e2e_test_victim")


if __name__ == "__main__":
    unittest.main()
