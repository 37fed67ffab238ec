"""Many whole runs of the program in a row under Wine, unattended: `soak.py [BUILD_DIR] [--runs N]
[--victims N [--first-seed S]] [--busy-cores N] [--session NAME]`.

Each run goes through the settings window, "OK", the question (answered "ANO" and "NE" in turn),
the console and the finale's box (closed with Enter and Esc in turn, so that every pairing comes
up), and is checked for a proper end: the process ended by itself with exit code 0, exactly one
console and one box appeared, and exactly the site's address went to the shell. Prints a line per
run and "N passed, M failed" at the end, with every run that ended in the program's run-time error
report and the report's text (the call that failed and its error code); exits non-zero if any run
failed. With --victims N, N runs more, each with seeded random input at every stage (as the
end-to-end tests' test_victim.py gives it, seeds S, S+1, ...; S from the clock unless given, in a
Wine session of their own): a failing run names its seed, which VICTIM_SEEDS replays there. With --busy-cores N,
`stress-ng --cpu N` keeps N cores busy throughout, as a loaded machine would.

Uses the Wine session that the end-to-end tests started in BUILD_DIR if there is one, else starts
its own and stops it at the end. Several soaks can run side by side, each with a --session of its
own (a display and a Wine prefix), as the end-to-end groups do."""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path[:0] = [str(ROOT / "tests" / "e2e"), str(ROOT / "scripts")]

from harness import (CONSOLE_CLASS, CONSOLE_TITLE, FINALE_START, MESSAGE_BOX_CLASS, TITLE, error_reports,  # noqa: E402
                     relay_calls)
from wineenv import WineSession, started_at, until  # noqa: E402

WAIT_MS = 60000


class RunFailed(Exception):
    pass


def calls(relay_log, function, containing=""):
    return [line for line in relay_calls(relay_log, function) if containing in line]


def session_running(session):
    pid = session.state.get("xvfb_pid")
    return bool(pid) and "display" in session.state and started_at(pid) == session.state.get("xvfb_started")


def wait_for_workers(load, count, timeout=60):
    """stress-ng's load is there once its workers run, one child process each: the runs start only
    then, or the first of them would meet an idle machine."""
    children = Path(f"/proc/{load.pid}/task/{load.pid}/children")

    def look():
        if load.poll() is not None:
            raise SystemExit(f"stress-ng ended (exit code {load.returncode}) before its workers ran")
        return len(children.read_text().split())
    until(f"stress-ng's {count} worker(s)", look, lambda running: running >= count, timeout=timeout)


def one_run(session, answer, dismiss, relay_log, address):
    def must(result, what):
        if not result:
            raise RunFailed(f"{what} did not happen")
        return result

    session.browser_log.unlink(missing_ok=True)
    # Wine's own errors too, should a call of the program fail for a reason of Wine's.
    program = session.launch(relay_log=relay_log, extra_env={"WINEDEBUG": "-all,err+all,+relay,+timestamp"})
    try:
        settings = must(session.wait(TITLE, WAIT_MS / 1000, check=False), "the settings window")
        if settings["class"] == MESSAGE_BOX_CLASS:  # left open, not clicked away: its text is in the trace
            raise RunFailed("a message box came instead of the settings window")
        must(session.helper("click-control", TITLE, "OK", check=False), "the click on OK")
        try:
            session.wait_question(timeout=WAIT_MS / 1000)
        except RuntimeError as error:
            raise RunFailed(str(error)) from None
        must(session.helper("click-control", TITLE, answer, check=False), f"the click on {answer}")
        must(session.wait(CONSOLE_TITLE, WAIT_MS / 1000, check=False), "the console")
        box = must(session.wait(MESSAGE_BOX_CLASS, WAIT_MS / 1000, by_class=True, check=False), "the finale's box")
        boxes = [w for w in session.helper("windows") if w["class"] == MESSAGE_BOX_CLASS and w["title"] == TITLE]
        if len(boxes) != 1:
            raise RunFailed(f"{len(boxes)} message boxes on the screen")
        # The run-time error report is a message box with the same title.
        texts = [c["text"] for c in must(session.helper("dump", f"#{box['hwnd']}", check=False), "a look at the box")
                 ["children"]]
        if not any(text.startswith(FINALE_START) for text in texts):
            raise RunFailed(f"the box is not the finale's: {texts}")
        must(session.helper("keys", f"#{box['hwnd']}", dismiss, check=False), f"{dismiss} on the box")
        try:
            code = program.wait(timeout=60)
        except subprocess.TimeoutExpired:
            raise RunFailed("the program did not end after the box was closed") from None
        if code != 0:
            raise RunFailed(f"exit code {code}")
        opened = session.opened_addresses()
        if opened != [address]:
            raise RunFailed(f"the shell was asked to open {opened}, not [{address!r}]")
        counts = {"consoles": len(calls(relay_log, "user32.CreateWindowExW", f'L"{CONSOLE_CLASS}"')),
                  "message boxes": len(calls(relay_log, "user32.MessageBoxW")),
                  "requests to the shell": len(calls(relay_log, "shell32.ShellExecuteExA"))}
        wrong = {what: n for what, n in counts.items() if n != 1}
        if wrong:
            raise RunFailed(", ".join(f"{n} {what}" for what, n in wrong.items()) + " instead of one each")
        left = [w["title"] for w in session.helper("windows") if w["title"] in (TITLE, CONSOLE_TITLE)]
        if left:
            raise RunFailed(f"windows left behind: {left}")
    finally:
        stop(session, program)


