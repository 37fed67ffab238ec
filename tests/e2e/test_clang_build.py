"""The program as Clang builds it (cmake/clang-mingw.cmake), run once through the whole joke:
the settings window, "OK", "NE", the console, the finale's box closed with its close box (the one
way out of the box that no other group takes), the web page and the end. The other groups run the
program GCC builds; its size, imports and bytes the build and ctest check."""

import unittest

from harness import CONSOLE_CLASS, DIALOG_CLASS, SC_CLOSE, TITLE, WM_SYSCOMMAND, RunTest, build_dir


class ClangBuild(RunTest):
    def program(self):
        # The shipped 32-bit build, or where this kernel runs no 32-bit code, the 64-bit one (as for GCC's).
        program = build_dir() / f"windows-{self.session.arch}-clang" / "nastaveni.exe"
        self.assertTrue(program.exists(), f"{program} is built")
        return program

    def test_the_whole_joke_with_no(self):
        box = self.reach_the_box("NE")
        self.assertEqual(box["title"], TITLE)
        self.assertEqual(self.windows_created(DIALOG_CLASS), 2, "the settings window, then the question")
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
        self.helper("post", f"#{box['hwnd']}", WM_SYSCOMMAND, SC_CLOSE)
        self.assert_ended(page=True)
        self.assertEqual(self.finale_boxes(), 1)


if __name__ == "__main__":
    unittest.main()
