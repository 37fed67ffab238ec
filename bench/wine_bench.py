"""What the benchmarks under Wine share: the session, the programs compared (the program, the same
settings window from a dialog template, a bare window), the in-Wine watcher
(window_watch.exe, see window_watch.cpp) and finding the Linux process that runs a Windows one."""

import os
import re
import statistics
import subprocess
import sys
from collections import Counter
from contextlib import contextmanager
from pathlib import Path

sys.path[:0] = [str(Path(__file__).resolve().parent.parent / where) for where in ("tests/e2e", "scripts")]
from harness import CONSOLE_CLASS, TITLE  # noqa: E402,F401 (for the benchmarks)
from wineenv import WineSession  # noqa: E402

BARE_TITLE = "Holé okno"
# The settings window from a dialog template (settings_dialog.rc); the watcher finds windows by
# title, so it cannot share the program's.
DIALOG_TITLE = TITLE + " (.rc)"


def build_dir(argv):
    return Path(argv[1] if len(argv) > 1 else "build").resolve()


@contextmanager
def wine_session(build):
    """A fresh Wine session whose desktop stays open throughout: its start returns only once the
    process that holds the desktop says it holds it (see window_watch --hold)."""
    session = WineSession(build)
    session.stop()
    session.start()
    try:
        yield session
    finally:
        session.stop()


def windows_dir(session):
    return session.build_dir / f"windows-{session.arch}"


def bare_exe(session):
    return windows_dir(session) / "bench" / "bare_window.exe"


def dialog_exe(session):
    return windows_dir(session) / "bench" / "settings_dialog.exe"


def watcher_exe(session):
    return windows_dir(session) / "bench" / "window_watch.exe"


def windows_path(path):
    """Wine's Z: drive is the Linux root."""
    return "Z:" + str(path).replace("/", "\\")


def watch(session, title, exe, *options):
    """Starts exe through the watcher; its output lines are read as they come."""
    return subprocess.Popen([session.loader, str(watcher_exe(session)), *options, title, windows_path(exe)],
                            env=session.env(), stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)


def read_figures(watcher, *keys):
    """Reads the watcher's lines up to the last of keys: {key: float or {name: int}}."""
    figures = {}
    while not set(keys) <= figures.keys():
        line = watcher.stdout.readline()
        if not line:
            raise RuntimeError(f"window_watch ended ({watcher.wait()}) before printing {keys}")
        key, *values = line.split()
        if len(values) == 1 and "=" not in values[0]:
            figures[key] = float(values[0])
        else:
            figures[key] = {name: int(number) for name, number in (v.split("=") for v in values)}
    return figures


def linux_process(session, *names):
    """The Linux process in this session's prefix whose program file has one of these names (Wine
    names a Windows process after its .exe, by its Linux or its Windows path)."""
    wanted = f"WINEPREFIX={session.prefix}".encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            environ = Path(f"/proc/{entry}/environ").read_bytes().split(b"\0")
            command = Path(f"/proc/{entry}/cmdline").read_bytes().split(b"\0")[0].decode(errors="replace")
        except OSError:
            continue
        if wanted in environ and command.replace("\\", "/").rpartition("/")[2] in names:
            return int(entry)
    raise RuntimeError(f"no Linux process runs {' or '.join(names)}")


def proc_status(pid):
    """/proc/PID/status as {field: value in KiB or text}."""
    status = {}
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        name, _, value = line.partition(":")
        value = value.strip()
        status[name] = int(value.split()[0]) if value.endswith(" kB") else value
    return status


def resident_by_mapping(pid):
    """Resident KiB of the process by what is mapped: a file's name, or [anon], [heap]..."""
    resident = Counter()
    name = "[anon]"
    for line in Path(f"/proc/{pid}/smaps").read_text().splitlines():
        fields = line.split()
        if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
            name = fields[5].rpartition("/")[2] if len(fields) > 5 else "[anon]"
        elif fields[0] == "Rss:":
            resident[name] += int(fields[1])
    return resident


def trace_stamp(line):
    """The time, in seconds, at which Wine's timestamped trace wrote the line."""
    return float(line.split(":", 1)[0])


def median(values):
    return statistics.median(values)


def summary(name, value, goal, met):
    """The line run_all.sh gathers into its table; met is None for a figure without a goal."""
    verdict = "-" if met is None else "met" if met else "NOT MET"
    print(f"summary: {name} | {value} | {goal} | {verdict}")
