"""The victim does anything, in any order: seeded random input at every stage, and the click that
comes back from the desktop straight onto a button. The program never hangs, never reports a
failure, never shows two of its windows at once, and ends with exit code 0. VICTIM_SEEDS="7 8"
replays the runs of those seeds (bench/soak.py --victims runs many)."""

import os
import random
import time
import unittest

from harness import (CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, MESSAGE_BOX_CLASS, TITLE, WM_CLOSE, RunTest,
                     describe_windows, inside, is_question)

SEEDS = [int(seed) for seed in os.environ.get("VICTIM_SEEDS", "1 2 6").split()]
BURST = 12  # random actions at each stage
KEYS = ["TAB", "SHIFT+TAB", "UP", "DOWN", "LEFT", "RIGHT", "ENTER", "SPACE", "ALT+SPACE", "F"]
MOVING_THE_FOCUS = {"TAB", "SHIFT+TAB", "UP", "DOWN", "LEFT", "RIGHT"}
HTSYSMENU, HTCLOSE = 3, 20  # where on a window a press lands: the window menu's icon, the close box
WM_NULL, WS_VISIBLE = 0x0000, 0x10000000


def middle(window, control=None):
    """The middle of the window, or of one of its controls as its dump gives it."""
    if control is None:
        return window["window"]["x"] + window["window"]["w"] // 2, window["window"]["y"] + window["window"]["h"] // 2
    rect = control["rect"]
    return window["client"]["x"] + rect["x"] + rect["w"] // 2, window["client"]["y"] + rect["y"] + rect["h"] // 2


class Victim(RunTest):
    """A victim's hands: among others, a click away on the desktop and straight back."""

    def in_front(self):
        return next((w for w in self.helper("windows") if w["foreground"]), None)

    def empty_spot(self):
        """A point of the screen where only the desktop is, for a click that activates no window;
        None where the console covers it all."""
        screen, windows = self.screen(), self.helper("windows")
        return next(((x, y) for y in range(screen["h"] - 60, 0, -37) for x in range(10, screen["w"], 41)
                     if not any(inside({"x": x, "y": y, "w": 1, "h": 1}, w["window"]) for w in windows)), None)

    def away_and_back(self, window, point, timeout=2):
        """A click away, and, once the window has left the front (waiting up to `timeout`), one
        click straight back at the point: whether it left, and what the click back landed on."""
        away, left = self.empty_spot(), False
        if away:
            self.helper("click-at", *away)
            left = self.until("another window in front", lambda: (self.in_front() or {}).get("hwnd") != window["hwnd"],
                              timeout=timeout, otherwise=False)
        return left, self.helper("click-at", *point)


class ClickBack(Victim):
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
                window = self.helper("dump", TITLE)
                left, _ = self.away_and_back(window, middle(window, self.control(button, window)), timeout=30)
                self.assertTrue(left, "the window left the front on a click on the desktop")
                if then:
                    self.wait_window(then, timeout_ms=60000)
                else:
                    self.wait_question()


