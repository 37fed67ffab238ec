"""Starts or stops the shared Wine session of the end-to-end tests: `session.py start|stop BUILD_DIR`."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
from wineenv import WineSession  # noqa: E402

if __name__ == "__main__":
    action, build_dir = sys.argv[1], sys.argv[2]
    session = WineSession(build_dir)
    if action == "start":
        session.stop()  # a session left over from an interrupted run
        session.start()
        print(f"e2e session on display {session.state['display']}, prefix {session.prefix}")
    else:
        session.stop()
