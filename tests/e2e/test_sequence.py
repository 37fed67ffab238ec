"""The chain of windows, seen from outside: which window comes after which, and when the program ends."""

import unittest

from harness import (CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, TITLE, WS_CAPTION, WS_EX_APPWINDOW,
                     WS_EX_TOOLWINDOW, WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_POPUP, WS_SYSMENU, WS_THICKFRAME,
                     ProgramTest)


class StartWindow(ProgramTest):
    def test_title_and_fixed_dialog_frame(self):
        window = self.wait_window()
        style, exstyle = window["style"], window["exstyle"]
        self.assertEqual(style & WS_CAPTION, WS_CAPTION)
        self.assertTrue(style & WS_SYSMENU, "close box")
        self.assertFalse(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), "not resizable, no min/max box")
        # No taskbar button: an owned window without WS_EX_APPWINDOW; still an ordinary window that
        # Alt+Tab lists (no WS_EX_TOOLWINDOW).
        self.assertNotEqual(window["owner"], 0)
        self.assertFalse(exstyle & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW))
        self.assertEqual((window["client"]["w"], window["client"]["h"]), (314, 377))  # 4710 x 5655 twips
        self.screenshot("bare-settings-window", window)

    def test_storno_ends_the_program_without_another_window(self):
        self.wait_window()
        self.click("Storno")
        self.expect_exit()
        self.assertEqual(self.windows_created(DIALOG_CLASS), 1)
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 0)
        self.assertEqual(self.relay_calls("user32.MessageBoxW"), [])

    def test_esc_ends_the_program_without_another_window(self):
        self.wait_window()
        self.keys("ESC")
        self.expect_exit()
        self.assertEqual(self.windows_created(DIALOG_CLASS), 1)
        self.assertEqual(self.relay_calls("user32.MessageBoxW"), [])

    def test_closing_it_through_the_frame_ends_the_program(self):
        self.wait_window()
        self.helper("close", TITLE)
        self.expect_exit()
        self.assertEqual(self.windows_created(DIALOG_CLASS), 1)
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 0)
        self.assertEqual(self.relay_calls("user32.MessageBoxW"), [])


class QuestionWindow(ProgramTest):
    def test_ok_replaces_the_settings_window_with_the_question(self):
        question = self.open_question()
        self.assertEqual((question["client"]["w"], question["client"]["h"]), (402, 80))  # 6030 x 1200 twips
        self.assertEqual(len(self.program_windows()), 1, "the settings window is gone")
        self.screenshot("bare-question-window", question)

    def test_closing_it_through_the_frame_ends_the_program_without_the_console(self):
        self.open_question()
        self.helper("close", TITLE)
        self.expect_exit()
        self.assertEqual(self.windows_created(DIALOG_CLASS), 2)
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 0)


class Console(ProgramTest):
    def assert_console_covers_the_screen(self, answer):
        self.open_question()
        self.click(answer)
        console = self.wait_window(CONSOLE_TITLE, timeout_ms=30000)
        screen = self.helper("screen")
        self.assertEqual(console["window"], {"x": 0, "y": 0, "w": screen["w"], "h": screen["h"]})
        self.assertEqual(console["client"]["w"], screen["w"], "no frame")
        self.assertTrue(console["style"] & WS_POPUP)
        self.assertFalse(console["style"] & (WS_CAPTION | WS_THICKFRAME))
        self.assertEqual(len(self.program_windows()), 1, "the question window is gone")
        self.assertEqual(self.windows_created(DIALOG_CLASS), 2)
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
        return console

    def test_yes_leads_to_the_console_covering_the_whole_screen(self):
        console = self.assert_console_covers_the_screen("ANO")
        self.screenshot("bare-console", console)

    def test_no_leads_to_the_console_covering_the_whole_screen(self):
        self.assert_console_covers_the_screen("NE")


if __name__ == "__main__":
    unittest.main()
