"""On demand (not part of ./test): the program leaves a Wine prefix as it found it.
`bench/touches_nothing.py [BUILD_DIR]`, after a build.

A whole run in a Wine prefix of its own in which it has never run before (so that even a value
written with the same content every time would show): the prefix's files and registry change in
no way that Wine does not change them for a trivial program too; and Wine's relay trace of every
registry and file call of that run: none comes from the program's own code, and what Wine's
libraries write on its behalf is what they write for a trivial program. The tests prove the same
from the executable alone (tests/e2e/test_touches_nothing.py: the imports it may have).
"""

import hashlib
import os
import re
import shutil
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path[:0] = [str(Path(__file__).resolve().parents[1] / where) for where in ("tests/e2e", "scripts")]
from harness import CONSOLE_TITLE, TITLE, artifacts  # noqa: E402
from wineenv import WINESERVER, WineSession  # noqa: E402

ARCHES = ("i686", "x86_64")

# Every call of the kinds the program must not make, by name in any DLL: Wine's relay matches a bare
# function name in every module, so forwarded entries (advapi32 to kernelbase) are caught as well.
FILE_CALLS = [
    "CreateFileA", "CreateFileW", "CreateFile2", "OpenFile", "_lopen", "_lcreat", "_lwrite", "_hwrite",
    "ReadFile", "ReadFileEx", "WriteFile", "WriteFileEx", "WriteFileGather", "DeleteFileA", "DeleteFileW",
    "MoveFileA", "MoveFileW", "MoveFileExA", "MoveFileExW", "MoveFileWithProgressA", "MoveFileWithProgressW",
    "ReplaceFileA", "ReplaceFileW", "CopyFileA", "CopyFileW", "CopyFileExA", "CopyFileExW", "SetFileAttributesA",
    "SetFileAttributesW", "SetFileTime", "SetEndOfFile", "SetFileInformationByHandle", "DeviceIoControl",
    "CreateDirectoryA", "CreateDirectoryW", "CreateDirectoryExA", "CreateDirectoryExW", "RemoveDirectoryA",
    "RemoveDirectoryW", "FindFirstFileA", "FindFirstFileW", "FindFirstFileExW", "GetPrivateProfileStringW",
    "WritePrivateProfileStringW", "SHGetFolderPathA", "SHGetFolderPathW",
    "SHGetKnownFolderPath", "SHFileOperationW", "SHFormatDrive",
    "NtCreateFile", "NtOpenFile", "NtReadFile", "NtWriteFile", "NtWriteFileGather", "NtDeleteFile",
    "NtSetInformationFile", "NtDeviceIoControlFile", "NtFsControlFile",
]
REGISTRY_CALLS = [
    "RegCreateKeyA", "RegCreateKeyW", "RegCreateKeyExA", "RegCreateKeyExW", "RegOpenKeyA", "RegOpenKeyW",
    "RegOpenKeyExA", "RegOpenKeyExW", "RegOpenCurrentUser", "RegSetValueA", "RegSetValueW", "RegSetValueExA",
    "RegSetValueExW", "RegSetKeyValueA", "RegSetKeyValueW", "RegDeleteKeyA", "RegDeleteKeyW", "RegDeleteKeyExA",
    "RegDeleteKeyExW", "RegDeleteValueA", "RegDeleteValueW", "RegDeleteTreeA", "RegDeleteTreeW",
    "RegQueryValueExA", "RegQueryValueExW", "RegGetValueA", "RegGetValueW", "RegSaveKeyA", "RegSaveKeyW",
    "RegRestoreKeyA", "RegRestoreKeyW", "RegLoadKeyA", "RegLoadKeyW", "RegFlushKey", "SHGetValueW",
    "SHSetValueW", "SHRegGetValueW", "SHRegSetUSValueW",
    "NtCreateKey", "NtOpenKey", "NtOpenKeyEx", "NtSetValueKey", "NtDeleteKey", "NtDeleteValueKey",
    "NtQueryValueKey", "NtSaveKey", "NtRestoreKey", "NtLoadKey", "NtFlushKey", "NtRenameKey",
]
RUNTIME_CALLS = [
    "fopen", "_wfopen", "_wfopen_s", "fopen_s", "freopen", "_wfreopen", "_open", "_wopen", "_sopen", "_wsopen",
    "_creat", "_wcreat", "remove", "_wremove", "rename", "_wrename", "_unlink", "_wunlink", "_mkdir", "_wmkdir",
    "_rmdir", "_wrmdir", "_write", "fwrite", "fprintf", "vfprintf", "fputs", "fputws",
]
# Calls the program does make: seen coming from its own code, they show that the trace tells who
# called what (without them, "no call from the program" could mean a trace that sees nothing).
KNOWN_OWN_CALLS = ["ShellExecuteExA", "MessageBeep"]
RELAY_LIST = ";".join(FILE_CALLS + REGISTRY_CALLS + RUNTIME_CALLS + KNOWN_OWN_CALLS)
# Calls that change something, as opposed to reading; a file or key opened for writing counts too.
CHANGING = re.compile(r"Write|Delete|Move|Copy|Replace|SetFile|SetEndOfFile|DeviceIoControl|FsControl|Directory|"
                      r"SetValue|SetKeyValue|CreateKey|SaveKey|RestoreKey|LoadKey|FlushKey|RenameKey|SetInformation|"
                      r"^_?w?(remove|rename|unlink|mkdir|rmdir|write|creat)$|^f?v?f?(write|printf|puts|putws)$")
