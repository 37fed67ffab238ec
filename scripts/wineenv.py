"""A Wine session for running the program as a user would: a virtual X display, a Wine prefix of
the project's own inside the build folder, one shared Wine virtual desktop, and the Windows-side
helper that observes and drives windows from outside.

Sessions have names, and several can run at once: each has its own display, and its own prefix,
made from one prefix booted once for all (the template) and sharing its system files.

Where the kernel runs 32-bit code, the shipped 32-bit program runs in a 32-bit prefix. Where it
cannot (some virtual machines switch 32-bit emulation off), 32-bit Wine cannot start at all, and
the 64-bit build of the same sources runs under 64-bit Wine instead; the choice is printed.
"""

import json
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
from pathlib import Path

WINE32 = Path("/usr/lib/wine/wine")
WINE64 = Path("/usr/lib/wine/wine64")
WINESERVER = Path("/usr/lib/wine/wineserver")
WINE_FONTS = Path("/usr/share/wine/fonts")
SCREEN = (1024, 768)
# The title of the program's dialogs and of its message boxes.
TITLE = "Tajné nastavení systému Windows"
# Calls the tests read from Wine's relay trace.
RELAY_INCLUDE = ";".join([
    "user32.MessageBeep", "user32.MessageBoxW", "user32.CreateWindowExW", "user32.CreateDialogIndirectParamW",
    "user32.SetWindowTextW", "user32.ShowWindow", "user32.DestroyWindow",
    "shell32.ShellExecuteA", "shell32.ShellExecuteExA", "CoInitializeEx", "gdi32.ExtTextOutW", "kernel32.Sleep",
    "kernel32.ExitProcess", "ntdll.RtlExitUserProcess", "shcore.GetDpiForMonitor", "user32.DispatchMessageW",
    "kernel32.LoadLibraryW",
])
SESSION_FILE = "session.json"
# The helper's commands that only look, and may be asked again when an answer does not come.
LOOKING_COMMANDS = {"windows", "dump", "monitors", "processes"}
HELPER_ATTEMPTS = 3
# How long a helper may take to say that it is at work.
HELPER_READY_SECONDS = 60
# Files of a prefix that Wine only reads: sessions share them with the template.
SHARED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".ax", ".ttf", ".fon", ".nls",
                   ".mui", ".ds", ".vxd", ".com", ".msstyles"}
# Wine's fonts with real outlines; the others are bitmaps wrapped as TrueType.
OUTLINE_FONTS = {"tahoma.ttf", "tahomabd.ttf"}


NEVER = object()  # a wait that fails when what it waits for never comes


def until(what, look, holds=bool, timeout=30, show=repr, otherwise=NEVER, fail=None):
    """Looks again and again (at least once) until what it sees holds, and gives that back; when
    the time is up, gives `otherwise`, or fails (`fail`, else RuntimeError) naming what never came
    and what was seen instead. Every wait of the tests and the scripts is this one loop."""
    deadline = time.monotonic() + timeout
    while True:
        seen = look()
        if holds(seen):
            return seen
        if time.monotonic() > deadline:
            if otherwise is not NEVER:
                return otherwise
            message = f"{what} never came in {timeout:g} s; seen instead: {show(seen)}"
            if fail:
                fail(message)  # a test's failure, not an error
            raise RuntimeError(message)
        time.sleep(0.1)


def describe_windows(windows):
    """The windows as a user sees them, topmost first."""
    return "; ".join(f"{w['title']!r} ({w['class']}{', in front' if w['foreground'] else ''})" for w in windows) \
        or "no window"


def named(window, which, by_class=False):
    """Whether the window is the one named: #HWND, else by its exact title (or class, in any case)."""
    if by_class:
        return window["class"].lower() == which.lower()
    return f"#{window['hwnd']}" == which if which.startswith("#") else window["title"] == which


