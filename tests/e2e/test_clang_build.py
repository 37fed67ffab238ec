"""The program as Clang builds it (cmake/clang-mingw.cmake), run once through the whole joke:
the settings window, "OK", "NE", the console, the finale's box closed with its close box (the one
way out of the box that no other group takes), the web page and the end. The other groups run the
program GCC builds; its size, imports and bytes the build and ctest check."""

import unittest

from harness import CONSOLE_CLASS, DIALOG_CLASS, TITLE, RunTest, artifacts, build_dir, error_reports


class ClangBuild(RunTest):
    def setUp(self):
        # As every test starts the program, but Clang's build of it: the shipped 32-bit one, or
        # where this kernel runs no 32-bit code, the 64-bit one (as for GCC's).
        self.relay_log = artifacts() / f"{self.id().split('.')[-2]}.{self._testMethodName}.relay.txt"
        if self.session.browser_log.exists():
            self.session.browser_log.unlink()
        program = build_dir() / f"windows-{self.session.arch}-clang" / "nastaveni.exe"
        self.assertTrue(program.exists(), f"{program} is built")
        self.process = self.session.launch(relay_log=self.relay_log, program=program)

    def test_the_whole_joke_with_no(self):
        box = self.reach_the_box("NE")
        self.assertEqual(box["title"], TITLE)
        self.assertEqual(self.windows_created(DIALOG_CLASS), 2, "the settings window, then the question")
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
        self.assertEqual(len(self.relay_calls("user32.MessageBoxW")), 1, "the finale's box, no error report")
        self.helper("close", f"#{box['hwnd']}")
        self.assertEqual(self.expect_exit(timeout=30), 0)
        self.assertEqual(self.session.opened_addresses(), [f"http://{self.session.site_host()}/"])
        self.assertEqual(len(self.relay_calls("shell32.ShellExecuteExA")), 1)
        self.assertEqual(error_reports(self.relay_log), [])


if __name__ == "__main__":
    unittest.main()
