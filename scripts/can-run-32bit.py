"""Exits 0 when this kernel can run 32-bit x86 programs: writes a tiny 32-bit program that does
nothing but exit, and runs it."""

import os
import struct
import subprocess
import sys
import tempfile

BASE = 0x08048000
CODE = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # mov eax, 1 (exit); xor ebx, ebx; int 0x80
HEADER_SIZE, PROGRAM_HEADER_SIZE = 52, 32
entry = BASE + HEADER_SIZE + PROGRAM_HEADER_SIZE
size = HEADER_SIZE + PROGRAM_HEADER_SIZE + len(CODE)
elf = (b"\x7fELF\x01\x01\x01" + bytes(9)
       + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, entry, HEADER_SIZE, 0, 0, HEADER_SIZE, PROGRAM_HEADER_SIZE, 1, 0, 0, 0)
       + struct.pack("<IIIIIIII", 1, 0, BASE, BASE, size, size, 5, 0x1000)
       + CODE)

with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "exit32")
    with open(path, "wb") as file:
        file.write(elf)
    os.chmod(path, 0o755)
    try:
        sys.exit(subprocess.run([path], timeout=10).returncode)
    except OSError:
        sys.exit(1)
