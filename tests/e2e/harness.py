"""What every end-to-end test shares: the running session, the program under test, and ways to
look at it from outside."""

import atexit
import os
import re
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
from wineenv import NEVER, TITLE, WineSession, describe_windows, is_question, unescape, until  # noqa: E402

CONSOLE_TITLE = "Form3"
ERROR_REPORT_START = "Chyba za běhu programu."
DIALOG_CLASS = "TajneNastaveniDialog"
CONSOLE_CLASS = "TajneNastaveniOkno"
COVER_CLASS = "TajneNastaveniZaves"  # black, over each monitor but the console's
MESSAGE_BOX_CLASS = "#32770"
ASSETS = Path(__file__).resolve().parents[2] / "assets"
SS_ICON = 0x03
# Window styles
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_POPUP, WS_BORDER = 0x00020000, 0x00010000, 0x80000000, 0x00800000
WS_EX_APPWINDOW, WS_EX_TOOLWINDOW = 0x00040000, 0x00000080
# Messages the tests post or send, and WM_SYSCOMMAND's SC_CLOSE: what the close box asks.
WM_CLOSE, WM_SYSCOMMAND, BM_CLICK, WM_POINTERACTIVATE, SC_CLOSE = 0x0010, 0x0112, 0x00F5, 0x024B, 0xF060
# What Wine's shell runs to open a page: it starts the stand-in browser.
LAUNCHERS = {"winebrowser.exe"}


def build_dir():
    return Path(os.environ["E2E_BUILD_DIR"])


def relay_calls(relay_log, function):
    """Lines of a relay trace that call the function, e.g. 'user32.MessageBeep'."""
    if not relay_log.exists():
        return []
    pattern = re.compile(r"Call " + re.escape(function) + r"\(", re.IGNORECASE)
    return [line for line in relay_log.read_text(errors="replace").splitlines() if pattern.search(line)]


def error_reports(relay_log):
    """The program's run-time error reports in a relay trace, as their text reads: which call failed
    and its error code."""
    found = []
    for line in relay_calls(relay_log, "user32.MessageBoxW"):
        text = re.search(r'L"(.*?)",[0-9a-f]+ L"', line)
        if text and unescape(text.group(1)).startswith(ERROR_REPORT_START):
            found.append(re.sub(r"\\r\\n(\\r\\n)?", " ", unescape(text.group(1))))
    return found


def busy(window):
    """Whether a dump of the window found its program too busy to answer: its controls then read
    as empty, and the helper marks them."""
    return any(control.get("hung") or busy(control) for control in window["children"])


def inside(rect, area):
    return (area["x"] <= rect["x"] and rect["x"] + rect["w"] <= area["x"] + area["w"] and
            area["y"] <= rect["y"] and rect["y"] + rect["h"] <= area["y"] + area["h"])


def centred_on(rect, area):
    """Whether the rectangle is centred on the area, within a pixel (an odd difference has no
    middle pixel)."""
    return (abs(2 * rect["x"] + rect["w"] - 2 * area["x"] - area["w"]) <= 2 and
            abs(2 * rect["y"] + rect["h"] - 2 * area["y"] - area["h"]) <= 2)


_sessions = {}


def session_for(name, monitors=None, work_area=None):
    """The Wine session of one group of tests, started on first use and stopped when the group's
    process ends. Groups run side by side, each in a session of its own: a group that is one class
    of a module names its own in E2E_SESSION. `monitors`: a desk of its own, `work_area`: its primary
    monitor's (see WineSession)."""
    name = os.environ.get("E2E_SESSION", name) + (f"-{len(monitors)}-monitors" if monitors else "") + \
        ("-work-area" if work_area else "")
    if name not in _sessions:
        session = WineSession(build_dir(), name, monitors, work_area=work_area)
        session.stop()  # whatever an interrupted run left
        session.start()
        atexit.register(session.stop)
        _sessions[name] = session
    return _sessions[name]


