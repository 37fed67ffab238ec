"""Benchmark: start-up time of the program against a bare Win32 window program.
`bench/startup.py [BUILD_DIR] [--runs N]`

Under Wine, window_watch.exe (bench/window_watch.cpp) starts each program with CreateProcessW and,
from inside the same Wine, looks every millisecond for its first visible window; a look costs
microseconds there, where asking from Linux costs a Wine process start. The two programs take
turns, so that the machine's load weighs on both alike, after one unmeasured start of each.
Two figures per start: until the window is visible (the goal: program <= 1.10 x bare window), and
until the program first waits for input (WaitForInputIdle: drawn, and in its message loop)."""

import os
import sys

from wine_bench import BARE_TITLE, TITLE, bare_exe, build_dir, median, read_figures, summary, watch, wine_session

GOAL = 1.10


def start_once(session, title, exe):
    watcher = watch(session, title, exe, "--settle", "0")
    figures = read_figures(watcher, "visible_ms", "idle_ms", "ended_ms")
    watcher.wait(timeout=60)
    return figures["visible_ms"], figures["idle_ms"]


def main():
    runs = int(sys.argv[sys.argv.index("--runs") + 1]) if "--runs" in sys.argv else 10
    if "--runs" in sys.argv:
        del sys.argv[sys.argv.index("--runs"):sys.argv.index("--runs") + 2]
    with wine_session(build_dir(sys.argv)) as session:
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
        print(f"{label:>7} ratio of medians: {ratio:.3f} (goal <= {GOAL:.2f})")
        if label == "visible":
            summary("start-up, window visible (median)", f"{medians['program']:.0f} ms = {ratio:.2f} x bare "
                    f"({medians['bare window']:.0f} ms)", f"<= {GOAL:.2f} x", ratio <= GOAL)


if __name__ == "__main__":
    main()
