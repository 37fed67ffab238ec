"""Benchmark: start-up time of the program against a bare Win32 window program.
`bench/startup.py [BUILD_DIR] [--runs N]`

Under Wine, window_watch.exe (bench/window_watch.cpp) starts each program with CreateProcessW and,
from inside the same Wine, looks every millisecond for its first visible window; a look costs
microseconds there, where asking from Linux costs a Wine process start. The Wine desktop stays
open throughout, as a Windows desktop would. The two programs take turns, so that the machine's
load weighs on both alike, after one unmeasured start of each.
Two figures per start: until the window is visible (the goal: program <= 1.10 x bare window), and
until the program first waits for input (WaitForInputIdle: drawn, and in its message loop)."""

import argparse
import os
from pathlib import Path

from wine_bench import BARE_TITLE, TITLE, bare_exe, median, read_figures, summary, watch, wine_session

GOAL = 1.10


def start_once(session, title, exe):
    watcher = watch(session, title, exe, "--settle", "0")
    figures = read_figures(watcher, "visible_ms", "idle_ms", "ended_ms")
    watcher.wait(timeout=60)
    return figures["visible_ms"], figures["idle_ms"]


def main():
    parser = argparse.ArgumentParser(description="start-up time of the program against a bare window")
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--runs", type=int, default=10)
    arguments = parser.parse_args()
    runs = arguments.runs
    with wine_session(Path(arguments.build).resolve()) as session:
        contenders = {"program": (TITLE, session.program), "bare window": (BARE_TITLE, bare_exe(session))}
        print(f"load average before: {os.getloadavg()[0]:.2f} ({os.cpu_count()} cores)")
        for title, exe in contenders.values():
            start_once(session, title, exe)
        times = {name: [] for name in contenders}
        print(f"{'run':>3} {'program visible':>16} {'idle':>8} {'bare visible':>13} {'idle':>8}   (ms)")
        for run in range(1, runs + 1):
            for name, (title, exe) in contenders.items():
                times[name].append(start_once(session, title, exe))
            (pv, pi), (bv, bi) = times["program"][-1], times["bare window"][-1]
            print(f"{run:>3} {pv:>16.1f} {pi:>8.1f} {bv:>13.1f} {bi:>8.1f}")
        print(f"load average after: {os.getloadavg()[0]:.2f}")

    for column, label in ((0, "visible"), (1, "idle")):
        medians = {name: median([t[column] for t in ts]) for name, ts in times.items()}
        for name, ts in times.items():
            print(f"{label:>7} {name:<12} median {medians[name]:7.1f} ms   min {min(t[column] for t in ts):7.1f} ms")
        ratio = medians["program"] / medians["bare window"]
        # Other work on the machine only ever adds time: the fastest starts show the least of it.
        fastest = min(t[column] for t in times["program"]) / min(t[column] for t in times["bare window"])
        print(f"{label:>7} ratio of medians: {ratio:.3f} (goal <= {GOAL:.2f}); ratio of minimums: {fastest:.3f}")
        if label == "visible":
            summary("start-up, window visible (median)", f"{medians['program']:.0f} ms = {ratio:.2f} x bare "
                    f"({medians['bare window']:.0f} ms)", f"<= {GOAL:.2f} x", ratio <= GOAL)


if __name__ == "__main__":
    main()
