#!/usr/bin/env python3
"""Checks the e2e helper against the throwaway target window, observing the target only through
the helper, so a helper that misreports anything fails here.

Usage: run_selftest.py HELPER_EXE TARGET_EXE [--wine LOADER]

It builds nothing and starts no display or Wine prefix of its own: DISPLAY, WINEPREFIX and the
rest of the Wine environment must already be set up the way the e2e tests expect (a single
virtual desktop). The loader defaults to $WINELOADER, else `wine`.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import time

TITLE = "Tajné okno zkoušky"
SECOND_TITLE = "Druhé okno zkoušky"
BOX_TITLE = "Hlášení zkoušky"
BOX_TEXT = "Žluťoučký kůň úpěl ďábelské ódy."
QUOTED = 'uvozovky "x", lomítko \\ a\ttabulátor'
TYPED = "Čtvrtá žluťoučká"
CLIENT_SIZE = (480, 320)
RED_PATCH = (300, 200, 380, 260)  # client coordinates, right and bottom exclusive
WM_COMMAND = 0x111
# Comfortably beyond the default double-click time, so separate clicks stay separate.
CLICK_SEPARATION_S = 1.0
HELPER_TIMEOUT_S = 60


# Stands for output that was not one JSON document; `null` is a valid answer of some commands.
UNPARSABLE = object()


class Fatal(Exception):
    """A failure after which the remaining checks cannot mean anything."""


class Run:
    def __init__(self, wine, helper):
        self.wine = wine
        self.helper = helper
        self.passed = 0
        self.failed = 0

    def call(self, *args, timeout=HELPER_TIMEOUT_S):
        """Runs the helper; returns (exit code, parsed JSON, raw stdout bytes)."""
        # A file, not a pipe: a Wine service that this call happens to start (explorer's desktop,
        # after it quit for want of windows) inherits the output handle and would hold a pipe open.
        with tempfile.TemporaryFile() as out:
            proc = subprocess.run([self.wine, self.helper, *map(str, args)], stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
            out.seek(0)
            stdout = out.read()
        try:
            document = json.loads(stdout.decode("utf-8"))
        except (UnicodeDecodeError, json.JSONDecodeError) as error:
            self.check(f"{args[0] if args else '(none)'} prints one JSON document", False,
                       f"{error}: {stdout[:300]!r}")
            document = UNPARSABLE
        return proc.returncode, document, stdout

    def ok(self, *args, timeout=HELPER_TIMEOUT_S):
        """Runs the helper and insists on success."""
        code, document, _ = self.call(*args, timeout=timeout)
        if code != 0 or document is UNPARSABLE:
            raise Fatal(f"helper {' '.join(map(str, args))} -> exit {code}: {document}")
        return document

    def check(self, name, condition, detail=""):
        if condition:
            self.passed += 1
            print(f"ok    {name}")
        else:
            self.failed += 1
            print(f"FAIL  {name}" + (f": {detail}" if detail else ""))
        return condition

    def equal(self, name, actual, expected):
        return self.check(name, actual == expected, f"got {actual!r}, expected {expected!r}")


def walk(children):
    for child in children:
        yield child
        yield from walk(child["children"])


def by_id(dump, control_id):
    for child in walk(dump["children"]):
        if child["id"] == control_id:
            return child
    raise Fatal(f"no control #{control_id} in dump")


def status(run):
    """The target's status line: pid, mouse and button counters."""
    text = by_id(run.ok("dump", TITLE), 106)["text"]
    match = re.fullmatch(r"pid=(\d+) down=(\d+) dbl=(\d+) at=(-?\d+),(-?\d+) apply=(\d+)", text)
    if not match:
        raise Fatal(f"unexpected status line {text!r}")
    pid, down, dbl, x, y, apply = map(int, match.groups())
    return {"pid": pid, "down": down, "dbl": dbl, "at": (x, y), "apply": apply}


def rect(x, y, w, h):
    return {"x": x, "y": y, "w": w, "h": h}


