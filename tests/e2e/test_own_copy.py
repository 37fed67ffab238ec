"""A copy of one's own, made with ./run's options as a user gives them: built beside the default
copy, shown under Wine with its own site and credit, hashed, and built again to the same bytes;
and every value that the program could not show as it should refused before anything is built."""

import hashlib
import os
import re
import shlex
import subprocess
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("E2E_BUILD_DIR", SOURCE / "build"))
SITE = "vtipy.example.org"
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
    def test_a_copy_shows_and_opens_its_own_site_and_credit(self):
        default = sha256(BUILD / "windows-i686" / "nastaveni.exe")
        made = run("--unattended", "--site", SITE, "--credit", CREDIT)
        self.assertEqual(made.returncode, 0, made.stderr)
        program = copy_of(SITE)
        self.assertIn(f"{sha256(program)}  build/copies/{SITE}/windows-i686/nastaveni.exe\n", made.stdout)
        box = made.stdout.split("demo: the finale's box says:\n")[1].split("\n")[:6]
        self.assertEqual([line.removeprefix("demo:   ") for line in box[3:]],
                         [f"Navštivte internetovou stranu {SITE}", "", CREDIT])
        self.assertIn(f"demo: the program ended and asked to open http://{SITE}/\n", made.stdout)
        self.assertTrue((program.parents[1] / "gallery" / "6-finale.png").exists())
        self.assertEqual(sha256(BUILD / "windows-i686" / "nastaveni.exe"), default, "the default copy")

        # The settings it printed build the same bytes, and so do they in another folder.
        again = shlex.split(re.search(r"to rebuild it and check its hash: (.*)", made.stdout)[1])
        self.assertEqual(again[:2], ["./run", "--version"])
        self.assertEqual(run(*again[1:]).stdout.split("  ")[0], sha256(program))
        elsewhere = subprocess.run(
            ["cmake", f"-DSOURCE={SOURCE}", f"-DREFERENCE={program}", f"-DPLACE={BUILD}/reproducible-check-own-copy",
             f"-DSITE_HOST={SITE}", f"-DCREDIT_LINE={CREDIT}", "-P", SOURCE / "cmake" / "reproducible-check.cmake"],
            capture_output=True, text=True, timeout=900)
        self.assertEqual(elsewhere.returncode, 0, elsewhere.stderr)

    def test_the_site_or_the_credit_alone_keeps_the_others_default(self):
        for options, settings in [(["--site", "ftp.abcdefg.org"], ["ftp.abcdefg.org", "Vytvořil autor tohoto "
                                   "programu, kontakt: vtipy@abcdefg.org"]), (["--credit", CREDIT], ["www.example.com", CREDIT])]:
            with self.subTest(options):
                given = dict(zip(options[::2], options[1::2]))
                checked = subprocess.run(["cmake", f"-DSITE_HOST={given.get('--site', '')}",
                                          f"-DCREDIT_LINE={given.get('--credit', '')}", "-P", SOURCE / "cmake" / "site-check.cmake"],
                                         capture_output=True, text=True, timeout=60)
                self.assertEqual(checked.stdout, "-- site {}\n-- credit {}\n".format(*settings))

    def test_bad_values_are_refused_and_nothing_is_built(self):
        before = builds()
        for options, rule in [
                (["--site", "http://www.example.org"], 'The site "http://www.example.org" is not a plain host name'),
                (["--site", "vtipy"], "at least two labels"),
                (["--site", "v" * 64 + ".example.org"], "labels of 1 to 63 characters"),
                (["--site", "www.example.cz"], '"example.cz" has 10'),
                (["--credit", "Řádek první\nŘádek druhý"], "The credit must be a single line"),
                (["--credit", "Ž" * 61], "The credit has 61 characters"),
                (["--version", "--site"], "./run: --site needs a value\nusage: ./run"),
                (["--version", "--sight", SITE], "./run: unknown option: --sight\nusage: ./run")]:
            with self.subTest(options):
                refused = run(*options)
                self.assertNotEqual(refused.returncode, 0)
                if "usage" in rule:
                    self.assertIn(rule, refused.stderr)
                else:  # the rule, then an example that passes, on a line of its own
                    self.assertIn(rule, " ".join(refused.stderr.split()))
                    example = "--site www\\.example\\.com" if options[0] == "--site" else '--credit "[^"\\n]+"'
                    self.assertRegex(refused.stderr, rf"\n\n  {example}\n")
                self.assertEqual(refused.stdout, "", "nothing built")
        self.assertEqual(builds(), before)
