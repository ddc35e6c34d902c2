#!/usr/bin/env python3
"""The installer's file lists (installer/file_lists.py) on small folders made here.

    file_lists_test.py PATH_TO_file_lists.py
"""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None


def run(out, *entries):
    """Runs the script into `out`; returns (exit code, stderr)."""
    p = subprocess.run([sys.executable, SCRIPT, os.path.join(out, "files.nsh"), os.path.join(out, "unfiles.nsh"),
                        os.path.join(out, "files.txt"), *entries], capture_output=True, text=True)
    return p.returncode, p.stderr


def read(out, name):
    with open(os.path.join(out, name), encoding="utf-8") as f:
        return f.read().splitlines()


def make(root, relative, text="x"):
    path = os.path.join(root, *relative.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)
    return path


class FileLists(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.tmp.name, "src")
        self.out = os.path.join(self.tmp.name, "out")
        os.makedirs(self.out)

    def tearDown(self):
        self.tmp.cleanup()

    def test_files_folders_and_renamed_files_install_and_go_again(self):
        exe = make(self.src, "Metaview.exe", "program")
        licence = make(self.src, "LICENSE", "licence text")
        for name in ["tool/b.pm", "tool/a.pm", "tool/lib/deep/c.pm", "tool/lib/d.pm"]:
            make(self.src, name, name)
        code, err = run(self.out, f"{exe}=Metaview.exe", f"{os.path.join(self.src, 'tool')}=tool_files",
                        f"{licence}=Tool-LICENSE.txt")
        self.assertEqual(0, code, err)

        install = read(self.out, "files.nsh")
        self.assertEqual([
            'SetOutPath "$INSTDIR"',
            f'File "{exe}"',
            'SetOutPath "$INSTDIR\\tool_files"',
            f'File "{self.src}/tool/a.pm"',
            f'File "{self.src}/tool/b.pm"',
            'SetOutPath "$INSTDIR\\tool_files\\lib"',
            f'File "{self.src}/tool/lib/d.pm"',
            'SetOutPath "$INSTDIR\\tool_files\\lib\\deep"',
            f'File "{self.src}/tool/lib/deep/c.pm"',
            'SetOutPath "$INSTDIR"',
            f'File "/oname=Tool-LICENSE.txt" "{licence}"',
            'SetOutPath "$INSTDIR"',
        ], install)

        uninstall = read(self.out, "unfiles.nsh")
        deletes = [line for line in uninstall if line.startswith("Delete ")]
        self.assertEqual(['Delete "$INSTDIR\\Metaview.exe"', 'Delete "$INSTDIR\\tool_files\\a.pm"',
                          'Delete "$INSTDIR\\tool_files\\b.pm"', 'Delete "$INSTDIR\\tool_files\\lib\\d.pm"',
                          'Delete "$INSTDIR\\tool_files\\lib\\deep\\c.pm"', 'Delete "$INSTDIR\\Tool-LICENSE.txt"'],
                         deletes)
        # Folders after every file, deepest first, never recursively.
        self.assertEqual(['RMDir "$INSTDIR\\tool_files\\lib\\deep"', 'RMDir "$INSTDIR\\tool_files\\lib"',
                          'RMDir "$INSTDIR\\tool_files"'], uninstall[len(deletes):])

        listing = [line.split("\t") for line in read(self.out, "files.txt")]
        self.assertEqual(["Metaview.exe", "7", exe], listing[0])
        self.assertEqual(["Tool-LICENSE.txt", "12", licence], listing[-1])
        self.assertEqual(6, len(listing))

    def test_dollar_signs_are_escaped_for_nsis(self):
        odd = make(self.src, "pkg/$weird name.txt")
        code, err = run(self.out, f"{os.path.join(self.src, 'pkg')}=pkg")
        self.assertEqual(0, code, err)
        self.assertIn(f'File "{self.src}/pkg/$$weird name.txt"', read(self.out, "files.nsh"))
        self.assertIn('Delete "$INSTDIR\\pkg\\$$weird name.txt"', read(self.out, "unfiles.nsh"))
        self.assertEqual(["pkg\\$weird name.txt", "1", odd], read(self.out, "files.txt")[0].split("\t"))

    def test_names_differing_only_in_case_are_one_file_on_windows(self):
        make(self.src, "a/Readme.txt")
        make(self.src, "b/README.TXT")
        code, err = run(self.out, f"{os.path.join(self.src, 'a')}=docs", f"{os.path.join(self.src, 'b')}=Docs")
        self.assertEqual(1, code)
        self.assertIn("comes from both", err)
        self.assertEqual([], os.listdir(self.out))

    def test_names_windows_cannot_hold_are_refused(self):
        good = make(self.src, "good.txt")
        for destination in ["a:b.txt", "dir\\what?.txt", "trailing.", "blank ", "CON.txt", "lpt1", "x\\..\\y",
                            "tab\there"]:
            with self.subTest(destination=destination):
                code, err = run(self.out, f"{good}={destination}")
                self.assertEqual(1, code, destination)
                self.assertIn("file_lists.py:", err)
        self.assertEqual([], os.listdir(self.out))

    def test_missing_sources_and_empty_folders_are_errors(self):
        os.makedirs(os.path.join(self.src, "empty"))
        for entry in [f"{self.src}/nothing.txt=nothing.txt", f"{self.src}/empty=empty", "no-equals-sign",
                      f"{make(self.src, 'f.txt')}="]:
            with self.subTest(entry=entry):
                code, err = run(self.out, entry)
                self.assertEqual(1, code, entry)
                self.assertTrue(err)

    def test_unchanged_lists_are_not_written_again(self):
        exe = make(self.src, "Metaview.exe")
        self.assertEqual(0, run(self.out, f"{exe}=Metaview.exe")[0])
        paths = [os.path.join(self.out, n) for n in ("files.nsh", "unfiles.nsh", "files.txt")]
        for p in paths:
            os.utime(p, (1000000000, 1000000000))
        self.assertEqual(0, run(self.out, f"{exe}=Metaview.exe")[0])
        self.assertEqual([1000000000] * 3, [int(os.path.getmtime(p)) for p in paths])
        # A changed size changes the listing (and only what changed is written).
        with open(exe, "w") as f:
            f.write("longer program")
        self.assertEqual(0, run(self.out, f"{exe}=Metaview.exe")[0])
        self.assertEqual([1000000000, 1000000000], [int(os.path.getmtime(p)) for p in paths[:2]])
        self.assertNotEqual(1000000000, int(os.path.getmtime(paths[2])))


if __name__ == "__main__":
    SCRIPT = sys.argv.pop(1)
    unittest.main()
