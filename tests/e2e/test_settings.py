"""The settings window read from the real window: geometry at two resolutions, texts, lists, the tab
order, and what the user's changes do to "Použít"."""

import unittest

from harness import (TITLE, WS_CAPTION, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW, WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_SYSMENU,
                     WS_THICKFRAME, ProgramTest)

APPLY = "Použít"
FRAMES = ("Základní nastavení", "Možnosti ukládání", "Další možnosti")
# A few controls of each kind as designed, in twips (the unit tests read the whole table): text (a
# combo box's edit text; "" for the picture), the group box it sits in, left, top, width, height,
# and whether it sizes itself to its content (a label to its text, the picture to its icon).
DESIGN = [
    ("", None, 120, 120, 480, 480, True),
    ("Výchozí nastavení systému MS (r) Windows", None, 720, 240, 3105, 195, True),
    ("Další možnosti", None, 120, 3480, 4455, 1575, False),
    ("Storno", None, 2040, 5160, 1215, 375, False),
    ("2", "Základní nastavení", 1440, 240, 735, 315, False),
    ("Ser mě tím, že budeš chtít heslo každých", "Základní nastavení", 120, 660, 3255, 255, False),
    ("minut", "Základní nastavení", 3990, 660, 375, 195, True),
    ("Zasraně dlouho", "Možnosti ukládání", 1320, 1080, 2055, 315, False),
    ("Když mám zasraně málo času", "Další možnosti", 600, 1200, 2415, 195, False),
]
COMBO_TEXTS = {"2", "Zasraně dlouho"}
TAB_WALK = ["Sekni se po", "2", "Hodinách", "Ser mě tím, že budeš chtít heslo každých", "5",
            "Ukládej do neskutečně velkých souborů", "Sem, tam rozhoď pár odstavců a čísel", "Zasraně dlouho",
            "Zpomalovat nabíhání programů", "Jak to jen jde", "Když mám zasraně málo času",
            "Automaticky fragmentovat disk", "OK", "Storno", "Sekni se po"]


def pixels(twips, dpi):
    return int(twips * dpi / 1440 + 0.5)


class SettingsLayout(ProgramTest):
    """Reads the settings window; the tests are the two classes below."""

    relay = False

    def dump(self, items=False):
        """The window and its controls; with items, also every entry of each combo box's list."""
        self.wait_window()
        return self.helper("dump", TITLE, *(["items"] if items else []))

    def assert_layout(self, dpi):
        dump = self.dump()
        self.assertEqual(self.screen()["dpi"], dpi)
        self.assertEqual((dump["client"]["w"], dump["client"]["h"]), (pixels(4710, dpi), pixels(5655, dpi)))
        for text, frame, left, top, width, height, autosize in DESIGN:
            with self.subTest(control=text or "picture", dpi=dpi):
                rect = dict(self.control(text, dump)["rect"])
                if frame:  # positions inside a group box are relative to it
                    box = self.control(frame, dump)["rect"]
                    rect["x"] -= box["x"]
                    rect["y"] -= box["y"]
                self.assertAlmostEqual(rect["x"], pixels(left, dpi), delta=1)
                self.assertAlmostEqual(rect["y"], pixels(top, dpi), delta=1)
                if autosize and text:
                    self.assert_sized_to_its_text(rect, text)
                elif not autosize:
                    self.assertAlmostEqual(rect["w"], pixels(width, dpi), delta=1)
                    # A closed combo box is as tall as its font allows: Wine's bitmap dialog font does not
                    # scale to 144 DPI the way Windows' TrueType one does, and leaves it 2 px taller.
                    slack = 2 if text in COMBO_TEXTS and dpi != 96 else 1
                    self.assertAlmostEqual(rect["h"], pixels(height, dpi), delta=slack)
        # Every text whole, its Czech letters too: none shows a character it could not encode.
        self.assertEqual([c["text"] for c in dump["children"] if "?" in c["text"] or "\ufffd" in c["text"]], [])
        self.assertEqual(len(dump["children"]), 25, "every control of the design")
        self.assert_picture_as_drawn(dump, "netdrive.ico")
        return dump

    def geometry(self, dump):
        """The client size and every control's rectangle, by text and class."""
        return {"client": (dump["client"]["w"], dump["client"]["h"]),
                **{(c["text"], c["class"]): c["rect"] for c in dump["children"]}}


