"""The victim at random: one run of the program given seeded random input at every stage (clicks
anywhere on the window in front, double clicks, drags, keys, a click away on the desktop and
straight back, pauses), each stage then left the ordinary way, and checked for what must hold
whatever the input. Used by test_victim.py and by bench/soak.py --victims."""

import random
import re
import subprocess
import time

from harness import CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, MESSAGE_BOX_CLASS, error_reports, relay_calls

BURST = 12  # random actions at each stage
QUESTION_WIDTH = 402  # the question window's client width, which tells it from the settings window


def stamp(relay_log, pattern):
    """When the program first made the call the trace line matches, in seconds; None if never."""
    for line in relay_log.read_text(errors="replace").splitlines():
        if re.search(pattern, line):
            return float(line.split(":")[0])
    return None


class VictimRun:
    def __init__(self, session, process, relay_log, seed):
        self.session, self.process, self.relay_log, self.seed = session, process, relay_log, seed
        self.random = random.Random(seed)
        self.pid = None
        self.seen = []  # the stages in the order they came

    def stage(self):
        """Which of the joke's windows is up, seen from outside; None between two, or at the end."""
        windows = [w for w in self.session.helper("windows") if w["pid"] == self.pid]
        if any(w["class"] == MESSAGE_BOX_CLASS for w in windows):
            return "box"
        if any(w["title"] == CONSOLE_TITLE for w in windows):
            return "console"
        dialogs = [w for w in windows if w["class"] == DIALOG_CLASS]
        if dialogs:
            return "question" if dialogs[0]["client"]["w"] == QUESTION_WIDTH else "settings"
        return None

    def ended(self):
        return self.process.poll() is not None

    def wait(self, holds, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.ended() or holds(self.stage()):
                return True
            time.sleep(0.5)
        return False

    def leave(self, stage):
        """The stage left the ordinary way, as a user who wants to go on would; once more if a menu
        or a dropped list that the random input left open took the first click."""
        if stage == "console":
            return self.wait(lambda now: now != "console", 60)
        for _ in range(3):
            try:
                if stage == "settings":
                    self.session.helper("click-control", self.title, "OK")
                elif stage == "question":
                    self.session.helper("click-control", self.title, self.random.choice(["ANO", "NE"]))
                else:
                    box = self.session.helper("wait-class", MESSAGE_BOX_CLASS, 5000, check=False)
                    if box:
                        self.session.helper("keys", f"#{box['hwnd']}", "ENTER")
            except RuntimeError:
                pass  # the window went meanwhile, or did not come to the front: looked at below
            if self.wait(lambda now: now != stage, 10):
                return True
        return False

    def play(self):
        """Plays the run to its end; the problems found, none for a run that passed."""
        from wineenv import TITLE
        self.title = TITLE
        try:
            self.pid = self.session.helper("wait", TITLE, 60000)["pid"]
            deadline = time.monotonic() + 180
            while not self.ended():
                if time.monotonic() > deadline:
                    return [f"still running after 3 min, at {self.seen}"]
                stage = self.stage()
                if stage is None:
                    time.sleep(0.1)
                    continue
                if not self.seen or self.seen[-1] != stage:
                    self.seen.append(stage)
                self.session.helper("victim", self.pid, self.random.randrange(1 << 30), BURST)
                if not self.ended() and not self.leave(stage):
                    return [f"the {stage} stage could not be left the ordinary way; stages: {self.seen}"]
            return self.check_the_end()
        except (RuntimeError, subprocess.TimeoutExpired) as error:
            return [f"{error}; stages: {self.seen}"]

    def check_the_end(self):
        problems = []
        code = self.process.wait(timeout=60)
        if code != 0:
            problems.append(f"exit code {code}")
        reports = error_reports(self.relay_log)
        if reports:
            problems.append(f"error reports: {reports}")
        boxes = len(relay_calls(self.relay_log, "user32.MessageBoxW")) - len(reports)
        requests = len(relay_calls(self.relay_log, "shell32.ShellExecuteExA"))
        opened = self.session.opened_addresses(timeout=20 if boxes else 3)
        if boxes > 1 or requests != boxes or len(opened) != boxes:
            problems.append(f"{boxes} finale boxes, {requests} requests to the shell, pages opened: {opened}")
        if boxes:
            console = stamp(self.relay_log, r'Call user32\.CreateWindowExW\(.*L"' + CONSOLE_CLASS)
            box = stamp(self.relay_log, r"Call user32\.MessageBoxW\(")
            if console is None or not 15.5 <= box - console <= 18:
                problems.append(f"the box {box - console if console else '?'} s after the console, not about 16 s")
        left = [w["title"] for w in self.session.helper("windows") if w["pid"] == self.pid]
        if left:
            problems.append(f"windows left behind: {left}")
        return [f"{problem}; stages: {self.seen}" for problem in problems]
