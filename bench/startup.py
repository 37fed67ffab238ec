"""Benchmark: start-up time of the program against the same settings window from a dialog
template and against a bare Win32 window program. `bench/startup.py [BUILD_DIR] [--runs N]`

Under Wine, window_watch.exe (bench/window_watch.cpp) starts each program with CreateProcessW and,
from inside the same Wine, looks every millisecond for its first visible window; a look costs
microseconds there, where asking from Linux costs a Wine process start. The Wine desktop stays
open throughout, as a Windows desktop would. The programs take turns, so that the machine's load
weighs on all alike, after one unmeasured start of each.
Two figures per start: until the window is visible, and until the program first waits for input
(WaitForInputIdle: drawn, and in its message loop). The goal: program <= 1.05 x the resource
dialog (bench/settings_dialog.rc: what the platform's dialog manager takes for the same controls);
the bare window (bench/bare_window.cpp) shows what any window costs."""

import argparse
import os
from pathlib import Path

from wine_bench import (BARE_TITLE, DIALOG_TITLE, TITLE, bare_exe, dialog_exe, median, read_figures, summary,
                        watch, wine_session)

GOAL = 1.05
PROGRAM, DIALOG, BARE = "program", "resource dialog", "bare window"


def start_once(session, title, exe):
    watcher = watch(session, title, exe, "--settle", "0")
    figures = read_figures(watcher, "visible_ms", "idle_ms", "ended_ms")
    watcher.wait(timeout=60)
    return figures["visible_ms"], figures["idle_ms"]


def main():
    parser = argparse.ArgumentParser(description="start-up time of the program against its references")
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--runs", type=int, default=10)
    arguments = parser.parse_args()
    runs = arguments.runs
    with wine_session(Path(arguments.build).resolve()) as session:
        contenders = {PROGRAM: (TITLE, session.program), DIALOG: (DIALOG_TITLE, dialog_exe(session)),
                      BARE: (BARE_TITLE, bare_exe(session))}
        print(f"load average before: {os.getloadavg()[0]:.2f} ({os.cpu_count()} cores)")
        for title, exe in contenders.values():
            start_once(session, title, exe)
        times = {name: [] for name in contenders}
        print(f"{'run':>3} " + " ".join(f"{name + ' visible':>23} {'idle':>8}" for name in contenders) + "   (ms)")
        for run in range(1, runs + 1):
            for name, (title, exe) in contenders.items():
                times[name].append(start_once(session, title, exe))
            print(f"{run:>3} " + " ".join(f"{ts[-1][0]:>23.1f} {ts[-1][1]:>8.1f}" for ts in times.values()))
        print(f"load average after: {os.getloadavg()[0]:.2f}")

    for column, label in ((0, "visible"), (1, "idle")):
        medians = {name: median([t[column] for t in ts]) for name, ts in times.items()}
        fastest = {name: min(t[column] for t in ts) for name, ts in times.items()}
        for name in times:
            print(f"{label:>7} {name:<15} median {medians[name]:7.1f} ms   min {fastest[name]:7.1f} ms")
        for reference in (DIALOG, BARE):
            ratio = medians[PROGRAM] / medians[reference]
            # Other work on the machine only ever adds time: the fastest starts show the least of it.
            least = fastest[PROGRAM] / fastest[reference]
            goal = f" (goal <= {GOAL:.2f})" if reference == DIALOG else ""
            print(f"{label:>7} program / {reference}: ratio of medians {ratio:.3f}{goal}; "
                  f"ratio of minimums {least:.3f}")
            if label == "visible":
                summary(f"start-up, window visible (median) vs {reference}",
                        f"{medians[PROGRAM]:.0f} ms = {ratio:.2f} x {reference} ({medians[reference]:.0f} ms)",
                        f"<= {GOAL:.2f} x" if reference == DIALOG else "-",
                        ratio <= GOAL if reference == DIALOG else None)


if __name__ == "__main__":
    main()