def stop(session, program):
    """Whatever is left of a run that failed, gone before the next one."""
    if program.poll() is None:
        program.kill()
        program.wait(timeout=30)
        session.gone(TITLE, CONSOLE_TITLE, check=False)


def victims(build_dir, session_name, seeds):
    """The victim runs of test_victim.py for these seeds, in a Wine session of their own, their lines
    shown as they come and a failing one's report at the end; how long each run that passed took."""
    env = dict(os.environ, E2E_BUILD_DIR=str(build_dir), E2E_SESSION=f"{session_name}-victims",
               VICTIM_SEEDS=" ".join(map(str, seeds)), PYTHONDONTWRITEBYTECODE="1")
    tests = subprocess.Popen([sys.executable, "-m", "unittest", "test_victim.RandomVictim"], cwd=ROOT / "tests" / "e2e",
                             env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    took = []
    for line in tests.stdout:
        if passed := re.match(r"victim seed \d+: passed in ([\d.]+) s", line):
            took.append(float(passed.group(1)))
        if passed or re.match(r"(FAIL|ERROR):|AssertionError|RuntimeError|Ran ", line):
            print(line.rstrip(), flush=True)
    tests.wait()
    return took


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build_dir", nargs="?", default=str(ROOT / "build"))
    parser.add_argument("--runs", type=int, default=50)
    parser.add_argument("--victims", type=int, default=0, help="runs with seeded random input, after the others")
    parser.add_argument("--first-seed", type=int, default=None, help="the first victim run's seed")
    parser.add_argument("--busy-cores", type=int, default=0, help="cores that stress-ng keeps busy meanwhile")
    parser.add_argument("--session", default="session", help="the Wine session's name")
    args = parser.parse_args()
    build_dir = Path(args.build_dir).resolve()
    artifacts = build_dir / "e2e-artifacts"
    artifacts.mkdir(parents=True, exist_ok=True)
    session = WineSession(build_dir, args.session)
    address = f"http://{session.site_host()}/"
    own_session = not session_running(session)
    if own_session:
        session.stop()  # whatever an interrupted run left
        session.start()
    passed = failed = 0
    durations = []
    reports = []  # (run, text) of every run-time error report
    relay_log = artifacts / f"soak-{args.session}.relay.txt"
    load = None
    try:
        if args.busy_cores:
            load = subprocess.Popen(["stress-ng", "--quiet", "--cpu", str(args.busy_cores)], stdin=subprocess.DEVNULL)
            wait_for_workers(load, args.busy_cores)
            print(f"stress-ng keeps {args.busy_cores} core(s) busy", flush=True)
        for run in range(1, args.runs + 1):
            answer = "ANO" if run % 2 else "NE"
            dismiss = "ENTER" if (run - 1) // 2 % 2 == 0 else "ESC"
            begun = time.monotonic()
            try:
                one_run(session, answer, dismiss, relay_log, address)
            except (RunFailed, subprocess.TimeoutExpired, RuntimeError) as error:
                failed += 1
                kept = artifacts / f"soak-run-{run}.relay.txt"
                if relay_log.exists():
                    shutil.copy(relay_log, kept)
                reported = error_reports(kept)
                reports += [(run, text) for text in reported]
                print(f"run {run}/{args.runs} ({answer}, {dismiss}): FAILED after {time.monotonic() - begun:.1f} s: "
                      f"{error} (error reports: {reported or 'none'}; trace: {kept})", flush=True)
                continue
            passed += 1
            durations.append(time.monotonic() - begun)
            print(f"run {run}/{args.runs} ({answer}, {dismiss}): passed in {durations[-1]:.1f} s", flush=True)
        if args.victims:
            first_seed = args.first_seed if args.first_seed is not None else int(time.time()) % 100000 * 1000
            took = victims(build_dir, args.session, range(first_seed, first_seed + args.victims))
            passed += len(took)
            failed += args.victims - len(took)
            durations += took
    finally:
        if load:
            load.terminate()
            load.wait()
        if own_session:
            session.stop()
    if durations:
        print(f"run length: shortest {min(durations):.1f} s, median {statistics.median(durations):.1f} s, "
              f"longest {max(durations):.1f} s")
    print(f"{passed} passed, {failed} failed; {len({run for run, _ in reports})} ended in the run-time error report")
    for run, text in reports:
        print(f"  run {run}: {text}")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