# Access rights that allow writing: GENERIC_WRITE, GENERIC_ALL, FILE_WRITE_DATA, FILE_APPEND_DATA,
# FILE_WRITE_EA, FILE_WRITE_ATTRIBUTES, DELETE, WRITE_DAC, WRITE_OWNER.
WRITE_ACCESS = 0x40000000 | 0x10000000 | 0x2 | 0x4 | 0x10 | 0x100 | 0x10000 | 0x40000 | 0x80000
OPENING = {"CreateFileA": 1, "CreateFileW": 1, "CreateFile2": 1, "NtCreateFile": 1, "NtOpenFile": 1}
RELAY_CALL = re.compile(r"^[\d.]+:([0-9a-f]+):[0-9a-f]+:Call ([\w.]+)\.(\w+)\((.*)\) ret=([0-9a-f]+)$")
LOADED = re.compile(r'^[\d.]+:([0-9a-f]+):[0-9a-f]+:trace:loaddll:\w+ Loaded L"(.*)" at ([0-9A-F]+)')
GUID = re.compile(r"\{[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}\}")


def size_of_image(exe):
    """How much memory the executable's image takes once loaded, as objdump reads its header."""
    objdump = "i686-w64-mingw32-objdump" if "i686" in Path(exe).parent.name else "x86_64-w64-mingw32-objdump"
    text = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
    return int(re.search(r"^SizeOfImage\s+([0-9a-fA-F]+)", text, re.M).group(1), 16)


# ----- snapshots of a prefix -----

def file_state(prefix):
    """Every path in the prefix but the registry files, with a hash of each file's content."""
    state = {}
    for root, dirs, names in os.walk(prefix):
        for name in dirs + names:
            path = Path(root) / name
            relative = path.relative_to(prefix).as_posix()
            if path.is_symlink():
                state[relative] = "link to " + os.readlink(path)
            elif path.is_dir():
                state[relative] = "folder"
            elif path.parent == prefix and name.endswith(".reg"):
                continue
            else:
                digest = hashlib.sha256()
                with open(path, "rb") as content:
                    for chunk in iter(lambda: content.read(1 << 20), b""):
                        digest.update(chunk)
                state[relative] = digest.hexdigest()
    return state