def inside(inner, outer):
    return (outer["x"] <= inner["x"] and inner["x"] + inner["w"] <= outer["x"] + outer["w"]
            and outer["y"] <= inner["y"] and inner["y"] + inner["h"] <= outer["y"] + outer["h"])


def check_command_line(run):
    code, document, _ = run.call()
    run.check("no command is a usage error", code == 2 and isinstance(document, dict) and "error" in document,
              f"exit {code}")
    code, _, _ = run.call("wait", TITLE)
    run.equal("missing argument is a usage error", code, 2)
    code, _, _ = run.call("keys", "-", "NOSUCHKEY")
    run.equal("unknown key is a usage error", code, 2)
    code, _, _ = run.call("click", TITLE, "x", "1")
    run.equal("non-numeric coordinate is a usage error", code, 2)
    code, document, _ = run.call("wait", "Okno, které není", 300)
    run.check("wait for a missing window times out with exit 1", code == 1 and "error" in document,
              f"exit {code}: {document}")


def check_screen(run):
    screen = run.ok("screen")
    virtual, work = screen["virtual"], screen["work"]
    run.check("screen has a size", screen["w"] > 0 and screen["h"] > 0, str(screen))
    run.check("virtual screen covers the screen", virtual["w"] >= screen["w"] and virtual["h"] >= screen["h"],
              str(screen))
    run.check("work area lies on the virtual screen", inside(work, virtual), str(screen))
    run.check("screen dpi is plausible", 72 <= screen["dpi"] <= 480, str(screen["dpi"]))
    return screen


def check_found_window(run, window, screen):
    run.equal("wait returns the exact title", window["title"], TITLE)
    run.equal("window class", window["class"], "E2eSelftestTarget")
    run.equal("client size", (window["client"]["w"], window["client"]["h"]), CLIENT_SIZE)
    run.check("client lies inside the window frame", inside(window["client"], window["window"]),
              f"{window['window']} {window['client']}")
    run.check("window is visible, enabled and unowned",
              window["visible"] and window["enabled"] and window["owner"] == 0, str(window))
    run.check("style says caption and system menu", window["style"] & 0x00C80000 == 0x00C80000,
              hex(window["style"]))

    for near_miss in (TITLE[:-1], TITLE + " ", TITLE.lower()):
        code, _, _ = run.call("wait", near_miss, 200)
        run.equal(f"wait wants the exact title, not {near_miss!r}", code, 1)

    listed = run.ok("windows")
    mine = [w for w in listed if w["hwnd"] == window["hwnd"]]
    run.check("windows lists the target once", len(mine) == 1, f"{len(mine)} entries")
    if mine:
        same = {k: v for k, v in mine[0].items() if k != "foreground"}
        run.equal("windows reports what wait reported", same,
                  {k: v for k, v in window.items() if k != "foreground"})
    run.check("windows leaves the shell's windows out",
              not any(w["class"] in ("Shell_TrayWnd", "Progman", "#32769") for w in listed))


