"""Runs the program under Wine. `demo.py BUILD_DIR [--unattended] [--publish DIR] [--copy DIR]`

With a display (DISPLAY set) and without --unattended, the joke runs on it for a person to play
with. Otherwise a virtual display is started and the joke runs through by itself, the way a user
would click through it, and a screenshot of every stage goes to BUILD_DIR/gallery, with an
animated picture of the console typing. --publish DIR also writes small copies for the README
(the project's docs/gallery is made with `./run --unattended --publish docs/gallery`).
--copy DIR runs the copy of one's own that ./run built in DIR, with another site and credit,
instead: its pictures, those of one monitor, go to DIR/gallery."""

import argparse
import os
import re
import shutil
import subprocess
import time
from pathlib import Path

from wineenv import TITLE, WineSession, unescape


def wait(session, title):
    found = session.wait(title, check=False)
    if not found:
        raise SystemExit(f"demo: gave up waiting for {title!r}")
    return found


def animate(frames, target):
    """The console typing as an animated picture: the top of the screen, where the text is."""
    pictures = sorted(frames.glob("*.png"))
    subprocess.run(["convert", "-delay", "50", *map(str, pictures), "-crop", "760x130+0+0", "+repage",
                    "-delay", "300", str(pictures[-1]), "-crop", "760x130+0+0", "+repage", "-loop", "0",
                    "-layers", "Optimize", str(target)], check=True)


def publish(gallery, target):
    """Small copies for the README: the windows at their size, the screens at half size."""
    target.mkdir(parents=True, exist_ok=True)
    for picture in ["1-settings.png", "2-settings-changed.png", "3-question.png", "4-question-frozen.png"]:
        subprocess.run(["convert", str(gallery / picture), "-strip", str(target / picture)], check=True)
    for picture in ["5-console-typing.png", "6-finale.png", "7-two-monitors.png"]:
        subprocess.run(["convert", str(gallery / picture), "-resize", "50%", "-colors", "64", "-strip",
                        str(target / picture)], check=True)
    subprocess.run(["convert", str(gallery / "console-typing.gif"), "-strip", str(target / "console-typing.gif")],
                   check=True)
    print(f"demo: gallery for the README in {target}")


LABEL_PROMPT = "Nova jmenovka disku : "


def typed_label(trace):
    """The new volume label the console typed, read from Wine's trace of its text output: the
    characters that follow the prompt, one a call."""
    texts = [unescape(m.group(1))
             for m in re.finditer(r'Call gdi32\.ExtTextOutW\([^"]*L"(.*?)",', trace.read_text(errors="replace"))]
    start = next((i for i, text in enumerate(texts) if text.startswith(LABEL_PROMPT)), None)
    return None if start is None else "".join(texts[start:]).removeprefix(LABEL_PROMPT)


def tour(session, gallery, animation=True):
    gallery.mkdir(parents=True, exist_ok=True)
    trace = gallery / "trace.txt"
    program = session.launch(relay_log=trace)
    try:
        settings = wait(session, TITLE)
        time.sleep(0.5)
        session.screenshot(gallery / "1-settings.png", settings)
        session.helper("click-control", TITLE, "Sekni se po")
        time.sleep(0.3)
        session.screenshot(gallery / "2-settings-changed.png", settings)
        session.helper("click-control", TITLE, "OK")
        question = session.wait_question()
        time.sleep(0.5)
        session.screenshot(gallery / "3-question.png", question)
        session.helper("click-control", TITLE, "NE")
        time.sleep(0.7)
        session.screenshot(gallery / "4-question-frozen.png", question)
        wait(session, "Form3")
        # Frames of the console typing, for the animation: one every half second until the box.
        frames = gallery / "console-frames"
        shutil.rmtree(frames, ignore_errors=True)
        if animation:
            frames.mkdir()
        started = time.monotonic()
        box = typing = None
        while time.monotonic() - started < 40 and not box:
            if animation:
                session.screenshot(frames / f"{len(list(frames.glob('*.png'))):03d}.png")
            if time.monotonic() - started > 8 and not typing:
                typing = session.screenshot(gallery / "5-console-typing.png")
            box = session.wait("#32770", 0.3, by_class=True, check=False)
        if not box:
            box = session.wait("#32770", 30, by_class=True, check=False)
        if not box:
            raise SystemExit("demo: the finale's message box did not appear")
        time.sleep(0.5)
        session.screenshot(gallery / "6-finale.png")
        message = next(c["text"] for c in session.helper("dump", f"#{box['hwnd']}")["children"]
                       if c["class"] == "Static" and c["text"])
        print(f"demo: the console typed the new volume label {typed_label(trace)!r}")
        print("demo: the finale's box says:", *message.split("\r\n"), sep="\ndemo:   ")
        session.helper("keys", box["title"], "ENTER")
        program.wait(timeout=30)
    finally:
        if program.poll() is None:
            program.kill()
    if animation:
        animate(frames, gallery / "console-typing.gif")
    opened = session.opened_addresses(timeout=20) or ["(nothing)"]
    print(f"demo: the program ended and asked to open {', '.join(opened)}")
    print(f"demo: screenshots in {gallery}")


