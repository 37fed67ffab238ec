"""The victim does anything, in any order: seeded random input at every stage, and the click that
comes back from the desktop straight onto a button. The program never hangs, never reports a
failure, never shows two of its windows at once, and ends with exit code 0. VICTIM_SEEDS="7 8"
replays the runs of those seeds (bench/soak.py --victims runs many)."""

import os
import random
import time
import unittest

from harness import CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, MESSAGE_BOX_CLASS, TITLE, RunTest, is_question

SEEDS = [int(seed) for seed in os.environ.get("VICTIM_SEEDS", "1 2 3").split()]
BURST = 12  # random actions at each stage


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
    """Each run gives the program random input at every stage (clicks anywhere on the window in
    front, double clicks, drags, keys, a click away on the desktop and straight back, pauses),
    checked as it goes by the helper; each stage is then left the ordinary way, as a user who wants
    to go on would, and the end checked as every run's is."""

    def stage(self, pid):
        """Which of the joke's windows is up; None between two, or at the end."""
        windows = [w for w in self.helper("windows") if w["pid"] == pid]
        if any(w["class"] == MESSAGE_BOX_CLASS for w in windows):
            return "box"
        if any(w["title"] == CONSOLE_TITLE for w in windows):
            return "console"
        dialogs = [w for w in windows if w["class"] == DIALOG_CLASS]
        return ("question" if is_question(dialogs[0]) else "settings") if dialogs else None

    def left(self, stage, pid, timeout):
        try:
            self.until(f"the {stage} stage left", lambda: self.process.poll() is not None or self.stage(pid) != stage,
                       timeout=timeout)
            return True
        except self.failureException:
            return False

    def leave(self, stage, pid, dice):
        """Once more if a menu or a dropped list that the random input left open took the click."""
        if stage == "console":
            self.assertTrue(self.left(stage, pid, 60), "the console ended by itself")
            return
        for _ in range(3):
            try:
                if stage == "box":
                    self.keys("ENTER", title=f"#{self.helper('wait-class', MESSAGE_BOX_CLASS, 5000)['hwnd']}")
                else:
                    self.helper("click-control", TITLE, "OK" if stage == "settings" else dice.choice(["ANO", "NE"]))
            except RuntimeError:
                pass  # the window went meanwhile, or did not come to the front: looked at below
            if self.left(stage, pid, 10):
                return
        self.fail(f"the {stage} stage could not be left the ordinary way")

    def test_seeded_runs(self):
        for index, seed in enumerate(SEEDS):
            with self.subTest(seed=seed):
                if index:
                    self.restart()
                begun, dice, seen, given = time.monotonic(), random.Random(seed), [], []
                pid = self.helper("wait", TITLE, 60000)["pid"]
                while self.process.poll() is None:
                    self.assertLess(time.monotonic() - begun, 180, f"still running after 3 min, at {seen}")
                    stage = self.stage(pid)
                    if stage is None:
                        time.sleep(0.1)
                        continue
                    seen += [stage] if seen[-1:] != [stage] else []
                    given += [r for r in self.helper("victim", pid, dice.randrange(1 << 30), BURST) if "action" in r]
                    if self.process.poll() is None:
                        self.leave(stage, pid, dice)
                # What the run must have done follows from what was given: without an input that
                # ends the joke (or may), each stage in turn, then the finale, the box and the page.
                quits = {r.get("quits", "no") for r in given} - {"no"}
                boxes = self.finale_boxes()
                self.assertLessEqual(boxes, 1, "finale boxes")
                if not quits:
                    self.assertEqual(boxes, 1, f"the finale's box, after {len(given)} inputs none of which ends the joke")
                self.assert_ended(page=boxes == 1)
                if boxes:
                    self.assert_the_finale_comes_after_sixteen_seconds()
                # Never back to a stage (one may pass within a burst unseen), and a console only
                # after a question.
                stages = ["settings", "question", "console", "box"]
                self.assertEqual(seen, sorted(seen, key=stages.index), "the stages in turn")
                if self.windows_created(CONSOLE_CLASS):
                    self.assertEqual(self.windows_created(DIALOG_CLASS), 2, "the settings window, then a question")
                print(f"victim seed {seed}: passed in {time.monotonic() - begun:.1f} s, stages {' '.join(seen)}, "
                      f"inputs that end the joke: {', '.join(sorted(quits)) or 'none'}", flush=True)


if __name__ == "__main__":
    unittest.main()