def check_dump(run, window, screen):
    dump = run.ok("dump", TITLE)
    run.equal("dump carries the window object", dump["hwnd"], window["hwnd"])
    run.equal("children come in Z-order", [c["id"] for c in dump["children"]], list(range(101, 108)))
    run.equal("dump dpi matches the screen", dump["dpi"], screen["dpi"])
    main_font = dump["font"] or {}
    run.equal("window font as the window answers it", (main_font.get("face"), main_font.get("height")),
              ("Tahoma", -13))
    run.check("nothing in the dump hung", '"hung"' not in json.dumps(dump))

    expected = {
        101: ("Button", "Zapamatovat si volbu", rect(20, 20, 220, 24)),
        103: ("Button", "Použít", rect(20, 100, 100, 28)),
        104: ("Button", "&Zpráva", rect(130, 100, 100, 28)),
        105: ("Static", "", rect(260, 20, 32, 32)),
        106: ("Static", None, rect(20, 140, 440, 20)),
        107: ("Static", QUOTED, rect(20, 170, 440, 20)),
    }
    for control_id, (cls, text, where) in expected.items():
        child = by_id(dump, control_id)
        run.equal(f"#{control_id} class", child["class"], cls)
        if text is not None:
            run.equal(f"#{control_id} text", child["text"], text)
        run.equal(f"#{control_id} rect", child["rect"], where)

    check = by_id(dump, 101)
    run.check("check box is a tab stop starting a group", check["tabstop"] and check["group"], str(check))
    run.equal("check box starts unchecked", check["check"], 0)
    run.equal("check box font", (check["font"] or {}).get("face"), "Tahoma")
    run.equal("bold button font weight", (by_id(dump, 103)["font"] or {}).get("weight"), 700)
    run.equal("normal button font weight", (by_id(dump, 104)["font"] or {}).get("weight"), 400)
    run.check("status line is no tab stop", not by_id(dump, 106)["tabstop"])

    combo = by_id(dump, 102)
    run.equal("combo items", combo["items"], ["První", "Druhá", "Třetí"])
    run.equal("combo selection", (combo["cursel"], combo["text"], combo["dropped"]), (1, "Druhá", False))
    run.equal("combo position", (combo["rect"]["x"], combo["rect"]["y"], combo["rect"]["w"]), (20, 56, 220))
    edits = [c for c in combo["children"] if c["class"] == "Edit"]
    run.check("combo's edit is nested under the combo", len(edits) == 1, str(combo["children"]))
    if edits:
        edit = edits[0]
        run.equal("nested edit text", edit["text"], "Druhá")
        run.check("nested edit rect is relative to the combo",
                  inside(edit["rect"], rect(0, 0, combo["rect"]["w"], combo["rect"]["h"])),
                  f"{edit['rect']} in {combo['rect']}")

    icon = by_id(dump, 105)
    run.equal("icon static image", icon["image"], {"type": "icon", "w": 32, "h": 32})
    run.equal("text static has no image", by_id(dump, 107)["image"], None)
    run.equal("focus starts on the check box", (dump["focus"] or {}).get("id"), 101)

    run.equal("dump by #HWND finds the same window", run.ok("dump", f"#{window['hwnd']}")["title"], TITLE)

    _, _, raw = run.call("dump", TITLE)
    run.check("output has no BOM", not raw.startswith(b"\xef\xbb\xbf"))
    run.check("non-ASCII text is written as UTF-8", "Použít".encode("utf-8") in raw)
    run.check("control characters are \\u-escaped", b"a\\u0009tabul" in raw)

    pid = status(run)["pid"]
    run.equal("pid is the target's own", window["pid"], pid)


