"""Runs the program under Wine. `demo.py BUILD_DIR [--unattended]`

With a display (DISPLAY set) and without --unattended, the joke runs on it for a person to play
with. Otherwise a virtual display is started and the joke runs through by itself, the way a user
would click through it, and a screenshot of every stage goes to BUILD_DIR/gallery."""

import os
import subprocess
import sys
import time
from pathlib import Path

from wineenv import WineSession

TITLE = "Tajné nastavení systému Windows"


def wait(session, *args, timeout_ms=30000):
    found = session.helper("wait", *args, timeout_ms, check=False)
    if not found:
        raise SystemExit(f"demo: gave up waiting for {args}")
    return found


def tour(session, gallery):
    gallery.mkdir(parents=True, exist_ok=True)
    program = session.launch()
    try:
        settings = wait(session, TITLE)
        time.sleep(0.5)
        session.screenshot(gallery / "1-settings.png", settings)
        session.helper("click-control", TITLE, "Sekni se po")
        time.sleep(0.3)
        session.screenshot(gallery / "2-settings-changed.png", settings)
        session.helper("click-control", TITLE, "OK")
        question = session.wait_question(TITLE)
        time.sleep(0.5)
        session.screenshot(gallery / "3-question.png", question)
        session.helper("click-control", TITLE, "NE")
        time.sleep(0.7)
        session.screenshot(gallery / "4-question-frozen.png", question)
        wait(session, "Form3")
        time.sleep(8)
        session.screenshot(gallery / "5-console-typing.png")
        box = session.helper("wait-class", "#32770", 30000, check=False)
        if not box:
            raise SystemExit("demo: the finale's message box did not appear")
        time.sleep(0.5)
        session.screenshot(gallery / "6-finale.png")
        session.helper("keys", box["title"], "ENTER")
        program.wait(timeout=30)
    finally:
        if program.poll() is None:
            program.kill()
    opened = session.opened_addresses(timeout=20) or ["(nothing)"]
    print(f"demo: the program ended and asked to open {', '.join(opened)}")
    print(f"demo: screenshots in {gallery}")


def main():
    build = Path(sys.argv[1]).resolve()
    unattended = "--unattended" in sys.argv or not os.environ.get("DISPLAY")
    session = WineSession(build)
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
        if session.browser_log.exists():
            session.browser_log.unlink()
        tour(session, build / "gallery")
    finally:
        session.stop()


if __name__ == "__main__":
    main()
