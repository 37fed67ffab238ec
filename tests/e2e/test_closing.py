"""Closing from outside: "End task" asks every top-level window of the program to close, the hidden
owner too; other programs may ask one window alone. Whatever the stage, the program then ends at
once with exit code 0, without an error report, and leaves no window or process behind. Once the
finale's box has shown, the page is opened as when the box is dismissed."""

import unittest

from harness import BM_CLICK, CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, SC_CLOSE, WM_CLOSE, WM_SYSCOMMAND, RunTest


class EndTask(RunTest):
    def test_at_every_stage(self):
        def end_task(stage, window):
            closed = self.asked_during_the_freeze(stage, window, lambda w: self.helper(
                "post-all", f"#{w['hwnd']}", WM_CLOSE, check=False))
            self.assertGreaterEqual(len(closed), 2, "the window and the hidden owner, at least")
            self.assert_ended(page=stage == "box", finale=stage == "box")
            # Exactly the windows of the stages reached; asked during the freeze, the program ends
            # once it is over, and no console comes.
            reached = self.STAGES.index(stage)
            self.assertEqual((self.windows_created(DIALOG_CLASS), self.windows_created(CONSOLE_CLASS)),
                             (1 + (reached >= 1), int(reached >= 3)), "settings windows and questions, consoles")
        self.at_every_stage(end_task)


class DuringTheFreeze(RunTest):
    """What other programs ask of the question window while "NE" has frozen it."""

    def during_the_freeze(self, ask):
        self.asked_during_the_freeze("freeze", self.reach("freeze"), ask)

    def test_closes_of_every_kind_end_the_program_once_it_is_over(self):
        # Sent WM_CLOSE; posted SC_CLOSE, as the window menu's Close and a taskbar thumbnail's close
        # button ask.
        for message, wParam, send in ((WM_CLOSE, 0, True), (WM_SYSCOMMAND, SC_CLOSE, False)):
            with self.subTest(message=message, sent=send):
                if send is False:
                    self.restart()
                self.during_the_freeze(lambda question: self.helper(
                    "send" if send else "post", f"#{question['hwnd']}", message, wParam, check=False))
                self.assert_ended(page=False, finale=False)
                self.assertEqual(self.windows_created(CONSOLE_CLASS), 0, "no console")

    def test_a_click_sent_to_a_button_runs_no_handler_inside_the_freeze(self):
        # UI Automation's "invoke", as screen readers and automation tools give it: BM_CLICK, sent.
        def click_both(question):
            # The one that now reads "ANO" first, then the other, should it still be there.
            buttons = sorted((c for c in self.helper("dump", f"#{question['hwnd']}")["children"]
                              if c["class"].lower() == "button"), key=lambda button: button["text"] != "ANO")
            answers = [self.helper("send", f"#{button['hwnd']}", BM_CLICK, check=False) for button in buttons]
            return answers[0]
        self.during_the_freeze(click_both)
        self.wait_window(CONSOLE_TITLE)
        self.until("the console typing", lambda: self.relay_calls("gdi32.ExtTextOutW"))
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1, "one console")
        self.assertEqual(len(self.relay_calls("user32.SetWindowTextW")), 2, "the captions swapped once")
        trace = self.relay_log.read_text(errors="replace").splitlines()
        console = next(i for i, line in enumerate(trace) if "Call user32.CreateWindowExW" in line and CONSOLE_CLASS in line)
        typing = next(i for i, line in enumerate(trace) if "Call gdi32.ExtTextOutW" in line)
        self.assertFalse([line for line in trace[console:typing] if "Call kernel32.Sleep(" in line],
                         "the console made once the freeze was over, not inside it")


class OneWindowAlone(RunTest):
    def test_the_hidden_owner_while_the_console_types(self):
        console = self.reach("console")
        self.helper("post", f"#{console['owner']}", WM_CLOSE)
        self.assert_ended(page=False, finale=False)

    def test_the_console_while_the_box_is_open(self):
        self.reach("box")
        console = self.wait_window(CONSOLE_TITLE)
        self.helper("post", f"#{console['hwnd']}", WM_CLOSE)
        self.assert_ended(page=True, finale=True)


if __name__ == "__main__":
    unittest.main()
