"""The program can touch no file, registry value or disk: read from the executable itself, every
function it looks up by name while running is one of six, and its manifest asks to run as the
invoking user. What it imports, the build holds to the allow-list (cmake/allowed-imports.txt).
(bench/touches_nothing.py shows the same from a whole run: the prefix as it was, the relay trace of
every file and registry call.)"""

import re
import subprocess
import unittest

from harness import build_dir

OBJDUMP = {"i686": "i686-w64-mingw32-objdump", "x86_64": "x86_64-w64-mingw32-objdump"}
# Newer Windows functions, looked up where they exist, and the finale's calls into COM and the shell.
LOOKED_UP = {"GetDpiForWindow", "GetDpiForMonitor", "AdjustWindowRectExForDpi", "SetDialogDpiChangeBehavior",
             "CoInitializeEx", "ShellExecuteExA"}


def imports(arch, exe):
    """{(dll, function)} as objdump lists the import tables."""
    text = subprocess.run([OBJDUMP[arch], "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    found, dll = set(), None
    for line in text.splitlines():
        if name := re.match(r"\s+DLL Name: (\S+)", line):
            dll = name.group(1).lower()
        elif dll and re.match(r"\s+[0-9a-f]+\s+(?:<none>\s+)?[0-9a-f]+\s+\S+$", line):
            found.add((dll, line.split()[-1]))
    return found


def without_code(arch, exe):
    """The file's bytes with its machine code zeroed: an instruction can look like a name."""
    data = bytearray(exe.read_bytes())
    text = subprocess.run([OBJDUMP[arch], "-h", str(exe)], capture_output=True, text=True, check=True).stdout
    for size, offset in re.findall(r"^\s*\d+ \.text\s+([0-9a-f]+)\s+\S+\s+\S+\s+([0-9a-f]+)", text, re.M):
        data[int(offset, 16):int(offset, 16) + int(size, 16)] = bytes(int(size, 16))
    return bytes(data)


class Executable(unittest.TestCase):
    def builds(self):
        exes = {arch: build_dir() / f"windows-{arch}" / "nastaveni.exe" for arch in OBJDUMP}
        exes = {arch: exe for arch, exe in exes.items() if exe.exists()}
        self.assertIn("i686", exes, "the shipped build to read")
        return exes

    def test_only_known_functions_are_looked_up_by_name_and_only_system_libraries_loaded(self):
        for arch, exe in self.builds().items():
            with self.subTest(arch=arch):
                data = without_code(arch, exe)
                # Windows function names (two capitals or more) in the data that are not imports:
                # what the program hands GetProcAddress.
                names = {m.decode() for m in re.findall(rb"(?<![\x21-\x7e])[A-Z][a-z]+[A-Za-z]*[A-Z][A-Za-z0-9]*(?=\0)", data)}
                self.assertEqual(names - {name for _, name in imports(arch, exe)}, LOOKED_UP)
                # Wide library names, each from the start of its string: right after a zero byte.
                names = {}
                for m in re.finditer(rb"(?=((?:[\x21-\x7e]\0)+?\.\0[dD]\0[lL]\0[lL]\0))", data):
                    if data[m.start() - 1] == 0:
                        names.setdefault(m.start() + len(m.group(1)), m.group(1))
                libraries = {name.decode("utf-16-le").lower() for name in names.values()}
                self.assertEqual(libraries, {"user32.dll", "shcore.dll", "ole32.dll", "shell32.dll"})

    def test_the_manifest_asks_to_run_as_the_invoking_user(self):
        for arch, exe in self.builds().items():
            with self.subTest(arch=arch):
                levels = re.findall(rb"<requestedExecutionLevel\s+level=\"(\w+)\"\s+uiAccess=\"(\w+)\"", exe.read_bytes())
                self.assertEqual(levels, [(b"asInvoker", b"false")])


if __name__ == "__main__":
    unittest.main()
