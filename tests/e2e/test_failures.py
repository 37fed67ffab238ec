"""Every checked call that fails ends in the program's run-time error message and then the end of
the process: no hang, no crash, nothing of the joke left on the screen beside the report. Uses the test build in which a chosen call
is made to fail."""

import unittest

from harness import CONSOLE_TITLE, ERROR_REPORT_START, RunTest, centred_on


class FaultBuild(RunTest):
    """Tests of the build in which the named calls fail, each started by the test with its calls."""

    relay = False

    def setUp(self):
        self.process = None

class FailingCalls(FaultBuild):
    def assert_reports_and_ends(self, call):
        box = self.session.wait("#32770", 60, by_class=True, check=False)
        self.assertIsNotNone(box, f"an error message for {call}")
        texts = [c["text"] for c in self.helper("dump", "#%d" % box["hwnd"])["children"]]
        message = next((t for t in texts if t.startswith(ERROR_REPORT_START)), None)
        self.assertIsNotNone(message, f"the run-time error message, not {texts}")
        self.assertIn(call.split("#")[0], message, "the message names the failing call")
        # While the report is shown, nothing half made or half drawn of the joke is.
        self.assertEqual([w["class"] for w in self.program_windows()], ["#32770"], "the report alone on the screen")
        self.helper("keys", f"#{box['hwnd']}", "ENTER")
        self.assertEqual(self.expect_exit(timeout=30), 1, "the process ends with a failure code")

    def test_a_failure_while_starting_up(self):
        # Creating the hidden owner, the settings window, a control or the font; a combo box's text.
        for call in ("CreateWindowExW#1", "CreateDialogIndirectParamW", "CreateWindowExW#5", "CreateFontIndirectW",
                     "WM_SETTEXT"):
            with self.subTest(call=call):
                self.start_failing(call)
                self.assert_reports_and_ends(call)

    def test_a_settings_window_placed_on_no_monitor_is_centred_on_the_screen(self):
        # As on a Windows that would not place it where the template asks for the default place.
        self.start_failing("MonitorFromRect")
        frame = self.wait_window()["window"]
        self.assertTrue(centred_on(frame, dict(self.screen(), x=0, y=0)), frame)

    def test_the_console_timer(self):
        self.start_failing("SetTimer")
        self.open_question()
        self.click("ANO")
        self.assert_reports_and_ends("SetTimer")

    def test_the_finale_message_box(self):
        # The finale's own box fails: the error report takes its place, and the page is not opened.
        self.start_failing("MessageBoxW", relay=True)
        self.open_question()
        self.click("ANO")
        self.wait_window(CONSOLE_TITLE)
        finale = self.session.wait("#32770", 60, by_class=True, check=False)
        self.assertIsNotNone(finale)
        self.helper("keys", f"#{finale['hwnd']}", "ENTER")
        self.session.gone(f"#{finale['hwnd']}", timeout=10)  # the finale's box closes, the report follows
        self.assert_reports_and_ends("MessageBoxW")
        self.assertEqual(self.relay_calls("shell32.ShellExecuteExA"), [], "no page asked for")


class WhatTheJokeCanDoWithout(FaultBuild):
    def test_what_the_joke_can_do_without_does_not_stop_it(self):
        # The common controls' set-up, a beep, a repaint, the COM apartment and, as on older Windows,
        # every newer DPI function, all at once; and a shell without ShellExecuteExA, which leaves
        # only the page unopened.
        for calls, pages in (("InitCommonControlsEx,MessageBeep,UpdateWindow,CoInitializeEx,GetDpiForWindow,"
                              "GetDpiForMonitor,AdjustWindowRectExForDpi,SetDialogDpiChangeBehavior", 1),
                             ("ShellExecuteExA", 0)):
            with self.subTest(calls=calls):
                self.start_failing(calls)
                box = self.reach_the_box("ANO")  # the finale's box, not the error report
                self.helper("keys", f"#{box['hwnd']}", "ENTER")
                self.assertEqual(self.expect_exit(timeout=30), 0, "the joke ended as usual")
                self.assertEqual(len(self.session.opened_addresses(timeout=20 if pages else 0)), pages, "the page opened or not")


if __name__ == "__main__":
    unittest.main()
