#!/usr/bin/env python3
"""Writes the installer's file lists from what it installs.

    file_lists.py INSTALL_NSH UNINSTALL_NSH LISTING ENTRY...

Each ENTRY is SOURCE=DESTINATION, DESTINATION relative to the install folder with backslashes
(an empty one is the install folder itself). A SOURCE folder is taken whole, with every file
below it, in a stable order; a SOURCE file may be installed under another name.

  INSTALL_NSH    SetOutPath and File commands, for the installer's section
  UNINSTALL_NSH  a Delete command per file, then an RMDir per folder below the install folder,
                 deepest first (RMDir without /r: a folder that holds anything else stays)
  LISTING        one line per file, DESTINATION<TAB>SIZE<TAB>SOURCE: what the tests compare
                 with the installed folder and with makensis's log

Every output is written only when its text changes, so the installer is not compressed again
for nothing. Fails (exit 1) on a destination that Windows cannot hold or that two sources share
(names differing only in case are the same file there).
"""
import os
import sys

# Characters that Windows file names cannot hold (besides control characters).
FORBIDDEN = set('<>:"/\\|?*')
RESERVED = {"CON", "PRN", "AUX", "NUL"} | {f"COM{i}" for i in range(1, 10)} | {f"LPT{i}" for i in range(1, 10)}


class ListError(Exception):
    pass


def check_name(part, where):
    if not part or part in (".", ".."):
        raise ListError(f"empty or relative name in {where!r}")
    if any(c in FORBIDDEN or ord(c) < 32 for c in part):
        raise ListError(f"a character Windows file names cannot hold in {where!r}")
    if part[-1] in ". ":
        raise ListError(f"a name ending in a dot or blank in {where!r}")
    if part.split(".")[0].upper() in RESERVED:
        raise ListError(f"a reserved device name in {where!r}")


def nsis_string(text):
    """Text inside an NSIS double-quoted string: $ and " escaped."""
    return text.replace("$", "$$").replace('"', '$\\"')


def collect(entries):
    """(destination, source) pairs, files only, in install order."""
    pairs = []
    for entry in entries:
        source, sep, destination = entry.partition("=")
        if not sep or not source:
            raise ListError(f"entry {entry!r} is not SOURCE=DESTINATION")
        destination = destination.strip("\\")
        if os.path.isdir(source):
            found = []
            for folder, dirs, files in os.walk(source):
                dirs.sort()
                relative = os.path.relpath(folder, source)
                for name in sorted(files):
                    parts = [] if relative == "." else relative.split(os.sep)
                    found.append(("\\".join(filter(None, [destination] + parts + [name])), os.path.join(folder, name)))
            if not found:
                raise ListError(f"folder {source!r} holds no files")
            pairs.extend(found)
        elif os.path.isfile(source):
            if not destination:
                raise ListError(f"file {source!r} has no destination name")
            pairs.append((destination, source))
        else:
            raise ListError(f"{source!r} does not exist")
    seen = {}
    for destination, source in pairs:
        for part in destination.split("\\"):
            check_name(part, destination)
        key = destination.lower()
        if key in seen:
            raise ListError(f"{destination!r} comes from both {seen[key]!r} and {source!r}")
        seen[key] = source
    return pairs


def folder_of(destination):
    return destination.rpartition("\\")[0]


def install_text(pairs):
    lines, current = [], None
    for destination, source in pairs:
        folder = folder_of(destination)
        if folder != current:
            lines.append(f'SetOutPath "$INSTDIR{nsis_string(chr(92) + folder if folder else "")}"')
            current = folder
        name = destination.rpartition("\\")[2]
        if name == os.path.basename(source):
            lines.append(f'File "{nsis_string(os.path.abspath(source))}"')
        else:
            lines.append(f'File "/oname={nsis_string(name)}" "{nsis_string(os.path.abspath(source))}"')
    lines.append('SetOutPath "$INSTDIR"')
    return "\n".join(lines) + "\n"


def uninstall_text(pairs):
    lines = [f'Delete "$INSTDIR\\{nsis_string(destination)}"' for destination, _ in pairs]
    folders = set()
    for destination, _ in pairs:
        folder = folder_of(destination)
        while folder:
            folders.add(folder)
            folder = folder_of(folder)
    # Deepest first, so that a folder is empty by the time its turn comes.
    for folder in sorted(folders, key=lambda f: (-f.count("\\"), f.lower())):
        lines.append(f'RMDir "$INSTDIR\\{nsis_string(folder)}"')
    return "\n".join(lines) + "\n"


def listing_text(pairs):
    return "".join(f"{d}\t{os.path.getsize(s)}\t{os.path.abspath(s)}\n" for d, s in pairs)


def write_if_changed(path, text):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def main(argv):
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    install_nsh, uninstall_nsh, listing = argv[1:4]
    try:
        pairs = collect(argv[4:])
    except ListError as e:
        print(f"file_lists.py: {e}", file=sys.stderr)
        return 1
    write_if_changed(install_nsh, install_text(pairs))
    write_if_changed(uninstall_nsh, uninstall_text(pairs))
    write_if_changed(listing, listing_text(pairs))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
