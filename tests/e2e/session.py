"""Prepares the Wine prefix that every group of end-to-end tests copies (`session.py prepare
BUILD_DIR`), or stops whatever sessions are left (`session.py stop BUILD_DIR`)."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
from wineenv import SESSION_FILE, WineSession  # noqa: E402

if __name__ == "__main__":
    action, build_dir = sys.argv[1], Path(sys.argv[2])
    if action == "prepare":
        WineSession(build_dir).prepare()
    else:
        for state in (build_dir / "wine").glob(f"*/{SESSION_FILE}"):
            WineSession(build_dir, state.parent.name).stop()
