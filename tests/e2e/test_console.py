"""The console and the finale, run through to the end: the console over the whole screen, what it
types, the message box read from the real box, the address handed to the shell, and the end of the
program when the box is closed with Enter or Esc, whatever other keys come before. (Its close box:
test_clang_build.py.)"""

import re
import subprocess
import unittest

from harness import (CONSOLE_CLASS, CONSOLE_TITLE, COVER_CLASS, DIALOG_CLASS, TITLE, WS_CAPTION, WS_POPUP,
                     WS_THICKFRAME, RunTest, describe_windows, unescape)

SEE_MASK_NOASYNC, SEE_MASK_FLAG_NO_UI = 0x100, 0x400


class Finale(RunTest):
    trace = ",+font,+exec"  # the fonts the program asks for, and what it asks of the shell

    def assert_the_console_looks_as_designed(self):
        # The font the console's first line is drawn in: the one last selected on that thread before
        # it, as Wine's font trace lists it (face, height, italic, weight, pitch and family, charset).
        # Bold, fixed pitch (FIXED_PITCH | FF_MODERN = 0x31), Central European (238), and 12 points
        # at the monitor's resolution: a character height of MulDiv(12, dpi, 72) pixels, given as a
        # negative number. Wine draws both 10 and 12 points with the same 13-pixel bitmap of its
        # Courier, so the height asked for is what tells them apart.
        lines = self.relay_log.read_text(errors="replace").splitlines()
        drawn = next(i for i, line in enumerate(lines) if re.search(r'NtGdiExtTextOutW .*L"C:\\\\", 3', line))
        thread = lines[drawn].split(":")[1]
        selected = [m for line in lines[:drawn] if line.split(":")[1:2] == [thread]
                    for m in [re.search(r'font_SelectFont L"(\w+)", h=(-?\d+), it=\d+, weight=(\d+), PandF=(\d+), '
                                        r'charset=(\d+)', line)] if m]
        dpi = self.screen()["dpi"]
        self.assertEqual(selected[-1].groups(), ("Courier", str(-((12 * dpi + 36) // 72)), "700", "31", "238"),
                         f"the console's font at {dpi} DPI")
        # White text on black, and nothing else: the lines typed at the top left, away from the box.
        shot = self.screenshot("console-text", {"window": {"x": 0, "y": 0, "w": 700, "h": 160}})
        colours = subprocess.run(["convert", str(shot), "-format", "%c", "histogram:info:"], check=True,
                                 capture_output=True, text=True).stdout
        self.assertEqual(sorted(re.findall(r"#([0-9A-F]{6})", colours)), ["000000", "FFFFFF"], colours)

    def reach_the_box(self, answer):
        """The run to the box, the console read while it types: a frameless window over the whole
        screen, in place of the question window."""
        self.open_question()
        self.click(answer)
        console = self.wait_window(CONSOLE_TITLE)
        screen = self.screen()
        self.assertEqual(console["window"], {"x": 0, "y": 0, "w": screen["w"], "h": screen["h"]})
        self.assertEqual(console["client"]["w"], screen["w"], "no frame")
        self.assertTrue(console["style"] & WS_POPUP)
        self.assertFalse(console["style"] & (WS_CAPTION | WS_THICKFRAME))
        self.assertEqual([w["title"] for w in self.program_windows()], [CONSOLE_TITLE], "the question window gone")
        self.assertNotIn(COVER_CLASS, [w["class"] for w in self.helper("windows")], "no black cover on one monitor")
        self.assertEqual(self.windows_created(DIALOG_CLASS), 2)
        return self.wait_finale_box()

    def assert_ended_at_once_after_opening_the_site(self):
        """As every run ends, with the finale and the page; the launch the shell finishes before it
        returns (never the call that leaves it unfinished), and the program's thread goes from its
        return to ExitProcess at once: no window procedure, tick or other call of it in between."""
        self.assert_ended(page=True, finale=True)
        self.assertEqual(self.relay_calls("shell32.ShellExecuteA"), [])
        lines = self.relay_log.read_text(errors="replace").splitlines()
        returned = next(i for i, line in enumerate(lines) if "Ret  shell32.ShellExecuteExA(" in line)
        thread = lines[returned].split(":")[1]
        ours = [line for line in lines[returned + 1:] if line.split(":")[1:2] == [thread]]
        self.assertTrue(ours, "the program's thread after the shell call")
        self.assertRegex(ours[0], r"(?i)Call (kernel32\.ExitProcess|ntdll\.RtlExitUserProcess)\(",
                         "ExitProcess is the program's next call")

    def test_yes_then_the_whole_script_then_the_box_closed_with_enter(self):
        box = self.reach_the_box("ANO")
        self.assert_the_finale_comes_after_sixteen_seconds()
        self.assertEqual(box["title"], TITLE)
        screen = self.screen()
        centre = (box["window"]["x"] + box["window"]["w"] // 2, box["window"]["y"] + box["window"]["h"] // 2)
        self.assertAlmostEqual(centre[0], screen["w"] // 2, delta=2)
        self.until("the box in front of the full-screen console", lambda: self.helper("windows"),
                   lambda seen: any(w["hwnd"] == box["hwnd"] and w["foreground"] for w in seen), show=describe_windows)
        self.screenshot("console-finale")
        self.assert_the_console_looks_as_designed()

        host = self.session.site_host()
        domain = host.split(".", 1)[1]
        texts = [c["text"] for c in self.helper("dump", "#%d" % box["hwnd"])["children"]]
        prompt = next(t for t in texts if t.startswith("Tohle"))
        lines = prompt.split("\r\n")
        self.assertEqual(lines[:5], ["Tohle je jen NEŠKODNÝ ftípek ;-)", "",
                                     "Pošlete tento program svým známým ať vědí co všechno se dá ve Windowsech nastavit",
                                     f"Navštivte internetovou stranu {host}", ""])
        self.assertEqual(lines[5:], [self.session.credit_line()], "the credit the build was configured with")
        boxes = self.relay_calls("user32.MessageBoxW")
        self.assertEqual(len(boxes), 1)
        # MB_TOPMOST | MB_SETFOREGROUND | MB_ICONSTOP | MB_OK, exactly: above every other program's window.
        self.assertRegex(boxes[0], r",00050010\)", "stop icon and a single OK button, topmost")

        # What the console typed, in order: each line once, the label one character at a time.
        printed = [unescape(m.group(1)) for line in self.relay_calls("gdi32.ExtTextOutW")
                   for m in [re.search(r'L"(.*)",[0-9a-f]+,[0-9a-f]+\) ret=', line)] if m]
        typed = []
        for text in printed:  # a repaint draws the same texts again
            if text not in typed or len(text) == 1:
                typed.append(text)
        # (Which text comes at which count, the unit tests check against the form's own script.)
        label_start = typed.index("Nova jmenovka disku : " + domain[0])
        self.assertEqual((typed[0], len(typed[:label_start]), typed[label_start - 1]),
                         ("C:\\", 6, "Vyskytla se chyba na adrese 0x7c81eb33 je mozne, ze disk nubude spravne pracovat..."))
        self.assertEqual("".join(typed[label_start + 1:label_start + 11]), domain[1:])

        self.keys("ENTER", title=TITLE)
        self.assert_ended_at_once_after_opening_the_site()
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
        # The libraries it looks functions up in, each loaded by its full path in the system folder:
        # never a file of that name that lies beside the program.
        loaded = [unescape(m.group(1)) for line in self.relay_calls("kernel32.LoadLibraryW")
                  for m in [re.search(r'L"([^"]*(user32|shcore|ole32|shell32)\.dll)"', line, re.IGNORECASE)] if m]
        self.assertTrue({"ole32.dll", "shell32.dll"} <= {path.lower().rsplit("\\", 1)[-1] for path in loaded}, loaded)
        for path in loaded:
            self.assertRegex(path, r"(?i)^C:\\windows\\system32\\\w+\.dll$", "loaded from the system folder")
        # The shell call as given (no window, the default verb, the address, show command 1, the
        # launch finished within the call, no error box), made from a single-threaded COM apartment.
        # The relay shows only the structure's address; Wine's exec channel shows what it holds.
        trace = self.relay_log.read_text(errors="replace")
        apartment = re.search(r"Call (ole32|combase)\.CoInitializeEx\(0+,0+6\)", trace)
        shell = re.search(r"trace:exec:\w+ mask=0x([0-9a-f]+) hwnd=0+ verb=(\S+) file=(\S+) (?:parm|parameters)=(\S+) "
                          r"(?:dir|directory)=(\S+) show=0x([0-9a-f]+)", trace)
        self.assertIsNotNone(apartment, "CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)")
        self.assertIsNotNone(shell, "the shell's record of the launch")
        mask, verb, file, parameters, directory, show = shell.groups()
        self.assertEqual(int(mask, 16) & (SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI),
                         SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI, f"mask {mask}")
        self.assertEqual((verb, file, parameters, directory, int(show, 16)),
                         ("(null)", f'L"http://{host}"', "(null)", "(null)", 1))
        self.assertLess(apartment.start(), shell.start())

    def test_no_then_other_keys_on_the_box_then_esc(self):
        box = self.reach_the_box("NE")
        self.assert_the_finale_comes_after_sixteen_seconds()
        self.assertEqual([w["title"] for w in self.program_windows()].count(CONSOLE_TITLE), 1, "the console behind it")
        # Letters (the console's own "A/N" among them), digits, Czech letters, and the keys that
        # move around a dialog, then Esc. Space is left out: on the box's only button it is a press.
        self.keys("text:aAnN xyz 123 ěščřžýáíé", "TAB", "SHIFT+TAB", "UP", "DOWN", "LEFT", "RIGHT", "HOME",
                  "END", "PGUP", "PGDN", "BACK", "DELETE", "INSERT", "F1", "F4", *["TAB"] * 5, "ESC",
                  title=f"#{box['hwnd']}")
        self.assert_ended_at_once_after_opening_the_site()
        # The one box was still open when Esc came, and closed only then: none of the keys before it
        # gave it a command, so none ended or repeated anything.
        trace = self.relay_log.read_text(errors="replace")
        box = trace[trace.index("Call user32.MessageBoxW("):trace.index("Ret  user32.MessageBoxW(")]
        self.assertEqual(re.findall(r"Call dialog proc \S+ \(hwnd=\w+,msg=WM_COMMAND,wp=(\w+)", box), ["00000002"],
                         "the box's commands: IDCANCEL, from Esc, alone")


if __name__ == "__main__":
    unittest.main()
