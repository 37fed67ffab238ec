"""Benchmark: peak memory of the program against the same settings window from a dialog template
and against a bare Win32 window program. `bench/memory.py [BUILD_DIR]`

window_watch.exe (bench/window_watch.cpp) starts each program under Wine and, a second after its
window shows, asks GetProcessMemoryInfo for the peak working set and the pagefile usage (private
memory); it keeps sampling every 10 ms until the program ends. Wine answers from Linux's
/proc/PID/status of the Wine process: the peak working set is VmHWM, the pagefile usage RssAnon
(Wine gives the current value as the peak too), so both include Wine's own share, which the
references pay as well. The script reads /proc itself alongside, to show that they agree and where
the resident memory lies (anonymous, mapped files, shared memory), and falls back to it if Wine
ever answers zero. Four cases: the bare window (bench/bare_window.cpp); the resource dialog
(bench/settings_dialog.rc: the settings window as the platform's dialog manager builds it); the
program with its settings window shown, then closed; the program driven through the whole joke
("OK", "ANO", the console, the finale's box), whose peak is Wine's last sample before it ended.
Goal: program <= 1.05 x the resource dialog; the bare window shows what any window costs."""

import sys

from wine_bench import (BARE_TITLE, DIALOG_TITLE, TITLE, bare_exe, build_dir, dialog_exe, linux_process,
                        proc_status, read_figures, resident_by_mapping, summary, watch, wine_session)

GOAL = 1.05
DIALOG, BARE = "resource dialog", "bare window"
PROGRAM_ROWS = ("program, settings window", "program, whole run")
SETTLE_MS = "1000"


def measure(session, title, exe, drive=None):
    """Wine's counters (KiB) at the window and at the end, and /proc's at the window (or, when
    driven, at the finale's box)."""
    watcher = watch(session, title, exe, "--stay", "--settle", SETTLE_MS)
    shown = read_figures(watcher, "memory")["memory"]
    pid = linux_process(session, exe.name)
    linux = proc_status(pid)
    mappings = resident_by_mapping(pid)
    if drive:
        linux = drive(session, exe)
    else:
        session.helper("post", title, 0x0112, 0xF060)  # WM_SYSCOMMAND, SC_CLOSE: the close box
    final = read_figures(watcher, "memory_final")["memory_final"]
    watcher.wait(timeout=60)
    return {"shown": {k: v // 1024 for k, v in shown.items()}, "final": {k: v // 1024 for k, v in final.items()},
            "linux": linux, "mappings": mappings}


def whole_run(session, exe):
    """Drives the program to its finale; returns /proc's figures while the finale's box is up."""
    session.helper("click-control", TITLE, "OK")
    session.wait_question()
    session.helper("click-control", TITLE, "ANO")
    box = session.wait("#32770", 60, by_class=True)
    linux = proc_status(linux_process(session, exe.name))
    session.helper("keys", box["title"], "ENTER")
    return linux


def main():
    with wine_session(build_dir(sys.argv)) as session:
        rows = {BARE: measure(session, BARE_TITLE, bare_exe(session))}
        rows[DIALOG] = measure(session, DIALOG_TITLE, dialog_exe(session))
        rows["program, settings window"] = measure(session, TITLE, session.program)
        rows["program, whole run"] = measure(session, TITLE, session.program, drive=whole_run)

    wine = all(row["final"]["peak_working_set"] > 0 for row in rows.values())
    print("figures from " + ("Wine's GetProcessMemoryInfo" if wine else "/proc (Wine answered zero)") +
          "; the references and the settings window at the window, the whole run as it ended")
    print(f"{'KiB':<25} {'peak working set':>16} {'private':>8} | /proc: {'VmHWM':>6} {'RssAnon':>8} "
          f"{'RssFile':>8} {'RssShmem':>8}")
    peaks = {}
    for name, row in rows.items():
        counters = row["shown" if name != "program, whole run" else "final"]
        linux = row["linux"]
        peaks[name] = ((counters["peak_working_set"], counters["pagefile"]) if wine else
                       (linux["VmHWM"], linux["RssAnon"]))
        print(f"{name:<25} {peaks[name][0]:>16} {peaks[name][1]:>8} | {'':6} {linux['VmHWM']:>6} "
              f"{linux['RssAnon']:>8} {linux['RssFile']:>8} {linux['RssShmem']:>8}")
    settings = rows["program, settings window"]["mappings"]
    for reference in (DIALOG, BARE):
        base = rows[reference]["mappings"]
        extra = sorted(((settings[name] - base[name], name) for name in settings.keys() | base.keys()),
                       reverse=True)
        print(f"where the settings window's extra resident memory over the {reference} lies (KiB): " +
              ", ".join(f"{name} {kib:+d}" for kib, name in extra[:6] if kib > 0))
    for name in PROGRAM_ROWS:
        ws, private = peaks[name]
        for reference in (DIALOG, BARE):
            base = peaks[reference]
            ratio = ws / base[0]
            # Like for like: the settings window against the same window from a template. The
            # whole run adds windows the reference never shows, the console's screen-sized canvas.
            held = reference == DIALOG and name == PROGRAM_ROWS[0]
            goal = f"; goal <= {GOAL:.2f} x" if held else ""
            print(f"{name}: peak working set {ratio:.2f} x {reference} ({ws - base[0]:+d} KiB), "
                  f"private {private / base[1]:.2f} x ({private - base[1]:+d} KiB){goal}")
            summary(f"peak working set, {name.removeprefix('program, ')} vs {reference}",
                    f"{ws} KiB = {ratio:.2f} x {reference} ({base[0]} KiB)",
                    f"<= {GOAL:.2f} x" if held else "-", ratio <= GOAL if held else None)


if __name__ == "__main__":
    main()