def artifacts():
    path = build_dir() / "e2e-artifacts"
    path.mkdir(exist_ok=True)
    return path


class ProgramTest(unittest.TestCase):
    """Each test starts the program afresh, with Wine's relay trace of the calls it makes."""

    relay = True
    trace = ""  # more of Wine's trace channels, such as ",+font"
    monitors = None  # one, Wine's virtual desktop; or a desk of its own, as WineSession takes it
    work_area = None  # on a desk of its own, the primary monitor's, as a taskbar leaves it

    @classmethod
    def setUpClass(cls):
        cls.session = session_for(cls.__module__, cls.monitors, cls.work_area)
        if cls.monitors:
            # A desk that Wine does not take for as many monitors would test nothing of them (as
            # Wine 10 gives every head of Xinerama the same rectangle).
            areas = {tuple(m["window"].values()) for m in cls.session.helper("monitors")}
            if len(areas) != len(cls.monitors):
                raise RuntimeError(f"this Wine makes no desk of {len(cls.monitors)} monitors of the X server's "
                                   f"RandR outputs: it gives them {len(areas)} rectangle(s), {sorted(areas)}")

    def setUp(self):
        channels = {"WINEDEBUG": "-all,+relay,+timestamp" + self.trace} if self.trace else None
        self.start_program(f"{self.id().split('.')[-2]}.{self._testMethodName}.relay.txt", relay=self.relay,
                           extra_env=channels, program=self.program())

    def start_program(self, relay_log, failing_calls=None, **launch):
        """A fresh run of the program, its standard error and trace in relay_log (in the artifacts)."""
        # A page the last run asked for may still be on its way: it is not this run's.
        self.wait_for_the_shell()
        self.session.browser_log.unlink(missing_ok=True)
        self.relay_log, self.failing_calls = artifacts() / relay_log, failing_calls
        self.process = self.session.launch(relay_log=self.relay_log, **launch)

    def wait_for_the_shell(self):
        """Until none of the processes runs by which Wine's shell opens a page."""
        self.until("the shell's launches over", lambda: [p["exe"] for p in self.helper("processes")
                                                         if p["exe"].lower() in LAUNCHERS], lambda seen: not seen)

    def program(self):
        """The program each test starts: None for the session's, GCC's build of the shipped program."""
        return None

    def start_failing(self, calls, relay=False):
        """The test build in which the named calls fail, in place of the test's program (if any)."""
        ProgramTest.tearDown(self)
        self.start_program(f"{type(self).__name__}.{self._testMethodName}.{calls.replace(',', '+')}.txt", calls,
                           relay=relay, program=self.session.faults_program, extra_env={"NASTAVENI_FAIL": calls})

    def tearDown(self):
        if self.process is None:  # a test that starts its program itself has not yet
            return
        if not self._outcome.success:
            self.report_the_program()
        if self.process.poll() is None and self.failing_calls:
            # Ended as "End task" ends it, so that it says which of its chosen failures it never made.
            for title in (TITLE, CONSOLE_TITLE):
                if self.helper("post-all", title, WM_CLOSE, check=False):
                    break
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                pass
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        # Nothing of this run may be left on the desktop for the next one to act on.
        self.session.gone(TITLE, CONSOLE_TITLE)
        self.assert_every_chosen_failure_made()

    def assert_every_chosen_failure_made(self):
        """The test build, as it ends, says which of the calls it was asked to fail it never made
        fail: a test whose list names a call that was renamed, misspelt or never reached tests
        nothing. Said by every run that ended by itself; one that had to be killed said nothing."""
        if self.failing_calls:
            said = [line for line in self.relay_log.read_text(errors="replace").splitlines()
                    if line.startswith("nastaveni_faults: never made to fail:")]
            self.assertEqual(said, ["nastaveni_faults: never made to fail:"],
                             f"every call of {self.failing_calls!r} made to fail, said as the program ended")

    def report_the_program(self):
        """What the program did, for a test that failed: its exit code, and the end of its standard
        error with Wine's trace (kept whole in build/e2e-artifacts)."""
        code = self.process.poll()
        tail = self.relay_log.read_text(errors="replace").splitlines()[-25:] if self.relay_log.exists() else []
        print(f"\n--- the program {'still runs' if code is None else f'ended with exit code {code:#x}'}; "
              f"its error reports: {error_reports(self.relay_log) or 'none in the trace'}; "
              f"the last lines of its standard error and trace ({self.relay_log}):\n" + "\n".join(tail))

    # ----- looking -----
    def helper(self, *args, **kwargs):
        return self.session.helper(*args, **kwargs)

    def until(self, what, look, holds=bool, timeout=30, show=repr, otherwise=NEVER):
        """The session's one wait (wineenv.until), failing the test when what it waits for never comes."""
        return until(what, look, holds, timeout, show, otherwise, fail=self.fail)

    def wait_window(self, title=TITLE, timeout_ms=30000, where=None, what=None):
        """The program's visible top-level window with the title (and, if given, for which `where`
        holds, as `what` describes it); never a message box of the same title. Should the program's
        run-time error report come instead, the wait fails with its text: the test's next click
        would otherwise close it, and the text with it."""
        def wanted(w):
            return w["title"] == title and w["class"] != MESSAGE_BOX_CLASS and (where is None or where(w))

        def look():
            if self.process.poll() is not None:
                # Wine's own last words, if it ended the process itself (say, having lost its display).
                said = [line for line in self.relay_log.read_text(errors="replace").splitlines()
                        if not re.match(r"[0-9.]+:[0-9a-f]+:(Call|Ret) ", line)][-5:]
                self.fail(f"the program ended (exit code {self.process.returncode:#x}, error reports: "
                          f"{error_reports(self.relay_log) or 'none in the trace'}) while waiting for {title!r}; "
                          f"Wine's last other lines: {said}")
            windows = self.helper("windows")
            for box in (w for w in windows if w["class"] == MESSAGE_BOX_CLASS and w["title"] == TITLE):
                texts = [c["text"] for c in (self.helper("dump", f"#{box['hwnd']}", check=False) or {"children": []})
                         ["children"]]
                report = next((t for t in texts if t.startswith(ERROR_REPORT_START)), None)
                if report:
                    self.fail(f"the program's run-time error report while waiting for {title!r}: {report!r}")
            return windows
        windows = self.until(what or f"the window {title!r}", look, timeout=timeout_ms / 1000, show=describe_windows,
                             holds=lambda seen: any(map(wanted, seen)))
        return next(filter(wanted, windows))

    def wait_console_in_front(self):
        """The console in front, and its program done with showing it: a message sent to it is
        answered only after that. Another program raised before then may find the activation half
        made and the console taking it over again."""
        console = self.wait_window(CONSOLE_TITLE, where=lambda w: w["foreground"], what="the console in front")
        self.helper("dump", f"#{console['hwnd']}")
        return console

    def screen(self):
        """The primary monitor: its size (w, h), its work area and the resolution."""
        primary = next(m for m in self.helper("monitors") if m["primary"])
        return dict(w=primary["window"]["w"], h=primary["window"]["h"], work=primary["work"], dpi=primary["dpi"])

    def program_windows(self):
        return [w for w in self.helper("windows") if w["title"] in (TITLE, CONSOLE_TITLE)]

    def expect_exit(self, timeout=30):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end")
        self.assert_every_chosen_failure_made()
        return code

    def relay_calls(self, function):
        """Lines of this run's relay trace that call the function, e.g. 'user32.MessageBeep'."""
        return relay_calls(self.relay_log, function)

    def windows_created(self, window_class):
        if window_class == DIALOG_CLASS:  # the dialog manager makes them from a template
            return len(self.relay_calls("user32.CreateDialogIndirectParamW"))
        return len([line for line in self.relay_calls("user32.CreateWindowExW") if f'L"{window_class}"' in line])

    def screenshot(self, name, window=None):
        return self.session.screenshot(artifacts() / f"{name}.png", window)

    def control(self, text=None, dump=None, control_id=None):
        """The one control of the window (read afresh unless a dump is given) with this text, or ID
        for a control whose text the test changes."""
        found = [c for c in (dump or self.helper("dump", TITLE))["children"]
                 if c["text"] == text or c["id"] == control_id]
        self.assertEqual(len(found), 1, f"one control reading {text!r}" if control_id is None else f"ID {control_id}")
        return found[0]

    def focus_text(self, title=TITLE):
        return (self.helper("dump", title)["focus"] or {}).get("text")

    def wait_focus(self, text, title=TITLE):
        """Waits for the keyboard focus on the control with this text, as a key sent before moves it."""
        self.until(f"the focus on {text!r}", lambda: self.focus_text(title), lambda seen: seen == text)

    def assert_sized_to_its_text(self, rect, text):
        """A label sized to its text: exactly the text's extent in the windows' font, 8-point MS
        Shell Dlg for Central European script, at the screen's resolution."""
        extent = self.helper("text-size", "MS Shell Dlg", 8, 238, text)
        self.assertEqual((rect["w"], rect["h"]), (extent["w"], extent["h"]), f"{text!r} sized to its text")

    def assert_picture_as_drawn(self, dump, icon):
        """The picture control is as large as the icon and shows its very pixels, its top left corner
        at the control's, on the window's background (read one pixel left of the control)."""
        picture = next(c for c in dump["children"] if c["class"].lower() == "static" and c["style"] & 0x1F == SS_ICON)
        rect = picture["rect"]
        natural = subprocess.run(["identify", "-format", "%w %h", f"ICO:{ASSETS / icon}"], check=True,
                                 capture_output=True, text=True).stdout.split()
        self.assertEqual([rect["w"], rect["h"]], list(map(int, natural)), f"{icon} at its natural size")
        area = {"x": dump["client"]["x"] + rect["x"] - 1, "y": dump["client"]["y"] + rect["y"], "w": rect["w"] + 1,
                "h": rect["h"]}
        shot = self.screenshot(f"picture-{icon}", {"window": area})
        background = subprocess.run(["convert", str(shot), "-format", "%[pixel:p{0,0}]", "info:"], check=True,
                                    capture_output=True, text=True).stdout
        drawn = artifacts() / f"picture-{icon}-as-drawn.png"
        subprocess.run(["convert", "-size", f"{area['w']}x{area['h']}", f"xc:{background}", f"ICO:{ASSETS / icon}",
                        "-geometry", "+1+0", "-composite", str(drawn)], check=True)
        differ = subprocess.run(["compare", "-metric", "AE", str(shot), str(drawn), "null:"], capture_output=True,
                                text=True)
        self.assertEqual(differ.stderr.strip(), "0", f"pixels of {shot} unlike {drawn}")

    # ----- acting -----
    def click(self, text, title=TITLE, count=1):
        """Clicks the control with this text once its window answers. The helper finds the control
        by the text it asks the window for, and a program still busy with the window it has just
        shown answers nothing in time: then no control reads so, and no click was given. The click
        is given again once the window answers; a control missing from a window that answers fails."""
        if self.helper("click-control", title, text, count, check=False) is not None:
            return
        print(f"e2e: no control {text!r} read in {title!r}; clicking once the window answers", flush=True)
        self.until(f"{title!r} answering", lambda: self.helper("dump", title, check=False),
                   lambda window: window is None or not busy(window), show=lambda window: "it does not answer")
        self.helper("click-control", title, text, count)

    def keys(self, *keys, title=TITLE):
        self.helper("keys", title, *keys)

    def open_question(self):
        self.wait_window()
        self.click("OK")
        return self.wait_question()

    def wait_question(self):
        """The question window, told from the settings window of the same title by its shape."""
        return self.wait_window(where=is_question, what="the question window")