class SettingsWindow(SettingsLayout):
    def test_older_windows_without_the_newer_dpi_functions_lay_it_out_the_same(self):
        # Windows before 10 version 1607: no GetDpiForWindow, no AdjustWindowRectExForDpi.
        expected = self.geometry(self.dump())
        self.start_failing("GetDpiForWindow,AdjustWindowRectExForDpi")
        self.assertEqual(self.geometry(self.dump()), expected)
        # Windows 8.1 to 10 version 1511: the monitor's DPI comes from GetDpiForMonitor.
        self.start_failing("GetDpiForWindow", relay=True)
        self.assertEqual(self.geometry(self.dump()), expected)
        self.assertTrue(self.relay_calls("shcore.GetDpiForMonitor"), "the DPI asked of the monitor")

    def test_layout_at_96_dpi_and_a_fixed_dialog_frame(self):
        self.assert_layout(96)
        window = self.wait_window()
        self.assertEqual(window["style"] & WS_CAPTION, WS_CAPTION)
        self.assertTrue(window["style"] & WS_SYSMENU, "close box")
        self.assertFalse(window["style"] & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), "not resizable, no min/max box")
        # No taskbar button: an owned window without WS_EX_APPWINDOW; still an ordinary window that
        # Alt+Tab lists (no WS_EX_TOOLWINDOW).
        self.assertNotEqual(window["owner"], 0)
        self.assertFalse(window["exstyle"] & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW))
        self.screenshot("settings-96dpi", window)

    def test_texts_states_and_lists(self):
        dump = self.dump(items=True)
        for check in ("Sekni se po", "Ser mě tím, že budeš chtít heslo každých", "Ukládej do neskutečně velkých souborů",
                      "Sem, tam rozhoď pár odstavců a čísel", "Automaticky fragmentovat disk",
                      "Zpomalovat nabíhání programů"):
            self.assertEqual(self.control(check, dump)["check"], 1, check)
        self.assertEqual(self.control("Neustále", dump)["check"], 0)
        self.assertEqual(self.control("Když mám zasraně málo času", dump)["check"], 1)
        self.assertFalse(self.control(APPLY, dump)["enabled"])
        numbers = [str(n) for n in range(1, 61)]
        self.assertEqual(self.control("2", dump)["items"], numbers)
        self.assertEqual(self.control("5", dump)["items"], numbers)
        self.assertEqual(self.control("Hodinách", dump)["items"], ["Sekundách", "Minutách", "Hodinách"])
        self.assertEqual(self.control("Zasraně dlouho", dump)["items"],
                         ["Dlouho", "Mrtě dlouho", "Zasraně dlouho", "Neskutečně dlouho", "Zkurvěně dlouho",
                          "Neomezeně dlouho"])
        self.assertEqual(self.control("Jak to jen jde", dump)["items"], ["1x", "2x", "5x", "10x", "Jak to jen jde"])
        for combo in ("2", "5", "Hodinách", "Zasraně dlouho", "Jak to jen jde"):
            self.assertEqual(self.control(combo, dump)["cursel"], -1, "no list entry selected")

    def test_tab_walks_the_window_in_order(self):
        self.wait_window()
        for step, focused in enumerate(TAB_WALK):
            if step:
                self.keys("TAB")
            self.wait_focus(focused)

    def test_enter_presses_ok_from_a_check_box_a_combo_box_and_an_option_button(self):
        for reach, focused in (([], "Sekni se po"), (["TAB"], "2"), (["click:Když mám zasraně málo času"], None)):
            with self.subTest(focused=focused or "option button"):
                if reach != []:
                    self.tearDown()
                    self.setUp()
                self.wait_window()
                for step in reach:
                    self.click(step[len("click:"):]) if step.startswith("click:") else self.keys(step)
                if focused:
                    self.wait_focus(focused)
                self.keys("ENTER")
                self.wait_question()

    def test_enabled_apply_does_nothing_and_enter_presses_the_push_button_that_has_the_focus(self):
        self.wait_window()
        self.click("Sekni se po")
        self.click(APPLY)  # once it is enabled
        self.wait_focus(APPLY)
        # "Použít" given the focus with the mouse: Enter presses it, which does nothing, not "OK".
        self.keys("ENTER", "SHIFT+TAB")
        self.wait_focus("Storno")  # Shift+Tab has come, so the click and Enter before it are handled
        dump = self.dump()
        self.assertEqual([w["title"] for w in self.program_windows()], [TITLE])
        self.assertEqual(dump["client"]["w"], pixels(4710, 96), "still the settings window")
        self.assertTrue(self.control(APPLY, dump)["enabled"])
        self.assertEqual(self.control("Sekni se po", dump)["check"], 0)
        # Enter on "Storno" ends the program, as its click does; "OK" would show the question.
        self.keys("ENTER")
        self.assertEqual(self.expect_exit(), 0)

    def test_clicks_on_labels_frames_the_picture_and_the_chosen_option_change_nothing_space_does(self):
        dump = self.dump()
        for text in ("Výchozí nastavení systému MS (r) Windows", "", "práce", "Ukládání trvá"):
            self.click(text)
        for frame in FRAMES:  # on its caption, which lies on no other control
            rect = self.control(frame, dump)["rect"]
            self.helper("click-at", dump["client"]["x"] + rect["x"] + 12, dump["client"]["y"] + rect["y"] + 4)
        self.click("Když mám zasraně málo času")
        self.keys("TAB")
        self.wait_focus("Automaticky fragmentovat disk")  # Tab has come, so the clicks before it are handled
        self.assertFalse(self.control(APPLY)["enabled"], f"{APPLY!r} still disabled")
        self.keys("SPACE")
        self.until("the check box cleared by Space", lambda: self.control("Automaticky fragmentovat disk")["check"],
                   lambda check: check == 0)
        self.assertTrue(self.control(APPLY)["enabled"])

    def test_arrow_keys_choose_within_the_option_group(self):
        self.wait_window()
        self.click("Když mám zasraně málo času")
        self.keys("UP")
        self.wait_focus("Neustále")
        dump = self.dump()
        self.assertEqual(self.control("Neustále", dump)["check"], 1)
        self.assertEqual(self.control("Když mám zasraně málo času", dump)["check"], 0)
        self.assertTrue(self.control(APPLY, dump)["enabled"], "choosing an option is a change")
        self.keys("TAB")
        self.wait_focus("Automaticky fragmentovat disk")
        self.keys("SHIFT+TAB")
        self.wait_focus("Neustále")  # Tab comes back to the chosen option
        self.keys("UP")
        self.wait_focus("Když mám zasraně málo času")  # the arrows stay in the group

    def test_choosing_a_list_entry_leaves_apply_disabled_typing_enables_it(self):
        self.wait_window()
        self.click("Hodinách")
        self.keys("ALT+DOWN", "UP", "ENTER")
        dump = self.until("the entry 'Minutách' chosen from the list", self.dump,
                          lambda seen: [c["cursel"] for c in seen["children"] if c["text"] == "Minutách"] == [1],
                          show=lambda seen: [(c["text"], c.get("cursel")) for c in seen["children"] if "cursel" in c])
        self.assertFalse(self.control(APPLY, dump)["enabled"])
        self.assertEqual(len(self.program_windows()), 1, "Enter in the open list did not press OK")
        self.keys("END", "text:y")
        self.until(f"{APPLY!r} enabled", lambda: self.control(APPLY)["enabled"])


class SettingsWindowAt144Dpi(SettingsLayout):
    """The same window at 150 % scale: every rectangle scales with the resolution."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session.set_dpi(144)

    @classmethod
    def tearDownClass(cls):
        cls.session.set_dpi(96)

    def test_layout_at_144_dpi(self):
        self.assert_layout(144)
        self.screenshot("settings-144dpi", self.wait_window())

    def test_a_move_to_a_144_dpi_monitor_lays_it_out_as_if_opened_there(self):
        opened_here = self.geometry(self.dump())
        self.session.set_dpi(96)
        try:
            self.tearDown()
            self.setUp()
            self.assertEqual(self.dump()["client"]["w"], 314, "opened at 96 DPI")
            self.helper("dpi-change", TITLE, 144)
            self.until("the layout of a window opened at 144 DPI", lambda: self.geometry(self.dump()),
                       lambda seen: seen == opened_here)
            self.screenshot("settings-moved-to-144dpi", self.wait_window())
        finally:
            self.session.set_dpi(144)


if __name__ == "__main__":
    unittest.main()
