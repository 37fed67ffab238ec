"""Closing from outside: "End task" asks every top-level window of the program to close, the hidden
owner too; other programs may ask one window alone. Whatever the stage, the program then ends at
once with exit code 0, without an error report, and leaves no window or process behind. Once the
finale's box has shown, the page is opened as when the box is dismissed."""

import unittest

from harness import CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, RunTest


class EndTask(RunTest):
    def test_at_every_stage(self):
        def end_task(stage, window):
            closed = self.helper("end-task", f"#{window['hwnd']}")
            self.assertGreaterEqual(closed["windows"], 2, "the window and the hidden owner, at least")
            self.assert_ended(page=stage == "box", finale=stage == "box")
            # Exactly the windows of the stages reached; asked during the freeze, the program ends
            # once it is over, and no console comes.
            reached = self.STAGES.index(stage)
            self.assertEqual((self.windows_created(DIALOG_CLASS), self.windows_created(CONSOLE_CLASS)),
                             (1 + (reached >= 1), int(reached >= 3)), "settings windows and questions, consoles")
        self.at_every_stage(end_task)

    def test_sent_to_the_question_during_the_freeze(self):
        question = self.reach("freeze")
        self.helper("send-close", f"#{question['hwnd']}")
        self.assert_ended(page=False, finale=False)
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 0)


class OneWindowAlone(RunTest):
    def test_the_hidden_owner_while_the_console_types(self):
        console = self.reach("console")
        self.helper("post-close", f"#{console['owner']}")
        self.assert_ended(page=False, finale=False)

    def test_the_console_while_the_box_is_open(self):
        self.reach("box")
        console = self.wait_window(CONSOLE_TITLE)
        self.helper("post-close", f"#{console['hwnd']}")
        self.assert_ended(page=True, finale=True)


if __name__ == "__main__":
    unittest.main()