FINALE_START = "Tohle je jen"


class RunTest(ProgramTest):
    """Helpers for tests that drive whole runs, several per test, and check how each one ended."""

    def restart(self):
        """A fresh program for the next case of the same test, nothing of the last one left behind."""
        self.tearDown()
        self.setUp()

    def reach_the_box(self, answer, clicks=1):
        self.open_question()
        self.click(answer, count=clicks)
        self.wait_window(CONSOLE_TITLE)
        return self.wait_finale_box()

    def wait_finale_box(self):
        # The console types for about 16 s; a loaded machine may stretch that.
        box = self.session.wait(MESSAGE_BOX_CLASS, 60, by_class=True, check=False)
        self.assertIsNotNone(box, f"the finale's message box (error reports: {error_reports(self.relay_log)})")
        # Not the run-time error report, which is a message box with the same title.
        texts = [c["text"] for c in self.helper("dump", f"#{box['hwnd']}")["children"]]
        self.assertTrue(any(t.startswith(FINALE_START) for t in texts), f"the finale's text, not {texts}")
        return box

    # The stages of a run, in order, and the window of each that a test acts on.
    STAGES = ("settings", "question", "freeze", "console", "box")

    def reach(self, stage):
        if stage == "settings":
            return self.wait_window()
        question = self.open_question()
        if stage == "question":
            return question
        if stage == "freeze":
            self.click("NE")
            # The captions are swapped just before the freeze begins.
            self.until("the captions swapped", lambda: len(self.relay_calls("user32.SetWindowTextW")),
                       lambda calls: calls >= 2)
            return question
        self.click("ANO")
        console = self.wait_window(CONSOLE_TITLE)
        return console if stage == "console" else self.wait_finale_box()

    def asked_during_the_freeze(self, stage, window, ask):
        """ask(window)'s record, which says when it asked (`sent`), or its records, one a window of
        the program, the first asked first. Asked once the freeze was over (or of a window already
        gone), a request proves nothing of the freeze: then it is asked again, in a new run."""
        for attempt in range(1, 5):
            if attempt > 1:
                print(f"e2e: the freeze was over before the request came; attempt {attempt}", flush=True)
                self.restart()
                window = self.reach(stage)
            answer = ask(window)  # None: the window had gone, so the freeze was over
            first = answer[0] if isinstance(answer, list) and answer else answer  # of a request to each window
            if stage != "freeze" or (first and not self.freeze_over_before(first["sent"])):
                return answer
        self.fail("four freezes were over before the request came")

    def freeze_over_before(self, tick):
        """Whether the freeze was in its last two slices of sleep, or over, at the tick count (the
        clock of the trace's time stamps); looked at once the program has ended or typed on its
        console. Asked earlier, the program looks at its queue, and so answers, at least once more
        before the freeze's last sleep."""
        self.until("the freeze over", lambda: self.process.poll() is not None or self.relay_calls("gdi32.ExtTextOutW"))
        slices = re.findall(r"(?im)^([0-9.]+):\w+:Call kernel32\.Sleep\(", self.relay_log.read_text(errors="replace"))
        return len(slices) < 2 or float(slices[-2]) <= tick / 1000

    def stamp(self, pattern):
        """When the program first made the call the trace line matches, in seconds."""
        line = next(line for line in self.relay_log.read_text(errors="replace").splitlines() if re.search(pattern, line))
        return float(line.split(":")[0])

    def assert_the_finale_comes_after_sixteen_seconds(self):
        # 201 ticks of 80 ms after the console opens: 16.08 s. Generous either way for a loaded
        # machine, yet a console a fifth slower (20 s) fails.
        opened = self.stamp(r'Call user32\.CreateWindowExW\(.*L"' + CONSOLE_CLASS)
        finale = self.stamp(r"Call user32\.MessageBoxW\(")
        self.assertTrue(15.5 <= finale - opened <= 18, f"the finale {finale - opened:.2f} s after the console")

    def at_every_stage(self, check):
        """Runs check(stage, window) once at each stage, each in a program of its own."""
        for index, stage in enumerate(self.STAGES):
            with self.subTest(stage=stage):
                if index:
                    self.restart()
                check(stage, self.reach(stage))

    def finale_boxes(self):
        """The finale's boxes in the trace: every message box that is not a run-time error report."""
        return len(self.relay_calls("user32.MessageBoxW")) - len(error_reports(self.relay_log))

    def assert_ended(self, page=False, finale=None):
        """The program has ended by itself with exit code 0, without an error report; the site was
        asked for once and opened if `page`, else never. With `finale` given, the finale's box came
        once (True) or never (False)."""
        self.assertEqual(self.expect_exit(timeout=30), 0, "exit code")
        self.assertEqual(error_reports(self.relay_log), [])
        if finale is not None:
            self.assertEqual(self.finale_boxes(), int(finale), "the finale's box")
        self.assertEqual(len(self.relay_calls("shell32.ShellExecuteExA")), int(page), "requests to open the page")
        if not page:
            # The shell starts the browser after the program has ended: looked at once nothing that
            # opens a page runs any more.
            self.wait_for_the_shell()
        self.assertEqual(self.session.opened_addresses(timeout=20 if page else 0),
                         [f"http://{self.session.site_host()}/"] if page else [], "pages opened")


