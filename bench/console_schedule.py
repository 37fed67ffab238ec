"""Benchmark: how punctually the console types its script. `bench/console_schedule.py [BUILD_DIR]`

Runs the program under Wine up to the finale and reads Wine's timestamped trace of the calls it
makes: the console window's creation is time zero, each printed text is a row of the script, and
the message box is the finale. Prints every row's nominal and measured time, the errors, and the
total against the nominal 16.08 s. Needs a build (./test or ./run builds one)."""

import re
import statistics
import sys
from pathlib import Path

from wine_bench import CONSOLE_CLASS, TITLE, summary, trace_stamp as stamp
from wineenv import WineSession  # found through wine_bench

# Counts at which the console prints; the row for count c runs on tick c + 1, 80 ms apart.
COUNTS = [1, 2, 3, 15, 18, 20, 25, 45, 80, 90, 95, 100, 105, 130, 135, 140, 160, 170, 180]
FINALE = 200
TICK = 0.080
QUANTUM_MS = 15.6  # the Windows timer quantum


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else "build").resolve()
    session = WineSession(build)
    session.stop()
    session.start()
    trace = build / "bench-console.relay.txt"
    try:
        program = session.launch(relay_log=trace)
        session.wait(TITLE, 30)
        session.helper("click-control", TITLE, "OK")
        session.wait_question()
        session.helper("click-control", TITLE, "ANO")
        box = session.wait("#32770", 60, by_class=True)
        session.helper("keys", box["title"], "ENTER")
        program.wait(timeout=30)
    finally:
        session.stop()

    lines = trace.read_text(errors="replace").splitlines()
    created = next(stamp(l) for l in lines if "Call user32.CreateWindowExW" in l and CONSOLE_CLASS in l)
    finale = next(stamp(l) for l in lines if re.search(r"Call user32\.MessageBoxW", l, re.I))
    prints = [stamp(l) for l in lines if "Call gdi32.ExtTextOutW" in l and created < stamp(l) < finale]
    # Empty lines print nothing: they only move the position. Every other row draws once.
    drawn = [c for c in COUNTS if c not in (18, 25)]
    if len(prints) < len(drawn):
        raise SystemExit(f"expected {len(drawn)} printed rows, found {len(prints)}")
    print(f"{'count':>5} {'nominal s':>10} {'measured s':>11} {'error ms':>9}")
    errors = []
    for count, at in zip(drawn + [FINALE], prints[:len(drawn)] + [finale]):
        nominal = (count + 1) * TICK
        measured = at - created
        errors.append((measured - nominal) * 1000)
        print(f"{count:>5} {nominal:>10.3f} {measured:>11.3f} {errors[-1]:>9.1f}")
    worst = max(errors, key=abs)
    print(f"max error {worst:.1f} ms, mean error {statistics.mean(errors):.1f} ms "
          f"(timer quantum on Windows: {QUANTUM_MS} ms; the trace stamps in ms with Wine's tick count)")
    print(f"finale after {finale - created:.3f} s (nominal {(FINALE + 1) * TICK:.3f} s)")
    # No drift: the last row is no later than the first, beyond one quantum.
    drift = errors[-1] - errors[0]
    summary("console schedule, worst row", f"{worst:.1f} ms (mean {statistics.mean(errors):.1f} ms)",
            f"<= {QUANTUM_MS} ms", abs(worst) <= QUANTUM_MS)
    summary("console schedule, drift first row to finale", f"{drift:+.1f} ms (finale at {finale - created:.3f} s "
            f"of {(FINALE + 1) * TICK:.3f} s)", f"<= {QUANTUM_MS} ms", abs(drift) <= QUANTUM_MS)


if __name__ == "__main__":
    main()
