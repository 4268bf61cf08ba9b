#!/usr/bin/python3
"""Reads zarquel.exe's PE headers, import table and resources, without running it."""
import argparse
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "dist"))
from check_windows_resources import ICON_ORDER, check_icon_order, read_version_node  # noqa: E402

MACHINES = {"x64": 0x8664, "x86": 0x14C}
RT_BITMAP, RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 2, 3, 14, 16, 24
# DLLs every Windows has; the MinGW runtime (libstdc++, libgcc, libwinpthread) must be linked in, not imported.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll", "oleaut32.dll",
               "oleacc.dll", "msimg32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll", "uxtheme.dll"}


class Pe:
    def __init__(self, data):
        self.data = data
        assert data[:2] == b"MZ", "not an MZ executable"
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "no PE signature"
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (112 if self.magic == 0x20B else 96)
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            name, vsize, vaddr, raw_size, raw_pointer = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), vaddr, max(vsize, raw_size), raw_pointer))

    def offset(self, rva):
        for _, vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raw
        raise AssertionError(f"address {rva:#x} is in no section")

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode()

    def imports(self):
        rva, _ = self.directory[1]
        names, pos = [], self.offset(rva)
        while True:
            descriptor = struct.unpack_from("<5I", self.data, pos)
            if not any(descriptor):
                return names
            names.append(self.cstring(descriptor[3]))
            pos += 20

    def resources(self):
        """Every resource as {(type, name): bytes}; names are numbers or strings, the first language of each."""
        base_rva, _ = self.directory[2]
        base = self.offset(base_rva)

        def entries(pos):
            named, numbered = struct.unpack_from("<HH", self.data, pos + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, pos + 16 + 8 * i)
                if ident & 0x80000000:
                    at = base + (ident & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    ident = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield ident, target

        found = {}
        for rtype, names in entries(base):
            for name, languages in entries(base + (names & 0x7FFFFFFF)):
                _, leaf = next(entries(base + (languages & 0x7FFFFFFF)))
                rva, size = struct.unpack_from("<II", self.data, base + leaf)
                found[(rtype, name)] = self.data[self.offset(rva):self.offset(rva) + size]
        return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True, type=pathlib.Path)
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    parser.add_argument("--version", required=True, help="the version the player sees, e.g. 1.00")
    parser.add_argument("--numeric-version", required=True, help="four numbers, e.g. 1.0.0.0")
    args = parser.parse_args()
    pe = Pe(args.exe.read_bytes())
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    check(pe.machine == MACHINES[args.arch], f"machine {pe.machine:#x}, not {args.arch}")
    check(pe.magic == (0x20B if args.arch == "x64" else 0x10B), f"optional header magic {pe.magic:#x}")
    check(pe.subsystem == 2, f"subsystem {pe.subsystem}: not a Windows GUI program")

    imports = [name.lower() for name in pe.imports()]
    check("user32.dll" in imports and "kernel32.dll" in imports, f"imports {imports}")
    for name in imports:
        check(name in SYSTEM_DLLS, f"imports {name}, which Windows does not ship")

    resources = pe.resources()
    check(sum(1 for rtype, _ in resources if rtype == RT_ICON) == len(ICON_ORDER),
          f"the icon should hold {len(ICON_ORDER)} images")
    group = [body for (rtype, _), body in resources.items() if rtype == RT_GROUP_ICON]
    check(len(group) == 1, "expected one icon group")
    if group:
        members = [group[0][6 + 14 * i:20 + 14 * i] for i in range(struct.unpack_from("<H", group[0], 4)[0])]
        check_icon_order([(member[0] or 256, struct.unpack_from("<H", member, 6)[0],
                           resources.get((RT_ICON, struct.unpack_from("<H", member, 12)[0]), b""))
                          for member in members], failures)
    check((RT_BITMAP, "BANNER") in resources and (RT_BITMAP, "BANNER2X") in resources, "banner bitmaps missing")
    manifest = resources.get((RT_MANIFEST, 1), b"").decode("utf-8", "replace")
    check("PerMonitorV2" in manifest and "true/pm" in manifest, "no per-monitor DPI-aware manifest")

    version = resources.get((RT_VERSION, 1))
    check(version is not None, "no version resource")
    if version:
        (_, fixed, children), _ = read_version_node(version, 0)
        numbers = [int(n) for n in args.numeric_version.split(".")]
        packed = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
        check(struct.unpack_from("<4I", fixed, 8) == packed * 2, "file or product version numbers")
        tables = {child[0]: child for child in children}.get("StringFileInfo", ("", b"", []))[2]
        strings = {name: value for name, value, _ in tables[0][2]} if tables else {}
        for key, value in {"FileVersion": args.version, "ProductVersion": args.version,
                           "ProductName": "Zarquel", "InternalName": "Zarquel"}.items():
            check(strings.get(key) == value, f"{key} is {strings.get(key)!r}")

    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{args.exe.name}: {args.arch} GUI, imports {', '.join(imports)}; icon, banner, manifest, "
              f"version {args.version}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
