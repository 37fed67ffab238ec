"""The question window read from the real window: place, texts, focus, the beep, and the caption
swap and freeze of "NE", also under clicks and keys given while it is frozen."""

import time
import unittest

from harness import CONSOLE_CLASS, CONSOLE_TITLE, TITLE, ProgramTest



class QuestionWindow(ProgramTest):
    def test_in_place_of_the_settings_window_centred_texts_and_focus(self):
        window = self.open_question()
        self.assertEqual((window["client"]["w"], window["client"]["h"]), (402, 80))  # 6030 x 1200 twips
        self.assertEqual(len(self.program_windows()), 1, "the settings window is gone")
        screen = self.helper("screen")
        r = window["window"]
        self.assertAlmostEqual(r["x"] + r["w"] / 2, screen["w"] / 2, delta=1)
        self.assertAlmostEqual(r["y"] + r["h"] / 2, screen["h"] / 2, delta=1)
        dump = self.helper("dump", TITLE)
        texts = [c["text"] for c in dump["children"]]
        self.assertIn("Při ukládání nastavení došlo k vyjímce v aplikaci na místě 0x7c81eb33", texts)
        self.assertIn("Je nutné zformátovat disk. Přejete si zformátovat disk (C:)", texts)
        buttons = [c for c in dump["children"] if c["class"].lower() == "button"]
        self.assertEqual([b["text"] for b in buttons], ["ANO", "NE"])
        self.assertEqual([(b["rect"]["x"], b["rect"]["y"], b["rect"]["w"], b["rect"]["h"]) for b in buttons],
                         [(104, 48, 81, 25), (216, 48, 81, 25)])  # 1560/3240, 720, 1215 x 375 twips
        shown, natural = self.picture_extent(dump, "warning.ico")
        self.assertEqual(shown, natural, "the warning picture at its natural size")
        self.wait_focus("ANO")
        self.screenshot("question-window", window)

    def test_enter_and_space_press_the_focused_button(self):
        for key in ("ENTER", "SPACE"):
            for tabs, answer in ((0, "ANO"), (1, "NE")):
                with self.subTest(key=key, focus=answer):
                    if (key, tabs) != ("ENTER", 0):
                        self.tearDown()
                        self.setUp()
                    self.open_question()
                    if tabs:
                        self.keys("TAB")
                    self.wait_focus(answer)
                    self.keys(key)
                    self.wait_window(CONSOLE_TITLE)
                    swapped = len(self.relay_calls("user32.SetWindowTextW")) == 2
                    self.assertEqual(swapped, answer == "NE", "only NE swaps the captions")
                    self.assertEqual(len(self.relay_calls("user32.MessageBeep")), 1, "a beep as it came, not after")

    def test_esc_does_nothing(self):
        self.open_question()
        self.keys("ESC")
        time.sleep(1)  # time for anything Esc would set off
        self.assertIsNone(self.process.poll(), "still running")
        self.assertEqual(len(self.program_windows()), 1)
        self.assertEqual(self.focus_text(), "ANO")
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 0)

    def test_no_swaps_the_captions_then_freezes_then_shows_the_console(self):
        question = self.open_question()
        buttons = [c for c in self.helper("dump", TITLE)["children"] if c["class"].lower() == "button"]
        # The frozen window still answers what it is asked, as its freeze looks at its queue. Watched
        # from before the click: the freeze lasts two seconds, less than a look takes to start on a
        # loaded machine.
        with self.session.helper_in_background("watch-texts", f"#{question['hwnd']}", 60000) as seen:
            self.click("NE")
            self.until("the captions swapped", lambda: self.relay_calls("user32.SetWindowTextW"),
                       lambda calls: len(calls) == 2)
            self.screenshot("question-frozen-swapped", question)
            self.wait_window(CONSOLE_TITLE)
        texts = [[text for text in record["items"] if text in ("ANO", "NE")] for record in seen]
        self.assertEqual(texts[0], ["ANO", "NE"])
        self.assertIn(["NE", "ANO"], texts, "the captions swapped, read from the frozen window")
        # Clicks and keys while it is frozen: none of them may act once it thaws.
        for button in buttons:
            self.helper("click-control", TITLE, f"#{button['id']}", 2, check=False)
        self.helper("keys", f"#{question['hwnd']}", "SPACE", "ENTER", "ESC", check=False)
        self.wait_window(CONSOLE_TITLE)
        time.sleep(1.5)  # time for any of those clicks and keys to act, had they been kept
        self.assertIsNone(self.process.poll(), "still running")
        self.assertEqual(self.windows_created(CONSOLE_CLASS), 1)
        self.assertEqual([w["title"] for w in self.program_windows()], [CONSOLE_TITLE])

        trace = self.relay_log.read_text(errors="replace").splitlines()
        swap_to_no = next(i for i, l in enumerate(trace) if 'Call user32.SetWindowTextW' in l and 'L"NE"' in l)
        swap_to_yes = next(i for i, l in enumerate(trace) if 'Call user32.SetWindowTextW' in l and 'L"ANO"' in l)
        console = next(i for i, l in enumerate(trace) if "Call user32.CreateWindowExW" in l and CONSOLE_CLASS in l)
        self.assertLess(swap_to_yes, console)
        stamp = lambda line: float(line.split(":", 1)[0])
        length = stamp(trace[console]) - stamp(trace[swap_to_yes])
        print(f"freeze measured in Wine's trace (captions swapped to console created): {length:.3f} s")
        self.assertGreater(length, 1.5)
        self.assertLess(length, 4.5, "well before Windows calls the window not responding")


if __name__ == "__main__":
    unittest.main()
