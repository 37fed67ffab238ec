"""Input a user gives at the wrong time or in the wrong amount: clicks repeated faster than the
windows change, and typing (also far too much) into the combo boxes. Each case leaves exactly the
windows it should, and the program always ends."""

import unittest

from harness import CONSOLE_CLASS, CONSOLE_TITLE, DIALOG_CLASS, SC_CLOSE, TITLE, WM_SYSCOMMAND, RunTest

APPLY = "Použít"
# The combo boxes by the edit text they start with.
COMBO_TEXTS = ("2", "Hodinách", "5", "Zasraně dlouho", "Jak to jen jde")
# Characters that need no quoting on a command line, Czech ones among them.
LONG_TEXT_PIECE = "Příliš žluťoučký kůň úpěl ďábelské ódy 0123456789 ,.;-+=()[]<>!?%/ "


class RepeatedClicks(RunTest):
    def test_double_and_triple_clicks_on_ok_and_yes_open_one_question_and_one_console(self):
        for clicks in (2, 3):
            with self.subTest(clicks=clicks):
                if clicks != 2:
                    self.restart()
                self.wait_window()
                self.click("OK", count=clicks)
                self.wait_question()
                # Clicks beyond the first land where the settings window was: on the desktop, which
                # may take the foreground from the question, or on the settings window if it is
                # still there. The question is clicked once it is in front again.
                self.click("ANO", count=clicks)
                self.wait_window(CONSOLE_TITLE)
                # Its ticks come after every click: one handled would have shown another window.
                self.until("the console typing", lambda: self.relay_calls("gdi32.ExtTextOutW"))
                self.assertIsNone(self.process.poll(), "still running")
                self.assertEqual(self.windows_created(DIALOG_CLASS), 2, "the settings window and one question")
                self.assertEqual(len(self.relay_calls("user32.MessageBeep")), 1, "one question, one beep")
                self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
                self.assertEqual([w["title"] for w in self.program_windows()], [CONSOLE_TITLE])
                self.helper("post", CONSOLE_TITLE, WM_SYSCOMMAND, SC_CLOSE)
                self.assert_ended(finale=False)


class TypingIntoComboBoxes(RunTest):
    relay = False

    def test_typing_into_each_changes_its_text_and_enables_apply(self):
        self.wait_window()
        self.assertFalse(self.control(APPLY)["enabled"])
        for text in COMBO_TEXTS:
            with self.subTest(combo=text):
                combo = self.control(text)
                self.click(text)
                self.keys("END", "text:9ž")
                self.until(f"the text {text + '9ž'!r}", lambda: self.control(control_id=combo["id"])["text"],
                           lambda seen: seen == text + "9ž")
                self.assertTrue(self.control(APPLY)["enabled"])
        self.assertEqual(len(self.program_windows()), 1)
        self.keys("ESC")
        self.assertEqual(self.expect_exit(), 0)

    def test_a_very_long_text_breaks_nothing_and_ok_still_leads_on(self):
        self.wait_window()
        text = "Zasraně dlouho"
        combo = self.control(text)
        self.click(text)
        long_text = (LONG_TEXT_PIECE * (2000 // len(LONG_TEXT_PIECE) + 1))[:2000]
        # Typed in bursts within seconds; a loaded machine may take much longer.
        self.helper("keys", TITLE, "END", "text:" + long_text, timeout=600)
        typed = self.until("the whole text typed", lambda: self.control(control_id=combo["id"]),
                           lambda seen: seen["text"] == text + long_text, show=lambda seen: seen["text"][-80:])
        self.assertNotIn("hung", typed, "the window answers")
        self.assertTrue(self.control(APPLY)["enabled"])
        self.assertIsNone(self.process.poll())
        self.click("OK")
        self.wait_question()
        self.helper("post", TITLE, WM_SYSCOMMAND, SC_CLOSE)
        self.assertEqual(self.expect_exit(), 0)


if __name__ == "__main__":
    unittest.main()
