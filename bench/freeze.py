"""Benchmark: how long the question window stays frozen after "NE". `bench/freeze.py [BUILD_DIR] [--runs N]`

Each run starts the program under Wine with a timestamped trace of its calls, clicks "OK" and then
"NE", and ends the program once the console shows. Two figures are read from the trace: the pause
itself, from the first sleep after the caption swap to the last wake before the console (it sleeps
in slices rather than spinning: the slices are counted too), and the freeze as a user sees it, from
the caption swap to the console's creation, which adds closing the question window and creating
the console. Nominal: 2 s, a figure to watch rather than a goal. The trace's clock is Wine's tick
count, not the performance counter the program times its pause with, so the two may differ by a
few milliseconds."""

import argparse
import re
import statistics
from pathlib import Path

from wine_bench import CONSOLE_CLASS, TITLE, summary, trace_stamp as stamp, wine_session

NOMINAL_S = 2.0


def freeze_of(trace):
    """(the pause in seconds, the sleeps it took, seconds from the caption swap to the console)."""
    lines = trace.read_text(errors="replace").splitlines()
    created = next(i for i, l in enumerate(lines) if "Call user32.CreateWindowExW" in l and CONSOLE_CLASS in l)
    swapped = max(i for i, l in enumerate(lines[:created]) if "Call user32.SetWindowTextW" in l)
    sleeps = [i for i, l in enumerate(lines[swapped:created], swapped) if re.search(r"Call kernel32\.Sleep\(", l, re.I)]
    woken = [i for i, l in enumerate(lines[swapped:created], swapped) if re.search(r"Ret +kernel32\.Sleep\(", l, re.I)]
    if not sleeps or not woken:
        raise SystemExit("no sleep in the trace between the caption swap and the console")
    pause = stamp(lines[woken[-1]]) - stamp(lines[sleeps[0]])
    return pause, len(sleeps), stamp(lines[created]) - stamp(lines[swapped])


def main():
    parser = argparse.ArgumentParser(description="length of the freeze after NE")
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--runs", type=int, default=5)
    arguments = parser.parse_args()
    build = Path(arguments.build).resolve()
    trace = build / "bench-freeze.relay.txt"
    pauses, seen = [], []
    with wine_session(build) as session:
        print(f"{'run':>3} {'pause s':>8} {'sleeps':>7} {'as seen s':>10}")
        for run in range(1, arguments.runs + 1):
            program = session.launch(relay_log=trace)
            try:
                session.wait(TITLE, 30)
                session.helper("click-control", TITLE, "OK")
                session.wait_question()
                session.helper("click-control", TITLE, "NE")
                session.wait(CONSOLE_CLASS, 30, by_class=True)
            finally:
                program.kill()
                program.wait(timeout=30)
            pause, sleeps, as_seen = freeze_of(trace)
            pauses.append(pause)
            seen.append(as_seen)
            print(f"{run:>3} {pause:>8.3f} {sleeps:>7} {as_seen:>10.3f}")
    error = max(abs(pause - NOMINAL_S) for pause in pauses)
    print(f"pause: median {statistics.median(pauses):.3f} s, min {min(pauses):.3f} s, max {max(pauses):.3f} s "
          f"(nominal {NOMINAL_S:.3f} s; largest error {error * 1000:.0f} ms)\n"
          "  read with the trace's clock, Wine's tick count; the program times the pause with the "
          "performance counter")
    print(f"frozen as seen, caption swap to console: median {statistics.median(seen):.3f} s")
    summary("freeze after NE: the pause; caption swap to console", f"{statistics.median(pauses):.3f} s; "
            f"{statistics.median(seen):.3f} s (medians)", f"{NOMINAL_S:.0f} s (no goal)", None)


if __name__ == "__main__":
    main()
