"""Benchmark: size of the executables. `bench/size.py [BUILD_DIR]`

Prints the file size of the shipped 32-bit program (windows-i686/nastaveni.exe) against the goal
of 64 KiB, the 64-bit build's for comparison, and the bare window program of each build
(bench/bare_window.cpp, built with the program's flags) as the floor of the toolchain: what any
statically linked window program costs before it does anything. Each file is broken down into its
PE sections (code, read-only data, resources...) to show where the bytes are. No Wine needed."""

import struct
import sys

from wine_bench import build_dir, summary

GOAL = 64 * 1024


def sections(path):
    """{name: bytes in the file} from the PE section table."""
    data = path.read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    found = {}
    for i in range(count):
        name, raw_size = struct.unpack_from("<8s8xI", data, table + 40 * i)
        found[name.rstrip(b"\0").decode()] = raw_size
    return found


def main():
    build = build_dir(sys.argv)
    files = {f"nastaveni.exe ({arch})": build / f"windows-{arch}" / "nastaveni.exe" for arch in ("i686", "x86_64")}
    files |= {f"bare_window.exe ({arch})": build / f"windows-{arch}" / "bench" / "bare_window.exe"
              for arch in ("i686", "x86_64")}
    for name, path in files.items():
        if not path.exists():
            print(f"{name:<26} missing ({path})")
            continue
        size = path.stat().st_size
        parts = "  ".join(f"{section} {raw / 1024:.1f}" for section, raw in sections(path).items())
        print(f"{name:<26} {size:>7} B = {size / 1024:5.1f} KiB   sections (KiB): {parts}")
    shipped = files["nastaveni.exe (i686)"]
    if shipped.exists():
        size = shipped.stat().st_size
        print(f"shipped program: {size / 1024:.1f} KiB = {size / GOAL:.2f} x the goal of {GOAL // 1024} KiB")
        summary("size of the shipped nastaveni.exe (i686)", f"{size / 1024:.1f} KiB", f"<= {GOAL // 1024} KiB",
                size <= GOAL)


if __name__ == "__main__":
    main()