def unescape(relay_text):
    """Wine's trace writes non-ASCII and backslashes escaped."""
    return re.sub(r"\\u?([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), relay_text).replace("\\\\", "\\")


def is_question(window):
    """The question window, told from the settings window of the same title by its shape: a wide
    strip (402 x 80 at 96 DPI) against an upright window (314 x 377), at any resolution."""
    return window["title"] == TITLE and window["client"]["w"] > window["client"]["h"] * 3


def can_run_32bit():
    """True when 32-bit Wine starts on this machine."""
    if not WINE32.exists():
        return False
    try:
        return subprocess.run([str(WINE32), "--version"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def outline_only_font(source, target):
    """Copies a TrueType font without its embedded bitmap strikes. Wine's own Tahoma carries
    hand-made bitmaps for small sizes that lack some Czech letters (ů shows as a box); Windows'
    fonts have them all, so the outlines show what a Czech user sees."""
    data = source.read_bytes()
    count = struct.unpack(">H", data[4:6])[0]
    tables = []
    for i in range(count):
        tag, checksum, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        if tag not in (b"EBDT", b"EBLC", b"EBSC", b"BDF "):
            tables.append((tag, checksum, data[offset:offset + length]))
    header = data[:4] + struct.pack(">H", len(tables)) + data[6:12]
    offset = 12 + 16 * len(tables)
    directory, body = b"", b""
    for tag, checksum, table in tables:
        directory += struct.pack(">4sIII", tag, checksum, offset + len(body), len(table))
        body += table + b"\0" * (-len(table) % 4)
    target.write_bytes(header + directory + body)


def parse_record(line):
    """One line of the helper's answer: tab-separated name=value fields."""
    record = {}
    for field in line.split("\t"):
        name, _, value = field.partition("=")
        value = re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), value)
        if name in ("window", "client", "rect", "work"):
            value = dict(zip("xywh", map(int, value.split(","))))
        elif name == "items":
            value = value.split("\x1f") if value else []
        elif name in ("hwnd", "pid", "style", "exstyle", "owner", "id", "depth", "check", "cursel", "w", "h", "dpi",
                      "x", "y", "foreground", "enabled", "hung", "end", "primary", "sent", "answered",
                      "result", "root", "control", "hit"):
            value = int(value)
        record[name] = value
    return record


def started_at(pid):
    """When the process began, in clock ticks since boot; None when there is no such process. A
    process ID is used again soon on a busy machine: with the time it names one process only."""
    try:
        return Path(f"/proc/{pid}/stat").read_text().rpartition(")")[2].split()[19]
    except OSError:
        return None


def share_or_copy(source, target):
    """A session's prefix shares the system files of the template, and has its own of the rest."""
    if Path(source).suffix.lower() in SHARED_SUFFIXES:
        os.link(source, target)
    else:
        shutil.copy2(source, target)


class WineSession:
    def __init__(self, build_dir, name="session", monitors=None, copy_dir=None, work_area=None):
        """`monitors`, for a desk of several: [(width, height, x, y)] RandR outputs of one X screen,
        the first the primary one, each at its place on the X root (which has no negative
        coordinates: Wine puts the primary monitor at 0,0 and the others around it). `copy_dir`: the
        program run is the copy of one's own built there (by ./run --site), not the build's own.
        `work_area`, with `monitors`: (x, y, width, height) of the primary monitor that windows are
        to keep to, as a taskbar along an edge leaves it."""
        self.monitors, self.work_area = monitors, work_area
        self.build_dir = Path(build_dir).resolve()
        self.copy_dir = Path(copy_dir or self.build_dir).resolve()
        self.home = self.build_dir / "wine" / name
        state = self.home / SESSION_FILE
        self.state = json.loads(state.read_text()) if state.exists() else {}
        self.server = None  # the helper that answers the session's questions

    # ----- configuration -----
    @property
    def arch(self):
        return self.state.get("arch") or ("i686" if can_run_32bit() else "x86_64")

    def describe(self):
        """Which build of the program runs under which Wine."""
        version = subprocess.run([self.loader, "--version"], capture_output=True, text=True).stdout.strip()
        if self.arch == "i686":
            return f"the 32-bit program under 32-bit {version}"
        return f"the 64-bit build under 64-bit {version} (this kernel cannot run 32-bit code)"

    @property
    def loader(self):
        return str(WINE32 if self.arch == "i686" else WINE64)

    @property
    def prefix(self):
        return self.home / ("win32" if self.arch == "i686" else "win64")

    @property
    def template(self):
        return self.build_dir / "wine" / "template" / ("win32" if self.arch == "i686" else "win64")

    @property
    def program(self):
        return self.copy_dir / f"windows-{self.arch}" / "nastaveni.exe"

    @property
    def helper_exe(self):
        return self.build_dir / f"windows-{self.arch}" / "tests" / "e2e" / "helper" / "e2e_helper.exe"

    def _site_setting(self, name):
        header = (self.program.parent / "generated" / "site_config.h").read_text(encoding="utf-8")
        literal = re.search(name + r'\[\] = L?"((?:[^"\\]|\\.)*)";', header).group(1)
        return re.sub(r"\\(.)", r"\1", literal)

    def site_host(self):
        """The host the program advertises, as its build was configured."""
        return self._site_setting("kHost")

    def credit_line(self):
        """The last line of the finale's message, as the program's build was configured."""
        return self._site_setting("kCreditLine")

    @property
    def browser_log(self):
        return self.home / "opened-addresses.txt"

    def env(self, relay=False, prefix=None):
        env = dict(os.environ)
        env.update({
            "WINEPREFIX": str(prefix or self.prefix),
            "WINEARCH": "win32" if self.arch == "i686" else "win64",
            "WINELOADER": self.loader,
            "WINESERVER": str(WINESERVER),
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEDEBUG": "-all,+relay,+timestamp" if relay else "-all",
            # A Czech Windows: Czech locale and code page 1250, with its Central European fonts.
            "LANG": "cs_CZ.UTF-8",
            "LC_ALL": "cs_CZ.UTF-8",
        })
        if "display" in self.state:
            env["DISPLAY"] = self.state["display"]
        return env

    # ----- lifetime -----
    def prepare(self):
        """Boots the template prefix once, away from any display, with the tests' fonts and
        settings. Wine's desktop reads its settings when it starts: one started before they were
        written serves its whole session wrongly (under Wine 10, its programs get no timer messages)."""
        if (self.template / "system.reg").exists():
            return
        partial = self.template.with_name(self.template.name + ".partial")
        shutil.rmtree(partial, ignore_errors=True)
        partial.mkdir(parents=True)
        self.wine("wineboot", "-i", timeout=600, display=False, prefix=partial)
        fonts = partial / "drive_c" / "windows" / "Fonts"
        fonts.mkdir(parents=True, exist_ok=True)
        for font in WINE_FONTS.glob("*"):
            if font.name == "ms_sans_serif.ttf":
                continue  # bitmaps without text at the dialog size; the .fon files serve that name
            if font.name in OUTLINE_FONTS:
                outline_only_font(font, fonts / font.name)
            else:
                shutil.copy(font, fonts / font.name)
        self.apply_settings(display=False, prefix=partial)
        self.quiet([str(WINESERVER), "-k"], prefix=partial)
        partial.rename(self.template)

    def start(self):
        """Starts the display and the Wine server in a fresh copy of the template prefix."""
        arch = self.arch
        self.prepare()
        self.state = {"arch": arch}
        print(f"e2e: {self.describe()}")
        shutil.rmtree(self.home, ignore_errors=True)
        self.home.mkdir(parents=True)
        shutil.copytree(self.template, self.prefix, symlinks=True, copy_function=share_or_copy)
        recorder = self.home / "record-browser.sh"
        recorder.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{self.browser_log}"\n')
        recorder.chmod(0o755)
        if self.monitors:
            self.start_desk()
        else:
            number, xvfb = self.x_server(["Xvfb", "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24"])
            self.state.update({"display": f":{number}", "xvfb_pid": xvfb.pid, "xvfb_started": started_at(xvfb.pid)})
            self.save()
        if self.monitors:
            # Written before any Wine process has a display: the first to have one starts Wine's
            # desktop, which keeps the settings it found (the template's one virtual desktop).
            self.apply_settings(display=False)
            self.quiet([str(WINESERVER), "-k"])
        self.quiet([str(WINESERVER), "-p"])
        self.apply_settings()
        self.wine("wineboot", timeout=300)
        # Wine closes its virtual desktop soon after the last window goes, and a program started
        # just then may find no desktop; an idle process keeps it open, as Windows' desktop stays.
        # Waited for until it holds the desktop: started alone, it may come only after the desktop
        # has closed behind the last call of the start.
        holder = self.build_dir / f"windows-{arch}" / "bench" / "window_watch.exe"
        if holder.exists():
            process = subprocess.Popen([self.loader, str(holder), "--hold"], env=self.env(), stdin=subprocess.DEVNULL,
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, start_new_session=True)
            ready, _, _ = select.select([process.stdout], [], [], 120)
            said = process.stdout.readline().strip() if ready else b""
            process.stdout.close()
            if said != b"holding":
                raise RuntimeError(f"the process that keeps Wine's desktop open did not start ({said!r})")
        # The desktop window appears with the first program; make sure it is there.
        self.helper("monitors", timeout=120)

    def start_desk(self):
        """A desk of several monitors: an X server on no screen at all (Xorg's dummy driver, which
        has sixteen RandR outputs), each monitor an output of it set up by xrandr. Wine takes
        RandR's outputs for monitors, as it takes a real desk's, and follows them as they change.
        (Wine 10 gives every head of Xephyr's Xinerama the same rectangle.)"""
        config = self.home / "xorg.conf"
        config.write_text("\n".join([
            'Section "Device"', ' Identifier "dummy"', ' Driver "dummy"', " VideoRam 65536", "EndSection",
            'Section "Monitor"', ' Identifier "any"', " HorizSync 5-1000", " VertRefresh 5-200", "EndSection",
            'Section "Screen"', ' Identifier "desk"', ' Device "dummy"', ' Monitor "any"', " DefaultDepth 24",
            ' SubSection "Display"', "  Depth 24", "  Virtual 4096 2048", " EndSubSection", "EndSection", ""]))
        (self.home / "xorg.conf.d").mkdir()  # none of the system's: they are for real screens and input
        number, xorg = self.x_server(["Xorg", "-config", str(config), "-configdir", str(self.home / "xorg.conf.d"),
                                      "-noreset", "-logfile", str(self.home / "xorg.log"), "-novtswitch", "-sharevts",
                                      "vt7"])
        self.state.update({"display": f":{number}", "xorg_pid": xorg.pid, "xorg_started": started_at(xorg.pid)})
        self.save()
        outputs = []
        for index, (w, h, x, y) in enumerate(self.monitors):
            self.change_desk("--addmode", f"DUMMY{index}", f"{w}x{h}")
            outputs += ["--output", f"DUMMY{index}", "--mode", f"{w}x{h}", "--pos", f"{x}x{y}"]
        # The first is RandR's primary output, which Wine makes its primary monitor.
        self.change_desk("--fb", f"{max(x + w for w, h, x, y in self.monitors)}x"
                         f"{max(y + h for w, h, x, y in self.monitors)}", *outputs, "--output", "DUMMY0", "--primary")
        if self.work_area:
            # What a desktop's window manager says of its panels, and Wine reads of each monitor.
            subprocess.run(["xprop", "-root", "-f", "_GTK_WORKAREAS_D0", "32c", "-set", "_GTK_WORKAREAS_D0",
                            ", ".join(map(str, self.work_area))], env=dict(os.environ, DISPLAY=self.state["display"]),
                           check=True, timeout=60)

    def change_desk(self, *xrandr):
        """The desk of RandR outputs changed as xrandr's arguments say (`--output DUMMY1 --off`)."""
        if not self.monitors:
            raise RuntimeError("Wine's virtual desktop is one monitor")
        env = dict(os.environ, DISPLAY=self.state["display"])
        subprocess.run(["xrandr", *xrandr], env=env, check=True, timeout=60, stdout=subprocess.DEVNULL)
        # Asked again, as a program that reads the outputs' current state (Wine) learns only from
        # a query that probes them that an output given a mode is connected now.
        subprocess.run(["xrandr", "--query"], env=env, check=True, timeout=60, stdout=subprocess.DEVNULL)

    @staticmethod
    def x_server(command):
        """Starts an X server of its own, with a display number it chooses: (number, process)."""
        read_end, write_end = os.pipe()
        server = subprocess.Popen([*command, "-displayfd", str(write_end), "-nolisten", "tcp"], pass_fds=(write_end,),
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError(f"{command[0]} did not start")
        return number, server

    def apply_settings(self, dpi=96, display=True, prefix=None):
        """The prefix's settings for the tests, written at every start so that they never go stale."""
        recorder = self.home / "record-browser.sh"
        # One shared virtual desktop, but on several monitors Wine's own desktop over every RandR
        # output.
        several = bool(self.monitors)
        values = {
            r"HKEY_CURRENT_USER\Software\Wine\Explorer": {"Desktop": None if several else "Default"},
            r"HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops": {"Default": f"{SCREEN[0]}x{SCREEN[1]}"},
            r"HKEY_CURRENT_USER\Software\Wine\WineDbg": {"ShowCrashDialog": 0},
            # The virtual desktop has no window manager: a window that Wine hands to one waits two
            # seconds in vain for it whenever it is hidden.
            r"HKEY_CURRENT_USER\Software\Wine\X11 Driver": {"Managed": "N", "UseXRandR": "Y"},
            # The shell hands web addresses to this stand-in, which records them: no browser starts.
            r"HKEY_CURRENT_USER\Software\Wine\WineBrowser": {"Browsers": str(recorder)},
            r"HKEY_CURRENT_USER\Software\Wine\Debug": {"RelayInclude": RELAY_INCLUDE},
            r"HKEY_CURRENT_USER\Control Panel\Desktop": {"LogPixels": dpi},
            # Windows maps the dialog font to Microsoft Sans Serif, which has the metrics of
            # MS Sans Serif; Wine maps it to its own Tahoma, which is wider.
            r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes":
                {"MS Shell Dlg": "MS Sans Serif"},
        }
        lines = ["REGEDIT4", ""]
        for key, entries in values.items():
            lines.append(f"[{key}]")
            for name, value in entries.items():
                if value is None:
                    lines.append(f'"{name}"=-')
                elif isinstance(value, int):
                    lines.append(f'"{name}"=dword:{value:08x}')
                else:
                    escaped = value.replace("\\", "\\\\").replace('"', '\\"')
                    lines.append(f'"{name}"="{escaped}"')
            lines.append("")
        settings = (prefix or self.prefix).parent / "settings.reg"
        settings.write_text("\r\n".join(lines), encoding="ascii")
        self.wine("regedit", "/S", str(settings), display=display, prefix=prefix)

    def set_dpi(self, dpi):
        self.apply_settings(dpi=dpi)
        self._stop_server("")  # a Wine process reads the DPI when it starts

    def stop(self):
        self._stop_server("", kill=True)
        self.quiet([str(WINESERVER), "-k"])
        # Only the display this session started: the ID in a state file that an interrupted run
        # left may belong to another process by now, even another session's display.
        for server in ("xvfb", "xorg"):
            pid = self.state.get(f"{server}_pid")
            if pid and started_at(pid) == self.state.get(f"{server}_started"):
                try:
                    os.killpg(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        state = self.home / SESSION_FILE
        if state.exists():
            state.unlink()

    def save(self):
        (self.home / SESSION_FILE).write_text(json.dumps(self.state))

    # ----- running things -----
    def quiet(self, command, timeout=120, display=True, prefix=None):
        env = self.env(prefix=prefix)
        if not display:
            env.pop("DISPLAY", None)
        return subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode

    def wine(self, *args, timeout=120, display=True, prefix=None):
        return self.quiet([self.loader, *args], timeout=timeout, display=display, prefix=prefix)

    @property
    def faults_program(self):
        """The test build in which a chosen checked call fails (NASTAVENI_FAIL=CALL#N)."""
        return self.build_dir / f"windows-{self.arch}" / "nastaveni_faults.exe"

    def launch(self, relay_log=None, program=None, extra_env=None, relay=None):
        """Starts the program; its standard error goes to relay_log, with Wine's trace of the calls
        in RELAY_INCLUDE unless relay is False."""
        stderr = open(relay_log, "w") if relay_log else subprocess.DEVNULL
        try:
            env = self.env(relay=bool(relay_log) if relay is None else relay)
            env.update(extra_env or {})
            return subprocess.Popen([self.loader, str(program or self.program)], env=env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=stderr)
        finally:
            if relay_log:
                stderr.close()

    def helper(self, *args, timeout=120, check=True):
        """Asks the Windows-side helper (helper/helper.cpp) and reads its records: a list for
        `windows`, a window with its `focus` and tree of `children` for `dump`, else the one record.
        When the window or control is not there (or a wait for it timed out) it returns None with
        check=False, and raises with what the helper saw otherwise; an action whose state never came
        (the window in front, answering, under the pointer) always raises.

        One helper serves a session's questions (`serve`), started at the first. It ends every
        answer with an `end` record. A loaded machine now and then starts a Wine process that never
        gets as far as the helper's own code, and a helper may go with a Wine desktop that the tests
        restart; a question it leaves unanswered is asked again of a new helper when it only looks."""
        for attempt in range(1, HELPER_ATTEMPTS + 1):
            records, what = self._ask(args, timeout)
            if records and "end" in records[-1]:
                break
            what = f"the helper gave no answer to {args} ({what}, attempt {attempt})"
            with open(self.build_dir / "helper-no-answer.txt", "a") as log:
                print(time.strftime("%H:%M:%S"), self.home.name, what, file=log)
            if args[0] not in LOOKING_COMMANDS or attempt == HELPER_ATTEMPTS:
                raise RuntimeError(what)
            print(f"e2e: {what}; asking again", flush=True)
        code = records.pop()["end"]
        if code != 0:
            error = next((record["error"] for record in records if "error" in record), "")
            if code == 1 and not check:
                return None
            raise RuntimeError(f"helper {' '.join(map(str, args))}: {error} (exit code {code})")
        if args[0] in ("windows", "monitors", "processes", "watched", "post-all", "send-all"):
            return records
        if args[0] == "dump":
            window, focus, *controls = records
            window.update(focus=focus if "hwnd" in focus else None, children=[])
            parents = [window]
            for control in controls:
                control["children"] = []
                del parents[control["depth"]:]
                parents[-1]["children"].append(control)
                parents.append(control)
            return window
        return records[0] if records else {}

    def helper_env(self):
        env = self.env()
        env["WINEDEBUG"] = "-all,err+all"  # what Wine says when it cannot run the helper through
        return env

    def _ask(self, args, timeout):
        """The helper's records for one command line, and when it gave no answer, why."""
        deadline = time.monotonic() + timeout
        server = self._server()
        if isinstance(server, str):
            return [], server
        line = "\t".join(str(arg).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                         for arg in args)
        try:
            server.stdin.write(line.encode("utf-8") + b"\n")
            server.stdin.flush()
        except OSError:
            return [], self._stop_server("it had ended")
        records = []
        while not records or "end" not in records[-1]:
            line = self._server_line(server, deadline)
            if line is None:
                if time.monotonic() > deadline:
                    self._stop_server("", kill=True)
                    raise subprocess.TimeoutExpired(["e2e_helper", *map(str, args)], timeout)
                return records, self._stop_server("it ended")
            records.append(parse_record(line))
        return records, ""

    def _server(self):
        """The session's helper, started if it is not running; or why it did not start."""
        if self.server and self.server.poll() is None:
            return self.server
        self._stop_server("")
        env = self.helper_env()
        self.server_errors = tempfile.TemporaryFile()
        self.server_output = b""
        self.server = subprocess.Popen([self.loader, str(self.helper_exe), "serve"], env=env,
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.server_errors)
        line = self._server_line(self.server, time.monotonic() + HELPER_READY_SECONDS)
        if line != "serving=1":
            return self._stop_server(f"it did not start within {HELPER_READY_SECONDS} s")
        return self.server

    def _server_line(self, server, deadline):
        """The helper's next line, or None when it ended or the deadline passed. Whether it ended
        is asked of the process, not read from the pipe: a Wine desktop that it started holds the
        pipe open after it."""
        while b"\n" not in self.server_output:
            ready, _, _ = select.select([server.stdout], [], [], 0.1)
            chunk = os.read(server.stdout.fileno(), 1 << 16) if ready else b""
            self.server_output += chunk
            if chunk:
                continue
            if server.poll() is not None or time.monotonic() > deadline:
                return None
            if ready:  # the pipe ended, the process not quite yet
                time.sleep(0.05)
        line, _, self.server_output = self.server_output.partition(b"\n")
        return line.decode("utf-8")

    def _stop_server(self, why, kill=False):
        """Stops the session's helper (at once with kill, else once it has read all it was asked);
        returns why it stopped, with what Wine said."""
        server, self.server = self.server, None
        if not server:
            return why
        if kill:
            server.kill()
        for pipe in (server.stdin, server.stdout):
            try:
                pipe.close()
            except OSError:
                pass
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait(timeout=30)
        self.server_errors.seek(0)
        wine_said = self.server_errors.read().decode("utf-8", "replace").strip()
        self.server_errors.close()
        return f"{why} (exit code {server.returncode}); Wine said: {wine_said[-2000:] or 'nothing'}"

    def window(self, which, by_class=False):
        """The first visible top-level window, topmost first, of that title, handle or class; None
        when there is none."""
        return next((w for w in self.helper("windows") if named(w, which, by_class)), None)

    def wait_for(self, what, where, timeout=30, check=True):
        """The first visible top-level window for which `where` holds, once there; None when it
        never came, if not `check`."""
        seen = until(what, lambda: self.helper("windows"), lambda windows: any(map(where, windows)), timeout,
                     describe_windows, NEVER if check else None)
        return seen and next(filter(where, seen))

    def wait(self, which, timeout=30, by_class=False, check=True):
        """That window, once there; None when it never came, if not `check`."""
        return self.wait_for(f"the window {which!r}", lambda w: named(w, which, by_class), timeout, check)

    def gone(self, *which, timeout=20, check=True):
        """Waits until no window of these titles or handles is visible; whether none is."""
        return until(f"no window {' or '.join(which)}",
                     lambda: [w for w in self.helper("windows") if any(named(w, one) for one in which)],
                     lambda left: not left, timeout, describe_windows, NEVER if check else None) is not None

    def wait_question(self, timeout=30):
        """After "OK": the question window."""
        return self.wait_for("the question window", is_question, timeout)

    def opened_addresses(self, timeout=20):
        """What the program asked the shell to open, as the stand-in browser recorded it. The shell
        starts the browser after the program has gone on (or ended), so this waits for a whole
        line: the stand-in's shell makes the file before it writes to it."""
        return until("a whole line", lambda: self.browser_log.read_text() if self.browser_log.exists() else "",
                     lambda text: text.endswith("\n"), timeout=timeout, otherwise="").split()

    def screenshot(self, path, window=None):
        """The whole virtual screen, or the part a window covers."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        command = ["import", "-display", self.state["display"], "-window", "root"]
        if window:
            r = window["window"]
            command += ["-crop", f"{r['w']}x{r['h']}+{r['x']}+{r['y']}", "+repage"]
        subprocess.run(command + [str(path)], check=True, timeout=60)
        return path


if __name__ == "__main__":
    print(WineSession(Path(__file__).resolve().parents[1] / "build").describe())