class RandomVictim(Victim):
    """Each run gives the program random input at every stage (clicks anywhere on the window in
    front, double clicks, drags, keys, a click away on the desktop and straight back, pauses),
    checked as it goes; each stage is then left the ordinary way, as a user who wants to go on
    would, and the end checked as every run's is."""

    def check(self, pid, given):
        """What holds whatever the victim does: never two of the program's main windows at once, and
        the program answering within 4 s (the freeze after "NE" is its one pause, 2 s). Wine's own
        About box, which its window menu has and Windows' has not, is closed. Gives the program's
        visible windows, topmost first."""
        windows = [w for w in self.helper("windows") if w["pid"] == pid]
        self.assertLessEqual(len([w for w in windows if w["class"] in (DIALOG_CLASS, CONSOLE_CLASS)]), 1,
                             f"two of the program's main windows at once: {describe_windows(windows)}, after "
                             f"{given[-3:]}")
        for about in (w for w in windows if w["class"] == MESSAGE_BOX_CLASS and w["title"] != TITLE):
            self.helper("post", f"#{about['hwnd']}", WM_CLOSE, check=False)
        answer = windows and self.helper("send", f"#{windows[0]['hwnd']}", WM_NULL, check=False)
        if answer:  # else gone meanwhile
            self.assertLessEqual(answer["answered"] - answer["sent"], 4000, f"the program's answer, after {given[-3:]}")
        return windows

    def burst(self, pid, dice, given, stage):
        """BURST random actions on the program's window in front, each after the checks, recorded
        with the stage they were given at."""
        screen = self.screen()
        for _ in range(BURST):
            target = self.until("a window of the joke to act on, or its end", lambda: self.process.poll() is not None or
                                self.target(self.check(pid, given)))
            if target is True:
                return
            given.append(dict(self.give(pid, target, screen, dice), stage=stage))
            time.sleep(dice.uniform(0.03, 0.15))
        if self.process.poll() is None:
            self.check(pid, given)

    @staticmethod
    def target(windows):
        """The window a victim acts on: the program's in front, else its topmost main window or box;
        none between two, or while it has no size yet."""
        target = next((w for w in windows if w["foreground"]), None) or next(
            (w for w in windows if w["class"] in (DIALOG_CLASS, CONSOLE_CLASS, MESSAGE_BOX_CLASS)), None)
        return target if target and target["window"]["w"] and target["window"]["h"] else None

    def give(self, pid, target, screen, dice):
        """One random action on the target window, and whether it ends the joke before its finale:
        "yes", "maybe" (where a later input may, or where it depends on where a press is let go) or
        "no", judged from what the input lands on as it is given."""
        area = target["window"]

        def point():
            return (min(max(dice.randint(area["x"], area["x"] + area["w"] - 1), 0), screen["w"] - 1),
                    min(max(dice.randint(area["y"], area["y"] + area["h"] - 1), 0), screen["h"] - 1))
        pick = dice.randrange(100)
        if pick < 36:
            clicks = 1 if pick < 30 else 2
            at = point()
            return dict(action="click" if clicks == 1 else "double-click", at=at,
                        quits=self.click_quits(target, self.helper("click-at", *at, clicks), clicks))
        if pick < 42:
            # Small enough that a dragged window stays on the screen, and its buttons with it.
            at, dx, dy = point(), dice.randint(-40, 40), dice.randint(-40, 40)
            dx = -dx if area["x"] + dx < 0 or area["x"] + area["w"] + dx > screen["w"] else dx
            dy = -dy if area["y"] + dy < 0 or area["y"] + area["h"] + dy > screen["h"] else dy
            pressed = self.click_quits(target, self.helper("drag", *at, dx, dy), 1)
            return dict(action="drag", at=at, by=(dx, dy), quits="no" if pressed == "no" else "maybe")
        if pick < 86:
            # Keys go to the window in front: when that is not the program's (after a click away),
            # the victim clicks back into it first. They go only to the program: Wine's desktop
            # ends the whole session on Alt+F4, where Windows would ask first.
            key, quits = self.random_key(dice), "no"
            if not target["foreground"]:
                quits = self.click_quits(target, self.helper("click-at", *point()), 1)
            if not self.until("the program in front", lambda: (self.in_front() or {}).get("pid") == pid, timeout=1,
                              otherwise=False):
                return dict(action="key-not-given", key=key, quits=quits)
            by_key = self.key_quits(target, key)
            self.helper("keys", "-", key)
            return dict(action="key", key=key, quits=quits if quits == "yes" or by_key == "no" else by_key)
        if pick < 95:
            window = self.helper("dump", f"#{target['hwnd']}", check=False) or target
            control = dice.choice([None] + [c for c in window.get("children", [])
                                            if c["enabled"] and c["style"] & WS_VISIBLE])
            _, under = self.away_and_back(target, middle(window, control))
            return dict(action="away-and-back", to=control and control["text"],
                        quits=self.click_quits(target, under, 1))
        ms = dice.randint(100, 1000)
        time.sleep(ms / 1000)
        return dict(action="pause", ms=ms, quits="no")

    @staticmethod
    def random_key(dice):
        pick = dice.randrange(100)
        # Esc and Alt+F4 end most windows of the joke: rarer, so that most runs see every stage.
        if pick < 4:
            return "ESC" if pick < 2 else "ALT+F4"
        if pick < 30:
            return ("ALT+" if dice.randrange(3) == 0 else "") + chr(ord("A") + dice.randrange(26))
        key = dice.choice(KEYS)
        return f"F{dice.randint(1, 12)}" if key == "F" else key

    @staticmethod
    def click_quits(target, under, clicks):
        """A click on "Storno" or on a close box ends the joke, a double click on the window menu's
        icon too, and one click there opens the menu, where a later key may. The finale's box ends
        the joke as it should, whatever closes it."""
        if target["class"] == MESSAGE_BOX_CLASS or under["root"] != target["hwnd"]:
            return "no"
        if under["control"] != under["root"]:
            return "yes" if under["text"] == "Storno" else "no"
        return {HTCLOSE: "yes", HTSYSMENU: "yes" if clicks == 2 else "maybe"}.get(under["hit"], "no")

    def key_quits(self, target, key):
        """Alt+F4 ends the joke, and Esc in the settings window (it has a cancel button), and Enter or
        Space with the focus on "Storno"; Alt+Space and F10 open the window menu, where a later key
        may, and Enter or Space may once the focus may have moved to "Storno" unseen."""
        if target["class"] == MESSAGE_BOX_CLASS:
            return "no"
        if key in ("ALT+F4", "ALT+SPACE", "F10"):
            return "yes" if key == "ALT+F4" else "maybe"
        if target["class"] != DIALOG_CLASS or is_question(target):
            return "no"
        if key == "ESC":
            return "yes"
        self.focus_moved = self.focus_moved or key in MOVING_THE_FOCUS
        if key not in ("ENTER", "SPACE"):
            return "no"
        focus = (self.helper("dump", f"#{target['hwnd']}", check=False) or {}).get("focus") or {}
        return "yes" if focus.get("text") == "Storno" else "maybe" if self.focus_moved else "no"

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
        return self.until(f"the {stage} stage left", lambda: self.process.poll() is not None or self.stage(pid) != stage,
                          timeout=timeout, otherwise=False)

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
                self.focus_moved = False
                pid = self.session.wait(TITLE, 60)["pid"]
                while self.process.poll() is None:
                    self.assertLess(time.monotonic() - begun, 180, f"still running after 3 min, at {seen}")
                    stage = self.until("one of the joke's windows, or its end",
                                       lambda: self.stage(pid) or self.process.poll() is not None)
                    if stage is True:
                        break
                    seen += [stage] if seen[-1:] != [stage] else []
                    self.burst(pid, dice, given, stage)
                    if self.process.poll() is None:
                        self.leave(stage, pid, dice)
                # What the run must have done follows from what was given. An input that ends the
                # joke (or may) does so at the stage it is given at, and the box ends it as it
                # should: without one at the stage the run ended at, each stage came in turn, then
                # the finale, the box and the page.
                quits = [a for a in given if a["stage"] == seen[-1] != "box" and a["quits"] != "no"]
                boxes = self.finale_boxes()
                self.assertLessEqual(boxes, 1, "finale boxes")
                if not quits:
                    self.assertEqual(boxes, 1, f"the finale's box, the run having ended at the {seen[-1]} stage "
                                               f"without an input that ends the joke there: {given[-8:]}")
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
                      f"inputs that may end the joke at its last stage: {quits or 'none'}", flush=True)


if __name__ == "__main__":
    unittest.main()