def registry_state(reg_file):
    """{key: {value: data}} of one of Wine's registry files, without the modification times Wine
    keeps with every key (the number after the key's name and the #time line)."""
    keys, key, pending = {}, None, ""
    for line in reg_file.read_text(encoding="utf-8", errors="surrogateescape").splitlines():
        if pending:
            line, pending = pending + line.lstrip(), ""
        if key is not None and line.endswith("\\") and not line.endswith("\\\\"):
            pending = line[:-1]
            continue
        header = re.match(r"^\[(.*)\](?: \d+)?$", line)
        if header:
            key = header.group(1)
            keys[key] = {}
        elif key is None or not line or line.startswith(";;") or line.startswith("#time="):
            continue
        elif line.startswith("#"):
            name, _, data = line.partition("=")
            keys[key][name] = data
        else:
            match = re.match(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$', line)
            if match:
                keys[key][match.group(1)] = match.group(2)
    return keys


def snapshot(prefix):
    return {"files": file_state(prefix),
            "registry": {reg.name: registry_state(reg) for reg in sorted(prefix.glob("*.reg"))}}


def changes(before, after):
    """What differs between two snapshots, one entry per file, key or value."""
    found = []
    for path in sorted(before["files"].keys() | after["files"].keys()):
        old, new = before["files"].get(path), after["files"].get(path)
        if old != new:
            found.append(("file " + ("added" if old is None else "removed" if new is None else "changed"), path))
    for reg in sorted(before["registry"].keys() | after["registry"].keys()):
        old_keys, new_keys = before["registry"].get(reg, {}), after["registry"].get(reg, {})
        for key in sorted(old_keys.keys() | new_keys.keys()):
            if key not in new_keys:
                found.append(("key removed", f"{reg}: {key}"))
                continue
            if key not in old_keys:
                found.append(("key added", f"{reg}: {key}"))
            old_values, new_values = old_keys.get(key, {}), new_keys[key]
            for name in sorted(old_values.keys() | new_values.keys()):
                old, new = old_values.get(name), new_values.get(name)
                if old != new:
                    what = "value " + ("added" if old is None else "removed" if new is None else "changed")
                    found.append((what, f"{reg}: {key} {name}"))
    return found


def kind(change):
    """A change with the GUIDs that Wine makes up afresh for the display devices taken out."""
    what, where = change
    return what, GUID.sub("{GUID}", where)


# ----- the relay trace -----

class Trace:
    """A relay trace with +pid and +loaddll: who called which of the traced functions."""

    def __init__(self, path, exe_name):
        self.calls, self.modules = [], {}
        self.exe_pid, self.exe_base = None, None
        for line in Path(path).read_text(errors="replace").splitlines():
            call = RELAY_CALL.match(line)
            if call:
                pid, module, function, arguments, ret = call.groups()
                self.calls.append((pid, module.lower(), function, arguments, int(ret, 16)))
                continue
            loaded = LOADED.match(line)
            if loaded:
                pid, name, base = loaded.group(1), loaded.group(2), int(loaded.group(3), 16)
                module = name.replace("\\\\", "\\").rsplit("\\", 1)[-1].lower()
                self.modules.setdefault(pid, []).append((base, module))
                if module == exe_name.lower() and self.exe_pid is None:
                    self.exe_pid = pid
                    self.exe_base = base

    def caller(self, pid, address):
        """The module the address lies in: the one loaded nearest below it."""
        below = [(base, name) for base, name in self.modules.get(pid, []) if base <= address]
        return max(below)[1] if below else "?"

    def in_process(self, pid):
        return [c for c in self.calls if c[0] == pid]

    def changing_kinds(self, pid, skip_module=None):
        """(function, calling module) of the calls in one process that change something."""
        found = set()
        for _, _, function, arguments, ret in self.in_process(pid):
            module = self.caller(pid, ret)
            if module == skip_module:
                continue
            if function in OPENING:
                access = int(arguments.split(",")[OPENING[function]], 16)
                if access & WRITE_ACCESS:
                    found.add((function + " for writing", module))
            elif CHANGING.search(function):
                found.add((function, module))
        return found


class FullRun(unittest.TestCase):
    """One baseline of trivial Wine programs and one whole run of the program, in a prefix of their
    own, each between two snapshots and each traced."""

    @classmethod
    def setUpClass(cls):
        shared = BUILD
        cls.place = shared / "touches-nothing"
        WineSession(cls.place).stop()  # left over from an interrupted run
        shutil.rmtree(cls.place, ignore_errors=True)
        cls.place.mkdir()
        for arch in ARCHES:
            if (shared / f"windows-{arch}").exists():
                (cls.place / f"windows-{arch}").symlink_to(shared / f"windows-{arch}")
        cls.session = WineSession(cls.place)
        cls.session.start()
        try:
            cls.run_everything()
        except BaseException:
            cls.session.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()
        shutil.rmtree(cls.place, ignore_errors=True)  # a whole prefix: too big to keep

    # ----- the runs -----
    DEBUG_KEY = r"HKCU\Software\Wine\Debug"

    @classmethod
    def trace_registry_and_files(cls):
        """Wine reads the relay list when a process starts; the session's start writes its own."""
        cls.session.wine("reg", "add", cls.DEBUG_KEY, "/v", "RelayInclude", "/t", "REG_SZ", "/d", RELAY_LIST, "/f")

    @classmethod
    def settle(cls):
        """Ends the session, which makes Wine's server write the registry out, and takes a snapshot.
        Then starts the session again, so that each run finds Wine as a test finds it and no trace
        includes the start of Wine's own services."""
        cls.session.stop()
        cls.session.quiet([str(WINESERVER), "-w"], timeout=120)
        taken = snapshot(cls.session.prefix)
        cls.session.start(fresh=False)
        cls.trace_registry_and_files()
        return taken

    @classmethod
    def traced(cls, args, log):
        env = cls.session.env(relay=True)
        env["WINEDEBUG"] = "-all,+relay,+loaddll,+pid,+timestamp"
        with open(log, "w") as stderr:
            return subprocess.Popen([cls.session.loader, *map(str, args)], env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=stderr)

    @classmethod
    def run_everything(cls):
        session = cls.session
        cls.baseline_log = artifacts() / "touches-nothing.baseline.relay.txt"
        cls.program_log = artifacts() / "touches-nothing.program.relay.txt"
        original = registry_value(session, cls.DEBUG_KEY, "RelayInclude")
        cls.trace_registry_and_files()
        start = cls.settle()

        # What Wine writes when any program starts: a console one and a window-using one.
        session.wine("cmd", "/c", "exit")
        helper = cls.traced([session.helper_exe, "monitors"], cls.baseline_log)
        helper.wait(timeout=120)
        session.helper("windows")
        cls.baseline = cls.settle()

        session.browser_log.unlink(missing_ok=True)
        begun = time.monotonic()
        program = cls.traced([session.program], cls.program_log)
        try:
            cls.drive_through(program)
            cls.exit_code = program.wait(timeout=60)
        finally:
            if program.poll() is None:
                program.kill()
                program.wait(timeout=30)
        cls.addresses = session.opened_addresses()
        print(f"the whole run took {time.monotonic() - begun:.1f} s")
        cls.after = cls.settle()

        if original is None:
            session.wine("reg", "delete", cls.DEBUG_KEY, "/v", "RelayInclude", "/f")
        else:
            session.wine("reg", "add", cls.DEBUG_KEY, "/v", "RelayInclude", "/t", "REG_SZ", "/d", original, "/f")
        cls.restored = registry_value(session, cls.DEBUG_KEY, "RelayInclude") == original
        cls.baseline_changes = changes(start, cls.baseline)
        cls.program_changes = changes(cls.baseline, cls.after)
        report = artifacts() / "touches-nothing.changes.txt"
        report.write_text("".join(
            [f"{title}\n" + "".join(f"  {what}: {where}\n" for what, where in found)
             for title, found in (("baseline (Wine alone):", cls.baseline_changes),
                                  ("whole run of the program:", cls.program_changes))]))

    @classmethod
    def drive_through(cls, program):
        session = cls.session

        def must(answer, what):
            if not answer:
                raise AssertionError(f"{what} did not happen")
            return answer

        must(session.wait(TITLE, 60, check=False), "the settings window")
        must(session.helper("click-control", TITLE, "OK", check=False), "the click on OK")
        session.wait_question(timeout=60)
        must(session.helper("click-control", TITLE, "NE", check=False), "the click on NE")
        must(session.wait(CONSOLE_TITLE, 60, check=False), "the console")
        must(session.wait("#32770", 60, by_class=True, check=False), "the finale's box")
        must(session.helper("keys", TITLE, "ENTER", check=False), "Enter on the box")

    # ----- what they show -----
    def test_the_run_went_through_to_the_end_and_the_trace_setting_was_restored(self):
        self.assertEqual(self.exit_code, 0)
        self.assertEqual(len(self.addresses), 1, "the address handed to the shell")
        self.assertTrue(self.restored, "RelayInclude as it was before")

    def test_files_and_registry_change_only_as_wine_changes_them_for_any_program(self):
        print(f"Wine alone changed {len(self.baseline_changes)} entries: "
              + "; ".join(f"{w} {p}" for w, p in self.baseline_changes))
        print(f"the program's run changed {len(self.program_changes)} entries: "
              + "; ".join(f"{w} {p}" for w, p in self.program_changes))
        allowed = {kind(c) for c in self.baseline_changes}
        beyond = [c for c in self.program_changes if kind(c) not in allowed]
        self.assertEqual(beyond, [], "changes that Wine does not make for a trivial program")

    def test_its_own_code_calls_no_file_registry_or_runtime_file_function(self):
        trace = Trace(self.program_log, "nastaveni.exe")
        self.assertIsNotNone(trace.exe_pid, "the trace shows where the program was loaded")
        top = trace.exe_base + size_of_image(self.session.program)
        own = [c for c in trace.in_process(trace.exe_pid) if trace.exe_base <= c[4] < top]
        known = [c for c in own if c[2] in KNOWN_OWN_CALLS]
        self.assertEqual(sorted({c[2] for c in known}), sorted(KNOWN_OWN_CALLS),
                         "the trace attributes the calls the program does make to it")
        self.assertEqual([f"{c[1]}.{c[2]}({c[3]})" for c in own if c[2] not in KNOWN_OWN_CALLS], [])

    def test_what_wine_changes_on_its_behalf_it_changes_for_any_program(self):
        program = Trace(self.program_log, "nastaveni.exe")
        baseline = Trace(self.baseline_log, "e2e_helper.exe")
        self.assertIsNotNone(baseline.exe_pid)
        ours = program.changing_kinds(program.exe_pid, skip_module="nastaveni.exe")
        wine_alone = baseline.changing_kinds(baseline.exe_pid, skip_module="e2e_helper.exe")
        print("calls that change something, made by Wine for the helper: " + "; ".join(sorted(map(str, wine_alone))))
        print("and for the program: " + "; ".join(sorted(map(str, ours))))
        # Not held against the program: what the shell's own helpers do with the address it asked
        # the shell to open (they start from the request, in processes of their own).
        for pid, modules in program.modules.items():
            if pid != program.exe_pid:
                started = ", ".join(name for _, name in modules if name.endswith(".exe"))
                print(f"in {started}, started by the shell: "
                      + "; ".join(sorted(map(str, program.changing_kinds(pid)))))
        self.assertEqual(sorted(ours - wine_alone), [])


def registry_value(session, key, name):
    """A string value as Wine's reg tool reads it, or None where there is none."""
    result = subprocess.run([session.loader, "reg", "query", key, "/v", name], env=session.env(),
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    for line in result.stdout.decode("utf-8", errors="replace").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0] == name and parts[1] == "REG_SZ":
            return parts[2] if len(parts) == 3 else ""
    return None


BUILD = Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build").resolve()
os.environ.setdefault("E2E_BUILD_DIR", str(BUILD))

if __name__ == "__main__":
    unittest.main()
