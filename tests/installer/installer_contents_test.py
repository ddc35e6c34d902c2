#!/usr/bin/env python3
"""What Metaview's installers hold, read from makensis's log of each build.

    installer_contents_test.py OWN_INSTALLER_DIR [OTHER_INSTALLER_DIR]

Each folder is a build's installer folder: Metaview-<version>-<arch>-setup.exe, makensis.log
(written with -V4: every SetOutPath, File, Delete and RMDir of both sections) and files.txt
(destination, size, source). For each installer: its target matches its name; the files it
installs are exactly the listed ones plus the uninstaller; the uninstaller deletes every one of
them and removes every folder; the program and library it takes are built for its target; the
installer itself is a program of that target. Both installers install the same files.

The second folder is the other build's (the x86 installer, which cannot run here): when it has
no installer, the own one is checked and the test reports itself skipped (exit 77).
"""
import glob
import os
import re
import struct
import sys

MACHINES = {"x64": 0x8664, "x86": 0x14C}
TARGETS = {"x64": "amd64-unicode", "x86": "x86-unicode"}
failures = []


def fail(text):
    failures.append(text)
    if len(failures) <= 30:
        print("FAIL", text)


def pe_machine(path):
    with open(path, "rb") as f:
        head = f.read(4096)
    if head[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", head, 0x3C)[0]
    with open(path, "rb") as f:
        f.seek(offset)
        sig = f.read(6)
    return struct.unpack_from("<H", sig, 4)[0] if sig[:4] == b"PE\0\0" else None


def read_log(path):
    """(target, installed destinations, deleted files, removed folders) from makensis's log."""
    target, installed, deleted, removed = None, set(), set(), set()
    outpath, uninstall = None, False
    for line in open(path, encoding="utf-8", errors="replace"):
        line = line.rstrip("\n")
        m = re.match(r'Target: (\S+)', line)
        if m:
            target = m.group(1)
        if line.startswith('Section: "Uninstall"'):
            uninstall = True
        elif line.startswith("Section: "):
            uninstall = False
        m = re.match(r'SetOutPath: "(.*)"$', line)
        if m:
            outpath = m.group(1)
        # "[compress] packed/size bytes", or "size bytes" with solid compression.
        m = re.match(r'File: "([^"]*)"(?:->"([^"]*)")? (?:\[|\d)', line)
        if m and not uninstall:
            name = m.group(2) or m.group(1)
            full = name if name.startswith("$") else outpath + "\\" + name
            if not full.startswith("$PLUGINSDIR"):
                installed.add(full)
        m = re.match(r'WriteUninstaller: "(.*)"', line)
        if m:
            installed.add(m.group(1))
        m = re.match(r'Delete: (?:/\S+ )?"(.*)"$', line)
        if m and uninstall:
            deleted.add(m.group(1))
        m = re.match(r'RMDir: (?:/\S+ )?"(.*)"$', line)
        if m and uninstall:
            removed.add(m.group(1))
    return target, installed, deleted, removed


def read_listing(path):
    rows = []
    for line in open(path, encoding="utf-8"):
        destination, size, source = line.rstrip("\n").split("\t")
        rows.append((destination, int(size), source))
    return rows


def check(folder):
    """Checks one installer folder; returns its installed destinations (without $INSTDIR)."""
    setups = glob.glob(os.path.join(folder, "Metaview-*-setup.exe"))
    if len(setups) != 1:
        fail(f"{folder}: {len(setups)} installers")
        return set()
    setup = setups[0]
    m = re.match(r"Metaview-(\d+\.\d\d\.\d{4})-(x64|x86)-setup\.exe$", os.path.basename(setup))
    if not m:
        fail(f"{setup}: not named Metaview-<version>-<x64|x86>-setup.exe")
        return set()
    arch = m.group(2)
    print(f"{os.path.basename(setup)}: {os.path.getsize(setup):,} bytes")
    if pe_machine(setup) != MACHINES[arch]:
        fail(f"{setup} is no {arch} program (machine {pe_machine(setup)})")

    target, installed, deleted, removed = read_log(os.path.join(folder, "makensis.log"))
    if target != TARGETS[arch]:
        fail(f"{arch} installer made for target {target}")
    listing = read_listing(os.path.join(folder, "files.txt"))
    listed = {"$INSTDIR\\" + d for d, _, _ in listing} | {"$INSTDIR\\Uninstall.exe"}
    for name in sorted(listed - installed):
        fail(f"{arch}: listed but not installed: {name}")
    for name in sorted(installed - listed):
        fail(f"{arch}: installed but not listed: {name}")
    for name in sorted(installed - deleted):
        fail(f"{arch}: installed but never deleted: {name}")
    folders = {os.path.dirname(d.replace("\\", "/")) for d, _, _ in listing} - {""}
    for f in list(folders):
        while "/" in f:
            f = f.rsplit("/", 1)[0]
            folders.add(f)
    for f in sorted(folders):
        if "$INSTDIR\\" + f.replace("/", "\\") not in removed:
            fail(f"{arch}: folder never removed: {f}")
    if "$INSTDIR" not in removed:
        fail(f"{arch}: the install folder is never removed")

    sources = {d: s for d, _, s in listing}
    for name in ("Metaview.exe", "Basekit0308.dll"):
        if name not in sources:
            fail(f"{arch}: {name} not in the installer")
        elif pe_machine(sources[name]) != MACHINES[arch]:
            fail(f"{arch}: {name} from {sources[name]} is not built for {arch}")
    for name in ("Basekit0308.tlb", "exiftool.exe", "exiftool_files\\exiftool.pl", "ExifTool-LICENSE.txt",
                 "Metaview.html"):
        if name not in sources:
            fail(f"{arch}: {name} not in the installer")
    print(f"{arch}: {len(listing)} files listed, installed and removed; target {target}")
    return {d for d, _, _ in listing}


def main(argv):
    own = check(argv[1])
    other_folder = argv[2] if len(argv) > 2 else None
    if other_folder and glob.glob(os.path.join(other_folder, "Metaview-*-setup.exe")):
        other = check(other_folder)
        if own != other:
            fail(f"the installers differ in {sorted(own ^ other)[:20]}")
    elif not failures:
        print(f"SKIP: no installer in {other_folder} (build the other preset first)")
        return 77
    print(f"failures={len(failures)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
