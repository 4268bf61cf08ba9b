#!/usr/bin/python3
"""Checks that what an install puts in place agrees with itself and with the program:
the metainfo's version and <binary>, the desktop entry's Exec, Icon and Terminal, and
the manual page's KEYS against the shortcuts the program lists."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print(f"FAIL: {message}")


def desktop_entry(path):
    entry = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, sep, value = line.rstrip("\n").partition("=")
            if sep and not key.startswith("#"):
                entry[key] = value
    return entry


def program_shortcuts(program):
    """The Ctrl+<letter> and Escape keys the program's --help lists, from the window's one list of keys."""
    text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True).stdout
    return set(re.findall(r"\bCtrl\+[A-Z]\b|\bEscape\b", text.partition("Keys:")[2]))


def manual_keys(page):
    """The Ctrl+<letter> and Escape keys the KEYS section names (arrows, Tab and the like are not menu keys)."""
    with open(page, encoding="utf-8") as f:
        text = f.read()
    section = re.search(r"^\.SH KEYS\n(.*?)^\.SH ", text, re.S | re.M)
    if not section:
        return None
    return set(re.findall(r"\bCtrl\+[A-Z]\b|\bEscape\b", section.group(1)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", required=True, help="a configured and built tree")
    parser.add_argument("--source", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as stage:
        # Exactly what cmake --install does, into a throwaway root.
        env = dict(os.environ, DESTDIR=stage)
        subprocess.run(["cmake", "--install", args.build, "--prefix", "/usr"], env=env, check=True,
                       stdout=subprocess.DEVNULL)
        root = os.path.join(stage, "usr")
        installed = {os.path.relpath(os.path.join(d, f), root)
                     for d, _, files in os.walk(root) for f in files}
        programs = sorted(p for p in installed if os.access(os.path.join(root, p), os.X_OK)
                          and not p.startswith("share/"))
        check(len(programs) == 1, f"one program installed, not {programs}")
        program = os.path.basename(programs[0]) if programs else None

        metainfo = ElementTree.parse(os.path.join(root, f"share/metainfo/{args.app_id}.metainfo.xml"))
        versions = [r.get("version") for r in metainfo.iterfind("releases/release")]
        check(versions[:1] == [args.version], f"the newest metainfo release is {versions[:1]}, not {args.version}")
        binaries = [b.text for b in metainfo.iterfind("provides/binary")]
        check(binaries == [program], f"the metainfo provides {binaries}, the install has {program}")
        check(metainfo.find("url") is None and metainfo.find("screenshots") is None,
              "the metainfo points to a web address, and the project has none")

        entry = desktop_entry(os.path.join(root, f"share/applications/{args.app_id}.desktop"))
        exec_words = entry.get("Exec", "").split()
        check(exec_words[:1] == [program], f"Exec={entry.get('Exec')} does not start {program}")
        icon = entry.get("Icon")
        icons = [p for p in installed if p.startswith("share/icons/hicolor/")
                 and os.path.splitext(os.path.basename(p))[0] == icon]
        check(len(icons) >= 2, f"Icon={icon} names no installed icon")
        check(entry.get("Terminal") == "false", f"Terminal={entry.get('Terminal')}, not false")

    # The page as configured in the build tree, against the keys the built program lists.
    keys = manual_keys(os.path.join(args.build, "dist/zarquel.6"))
    shortcuts = program_shortcuts(os.path.join(args.build, "qt/zarquel"))
    check(len(shortcuts) >= 2, f"found only {sorted(shortcuts)} in zarquel --help")
    check(keys == shortcuts, f"the manual's KEYS name {sorted(keys or [])}, the program sets {sorted(shortcuts)}")

    if failures:
        return 1
    print(f"{program}: metainfo {args.version}, Exec, Icon={icon}, Terminal=false and "
          f"{len(shortcuts)} keys all agree")
    return 0


if __name__ == "__main__":
    sys.exit(main())