# The desk of the two-monitor picture: the primary monitor, and a smaller one to its right.
TWO_MONITORS = [(1024, 768, 0, 0), (800, 600, 1024, 0)]


def outline(picture, monitors):
    """The desk as a picture shows it: each monitor framed in grey, and grey where no monitor is
    (the X screen is the rectangle around them all)."""
    left = min(m["window"]["x"] for m in monitors)
    top = min(m["window"]["y"] for m in monitors)
    right = max(m["window"]["x"] + m["window"]["w"] for m in monitors)
    bottom = max(m["window"]["y"] + m["window"]["h"] for m in monitors)
    command = ["convert", "-size", f"{right - left}x{bottom - top}", "xc:#707070"]
    for monitor in monitors:
        r = monitor["window"]
        x, y = r["x"] - left, r["y"] - top
        command += ["(", str(picture), "-crop", f"{r['w']}x{r['h']}+{x}+{y}", "+repage", ")", "-geometry", f"+{x}+{y}",
                    "-composite", "-fill", "none", "-stroke", "#a0a0a0", "-strokewidth", "2", "-draw",
                    f"rectangle {x},{y} {x + r['w'] - 1},{y + r['h'] - 1}"]
    subprocess.run(command + [str(picture)], check=True)


def two_monitors(build, gallery):
    """The console on a desk of two monitors: the joke on the right-hand one, where the settings
    window was, and the primary one covered black."""
    session = WineSession(build, "two-monitors", monitors=TWO_MONITORS)
    session.stop()
    session.start()
    program = session.launch()
    try:
        settings = wait(session, TITLE)
        right = next(m for m in session.helper("monitors") if not m["primary"])["window"]
        session.helper("move", f"#{settings['hwnd']}", right["x"] + (right["w"] - settings["window"]["w"]) // 2,
                       right["y"] + (right["h"] - settings["window"]["h"]) // 2)
        session.helper("click-control", TITLE, "OK")
        session.wait_question()
        session.helper("click-control", TITLE, "ANO")
        wait(session, "Form3")
        time.sleep(8)  # the prompt, the answer and the error typed
        outline(session.screenshot(gallery / "7-two-monitors.png"), session.helper("monitors"))
        box = session.wait("#32770", 30, by_class=True, check=False)
        if box:
            session.helper("keys", f"#{box['hwnd']}", "ENTER")
        program.wait(timeout=30)
    finally:
        if program.poll() is None:
            program.kill()
        session.stop()
    print(f"demo: the console on two monitors in {gallery / '7-two-monitors.png'}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--unattended", action="store_true")
    parser.add_argument("--publish", type=Path)
    parser.add_argument("--copy", type=Path)
    args = parser.parse_args()
    build = args.build.resolve()
    unattended = args.unattended or not os.environ.get("DISPLAY")
    session = WineSession(build, "own-copy", copy_dir=args.copy) if args.copy else WineSession(build)
    if not unattended:
        env = session.env()
        env["DISPLAY"] = os.environ["DISPLAY"]
        if not (session.prefix / "system.reg").exists():
            session.start()  # creates the prefix on a virtual display, then hands over
            session.stop()
        subprocess.run([session.loader, str(session.program)], env=env)
        return
    session.stop()
    session.start()
    try:
        session.browser_log.unlink(missing_ok=True)
        # A copy's pictures show its finale: the animation of the console, the same for every
        # copy, is the default build's.
        tour(session, session.copy_dir / "gallery", animation=not args.copy)
    finally:
        session.stop()
    if args.copy:
        return
    two_monitors(build, build / "gallery")
    if args.publish:
        publish(build / "gallery", args.publish.resolve())


if __name__ == "__main__":
    main()