class BesideAnotherProgram(RunTest):
    """Each test with another program's window open beside the joke: Notepad, started first."""

    def setUp(self):
        self.notepad = self.session.launch(program="notepad")
        self.other = self.session.wait("Notepad", 60, by_class=True)
        self.assertIsNotNone(self.other, "another program's window beside the joke")
        # The joke starts once that program is in front, as a user would have it: shown is not yet
        # in front, and a loaded machine may leave it between the two for a while.
        self.until("the other program's window in front",
                   lambda: [w for w in self.helper("windows") if w["hwnd"] == self.other["hwnd"]],
                   lambda seen: seen and seen[0]["foreground"], timeout=60)
        super().setUp()

    def spot_clear_of(self, area, *windows):
        """A point of the area, near one of its corners, that none of the windows covers."""
        corners = [(x, y) for x in (area["x"] + 5, area["x"] + area["w"] - 6)
                   for y in (area["y"] + 5, area["y"] + area["h"] - 6)]
        return next((x, y) for x, y in corners
                    if not any(inside({"x": x, "y": y, "w": 1, "h": 1}, w["window"]) for w in windows))

    def raise_the_other(self, windows, above):
        """The other program's window brought to the front, as a click into it would; then these
        windows of the joke above it (`above`) or all behind it."""
        self.helper("raise", f"#{self.other['hwnd']}")
        hwnds = [w["hwnd"] for w in windows]
        self.until(f"{' and '.join(w['class'] for w in windows)} {'above' if above else 'behind'} the other program",
                   lambda: [w["hwnd"] for w in self.helper("windows")],
                   lambda order: all((order.index(h) < order.index(self.other["hwnd"])) == above for h in hwnds),
                   show=lambda _: describe_windows(self.helper("windows")))

    def click_gives_the_box_the_keyboard(self, point, box):
        """A click there, as a hand gives it: the box that waits comes in front, with the keyboard,
        not the window the box has disabled."""
        self.helper("click-at", *point)
        self.until("the box in front, with the keyboard", lambda: self.session.window(f"#{box['hwnd']}"),
                   lambda seen: seen and seen["foreground"], show=lambda _: describe_windows(self.helper("windows")))

    def tearDown(self):
        super().tearDown()
        self.notepad.kill()
        self.notepad.wait(timeout=30)
        self.session.gone(f"#{self.other['hwnd']}", check=False)