def check_pixels(run, window):
    origin = window["client"]
    left, top, right, bottom = RED_PATCH
    inside = run.ok("pixel", origin["x"] + (left + right) // 2, origin["y"] + (top + bottom) // 2)
    run.equal("pixel inside the painted patch", inside["color"], "#FF0000")
    outside = run.ok("pixel", origin["x"] + right + 20, origin["y"] + bottom + 20)
    run.check("pixel outside the patch differs", re.fullmatch(r"#[0-9A-F]{6}", outside["color"])
              and outside["color"] != "#FF0000", outside["color"])


def check_keyboard(run, dump):
    combo = by_id(dump, 102)
    run.equal("focus before typing", run.ok("focus", TITLE)["id"], 101)

    result = run.ok("keys", TITLE, "TAB")
    run.equal("keys reports the window in front", result["foreground"], dump["hwnd"])
    focus = run.ok("focus", TITLE)
    run.check("TAB moves focus into the combo's edit",
              focus["class"] == "Edit" and focus["parent"] == combo["hwnd"], str(focus))

    run.ok("keys", TITLE, "SHIFT+TAB")
    run.equal("SHIFT+TAB moves focus back", run.ok("focus", TITLE)["id"], 101)

    run.ok("keys", TITLE, "SPACE")
    run.equal("SPACE ticks the check box", by_id(run.ok("dump", TITLE), 101)["check"], 1)

    run.ok("keys", TITLE, "TAB", "HOME", "SHIFT+END", f"text:{TYPED}")
    after = by_id(run.ok("dump", TITLE), 102)
    run.equal("typed Unicode text replaces the combo text", after["text"], TYPED)

    run.ok("keys", TITLE, "ALT+DOWN")
    run.equal("ALT+DOWN drops the list", by_id(run.ok("dump", TITLE), 102)["dropped"], True)
    run.ok("keys", TITLE, "ESC")
    after = by_id(run.ok("dump", TITLE), 102)
    run.equal("ESC closes it and keeps the text", (after["dropped"], after["text"]), (False, TYPED))

    run.ok("keys", TITLE, "repeat:2:SHIFT+TAB", "sleep:50")
    run.equal("repeat sends the chord each time", run.ok("focus", TITLE)["id"], 104)


def check_bringing_forward(run, options, window):
    """Keys and clicks must reach the named window even when another one covers it."""
    second = subprocess.Popen([options.wine, options.target, SECOND_TITLE], stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        other = run.ok("wait", SECOND_TITLE, 30000)
        time.sleep(0.5)
        run.check("the second window starts in front",
                  [w["hwnd"] for w in run.ok("windows") if w["foreground"]] == [other["hwnd"]])
        result = run.ok("keys", TITLE, "SHIFT+TAB")
        run.equal("keys brings the covered window forward", result["foreground"], window["hwnd"])
        run.equal("the key reaches it", (run.ok("focus", TITLE) or {}).get("id"), 103)
        run.equal("the window left behind keeps its check box",
                  by_id(run.ok("dump", SECOND_TITLE), 101)["check"], 0)

        run.ok("keys", SECOND_TITLE, "SPACE")
        run.equal("keys reach the other window when it is named",
                  by_id(run.ok("dump", SECOND_TITLE), 101)["check"], 1)
        run.equal("and not the first one", by_id(run.ok("dump", TITLE), 101)["check"], 1)

        before = status(run)
        result = run.ok("click", TITLE, 150, 240)
        run.check("click brings the covered window forward",
                  result["foreground"] and result["hit"] == window["hwnd"], str(result))
        run.equal("the click lands on it", status(run)["down"], before["down"] + 1)
        run.ok("keys", SECOND_TITLE, "ALT+F4")
        run.equal("ALT+F4 closes the window it is sent to", run.ok("gone", SECOND_TITLE, 5000)["gone"], True)
        second.wait(timeout=15)
    finally:
        if second.poll() is None:
            second.kill()
            second.wait()


def check_mouse(run):
    before = status(run)["apply"]
    result = run.ok("click-control", TITLE, "Použít")
    run.equal("click-control finds the button by its label", result["control"]["id"], 103)
    run.equal("the click presses the button", status(run)["apply"], before + 1)
    run.ok("click-control", TITLE, "#103")
    run.equal("click-control finds the button by #ID", status(run)["apply"], before + 2)
    run.ok("post", TITLE, WM_COMMAND, 103, 0)
    run.equal("post delivers a raw message", status(run)["apply"], before + 3)

    start = status(run)
    time.sleep(CLICK_SEPARATION_S)
    result = run.ok("click", TITLE, 150, 240)
    run.equal("cursor ends where the click was", result["cursor"], result["screen"])
    after = status(run)
    run.equal("single click arrives once, at its client point",
              (after["down"] - start["down"], after["dbl"] - start["dbl"], after["at"]), (1, 0, (150, 240)))

    time.sleep(CLICK_SEPARATION_S)
    run.ok("click", TITLE, 160, 250, 2)
    later = status(run)
    run.equal("double click arrives as a down then a double-click message",
              (later["down"] - after["down"], later["dbl"] - after["dbl"], later["at"]), (1, 1, (160, 250)))

    code, document, _ = run.call("click-control", TITLE, "Neexistuje")
    run.check("click-control on a missing control exits 1", code == 1 and "error" in document, f"exit {code}")


def check_message_box(run, window):
    run.ok("click-control", TITLE, "Zpráva")
    box = run.ok("wait-class", "#32770", 5000)
    run.equal("wait-class finds the message box", box["title"], BOX_TITLE)
    run.check("message box belongs to the target",
              box["owner"] == window["hwnd"] and box["pid"] == window["pid"], str(box))
    run.equal("the owner is disabled while the box is up", run.ok("dump", TITLE)["enabled"], False)

    dump = run.ok("dump", f"#{box['hwnd']}")
    controls = list(walk(dump["children"]))
    run.check("dump reads the message text",
              any(c["class"] == "Static" and c["text"] == BOX_TEXT for c in controls),
              str([c["text"] for c in controls]))
    run.check("dump sees the OK button", any(c["class"] == "Button" and c["text"] == "OK" for c in controls))
    run.check("dump sizes the box's icon", any((c.get("image") or {}).get("w") == 32 for c in controls))
    run.equal("focus rests on OK", run.ok("focus", BOX_TITLE)["text"], "OK")

    run.ok("click-control", BOX_TITLE, "OK")
    run.equal("gone sees the box close", run.ok("gone", BOX_TITLE, 5000)["gone"], True)
    run.equal("the owner is enabled again", run.ok("dump", TITLE)["enabled"], True)


def check_frozen_target(run):
    freeze_ms = 6000
    run.ok("post", TITLE, WM_COMMAND, 108, freeze_ms)
    frozen_at = time.monotonic()
    time.sleep(0.3)
    started = time.monotonic()
    code, document, _ = run.call("dump", TITLE, timeout=freeze_ms / 1000 + 20)
    elapsed = time.monotonic() - started
    run.check("dump of a frozen target returns early", code == 0 and elapsed < freeze_ms / 1000 - 1,
              f"exit {code} after {elapsed:.1f}s")
    run.check("dump says the target hung", isinstance(document, dict) and document.get("hung") is True)
    time.sleep(max(0.0, freeze_ms / 1000 + 1 - (time.monotonic() - frozen_at)))
    run.check("the target answers again afterwards", '"hung"' not in json.dumps(run.ok("dump", TITLE)))


def check_close(run, target):
    code, document, _ = run.call("gone", TITLE, 300)
    run.check("gone times out while the window is there", code == 1 and "error" in document, f"exit {code}")
    run.ok("close", TITLE)
    run.equal("close makes the window go", run.ok("gone", TITLE, 5000)["gone"], True)
    try:
        target.wait(timeout=15)
        run.check("the target process ends", True)
    except subprocess.TimeoutExpired:
        run.check("the target process ends", False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("helper")
    parser.add_argument("target")
    parser.add_argument("--wine", default=os.environ.get("WINELOADER") or "wine")
    options = parser.parse_args()

    run = Run(options.wine, options.helper)
    target = None
    try:
        check_command_line(run)
        screen = check_screen(run)
        target = subprocess.Popen([options.wine, options.target], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = run.ok("wait", TITLE, 30000)
        check_found_window(run, window, screen)
        check_dump(run, window, screen)
        check_pixels(run, window)
        check_keyboard(run, run.ok("dump", TITLE))
        check_bringing_forward(run, options, window)
        check_mouse(run)
        check_message_box(run, window)
        check_frozen_target(run)
        check_close(run, target)
    except (Fatal, subprocess.TimeoutExpired, KeyError, TypeError) as error:
        run.check("selftest ran to the end", False, f"{type(error).__name__}: {error}")
    finally:
        if target is not None and target.poll() is None:
            target.kill()
            target.wait()

    print(f"{run.passed} passed, {run.failed} failed")
    return 0 if run.failed == 0 and run.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
