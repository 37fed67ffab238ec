"""A copy of one's own, made with ./run's options as a user gives them: built beside the default
copy, shown under Wine with its own site, volume label and credit, hashed, and built again to the
same bytes; and every value that the program could not show as it should refused before anything
is built."""

import hashlib
import os
import re
import shlex
import subprocess
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("E2E_BUILD_DIR", SOURCE / "build"))
# A long domain: the console types as many of its labels as fit in 11 characters, whole.
SITE = "vtipy.mojestranka.example.org"
LABEL = "mojestranka"
CREDIT = "Poslal Jiří Čermák, kontakt: jiri@example.org"


def run(*options):
    return subprocess.run([str(SOURCE / "run"), *options], capture_output=True, text=True, timeout=900)


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def copy_of(site):
    return BUILD / "copies" / site / "windows-i686" / "nastaveni.exe"


def builds():
    """Every file of the default program and of the copies, with its size and time."""
    files = [BUILD / "windows-i686" / "nastaveni.exe", *(BUILD / "copies").rglob("*")]
    return {str(f): (f.stat().st_size, f.stat().st_mtime_ns) for f in files if f.is_file()}


class OwnCopy(unittest.TestCase):
    def make(self, site, label, *options):
        """./run --unattended with the options, as a user gives them: the copy built, hashed and
        shown, its console typing the label and its box and page naming the site. Its output."""
        made = run("--unattended", "--site", site, *options)
        self.assertEqual(made.returncode, 0, made.stderr)
        program = copy_of(site)
        self.assertIn(f"{sha256(program)}  build/copies/{site}/windows-i686/nastaveni.exe\n", made.stdout)
        self.assertIn(f"\nthe console types the volume label {label} (", made.stdout)
        self.assertIn(f"\ndemo: the console typed the new volume label {label!r}\n", made.stdout)
        box = made.stdout.split("demo: the finale's box says:\n")[1].split("\n")[:6]
        self.assertEqual(box[3], f"demo:   Navštivte internetovou stranu {site}")
        self.assertIn(f"demo: the program ended and asked to open http://{site}/\n", made.stdout)
        self.assertTrue((program.parents[1] / "gallery" / "6-finale.png").exists())
        # On time whatever the label's length: 201 ticks of 80 ms after the console opens.
        trace = (program.parents[1] / "gallery" / "trace.txt").read_text(errors="replace")
        stamp = lambda call: float(re.search(rf"(?m)^([0-9.]+):\w+:Call {call}", trace)[1])  # noqa: E731
        finale = stamp(r"user32\.MessageBoxW\(") - stamp(r'user32\.CreateWindowExW\(.*L"TajneNastaveniOkno"')
        self.assertTrue(15.5 <= finale <= 18, f"the finale {finale:.2f} s after the console")
        return made, box

    def test_a_copy_shows_and_opens_its_own_site_and_credit(self):
        default = sha256(BUILD / "windows-i686" / "nastaveni.exe")
        made, box = self.make(SITE, LABEL, "--credit", CREDIT)
        self.assertEqual([line.removeprefix("demo:   ") for line in box[4:]], ["", CREDIT])
        self.assertEqual(sha256(BUILD / "windows-i686" / "nastaveni.exe"), default, "the default copy")

        # The settings it printed build the same bytes (in another folder too, as the default
        # copy's reproducibility check shows for every copy: the settings hold no path).
        program = copy_of(SITE)
        again = shlex.split(re.search(r"to rebuild it and check its hash: (.*)", made.stdout)[1])
        self.assertEqual(again[:2], ["./run", "--version"])
        self.assertEqual(run(*again[1:]).stdout.split("  ")[0], sha256(program))

    def test_a_label_of_ones_own(self):
        # Whatever the site. (The label a host of two labels gives, the host itself, is the site
        # check's below; the console typing a label of any length, the unit tests'.)
        made, _ = self.make("www.seznam.cz", "DISK C", "--label", "DISK C")
        self.assertIn("--label 'DISK C'\n", made.stdout, "the label in the settings to rebuild it")

    def test_the_site_the_label_or_the_credit_alone_keeps_the_others_default(self):
        contact = "Vytvořil autor tohoto programu, kontakt: vtipy@"
        for given, settings in [
                ({"SITE_HOST": "ftp.abcdefg.org"}, ["ftp.abcdefg.org", "abcdefg.org", contact + "abcdefg.org"]),
                ({"SITE_HOST": "jirka.cz"}, ["jirka.cz", "jirka.cz", contact + "jirka.cz"]),
                ({"SITE_HOST": "www.stackoverflow-zpravy.com"},
                 ["www.stackoverflow-zpravy.com", "stackoverfl", "Kontakt: vtipy@stackoverflow-zpravy.com"]),
                ({"VOLUME_LABEL": "SYSTEM"}, ["www.example.com", "SYSTEM", contact + "example.com"]),
                ({"CREDIT_LINE": CREDIT}, ["www.example.com", "example.com", CREDIT])]:
            with self.subTest(given):
                checked = subprocess.run(["cmake", *(f"-D{name}={value}" for name, value in given.items()),
                                          "-P", SOURCE / "cmake" / "site-check.cmake"],
                                         capture_output=True, text=True, timeout=60)
                self.assertEqual(re.sub(r"(?m)^-- label rule .*\n", "", checked.stdout),
                                 "-- site {}\n-- label {}\n-- credit {}\n".format(*settings))

    def test_bad_values_are_refused_and_nothing_is_built(self):
        before = builds()
        for options, rule in [
                (["--site", "http://www.example.org"], 'The site "http://www.example.org" is not a plain host name'),
                (["--site", "vtipy"], "at least two labels"),
                (["--site", "v" * 64 + ".example.org"], "labels of 1 to 63 characters"),
                (["--site", "abc." * 63 + "cz"], "at most 253 characters in all"),
                (["--label", ""], 'The label "" is not a volume label the console can type: 1 to 11 characters'),
                (["--label", "DISK C: SYSTEM"], 'The label "DISK C: SYSTEM" is not a volume label'),
                (["--label", "DISK\nC"], "on one line"),
                (["--label", "SYSTÉM"], "a letter without diacritics"),
                (["--credit", "Řádek první\nŘádek druhý"], "The credit must be a single line"),
                (["--credit", "Ž" * 61], "The credit has 61 characters"),
                (["--version", "--site"], "./run: --site needs a value\nusage: ./run"),
                (["--version", "--sight", SITE], "./run: unknown option: --sight\nusage: ./run")]:
            with self.subTest(options):
                refused = run(*options)
                # 1 for a value refused, 2 for a mistake in how ./run is called.
                self.assertEqual(refused.returncode, 2 if "usage" in rule else 1, refused.stderr)
                if "usage" in rule:
                    self.assertIn(rule, refused.stderr)
                else:  # the rule, then an example that passes, on a line of its own
                    self.assertIn(rule, " ".join(refused.stderr.split()))
                    example = {"--site": "--site www\\.seznam\\.cz", "--label": "--label SYSTEM"}.get(
                        options[0], '--credit "[^"\\n]+"')
                    self.assertRegex(refused.stderr, rf"\n\n  {example}\n")
                self.assertEqual(refused.stdout, "", "nothing built")
        self.assertEqual(builds(), before)


if __name__ == "__main__":
    unittest.main()
