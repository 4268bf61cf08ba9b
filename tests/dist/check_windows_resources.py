#!/usr/bin/python3
"""Compiles zarquel.rc with the MinGW resource compiler and reads the result back field by field."""
import argparse
import pathlib
import struct
import subprocess
import sys

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16


def read_id(data, pos):
    """A resource type or name: 0xFFFF then a number, or a NUL-ended UTF-16 string."""
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def align4(pos):
    return (pos + 3) & ~3


def read_res(data):
    """Every resource in a .res file as {(type, name): bytes}; the first entry is the empty marker."""
    resources = {}
    pos = 0
    while pos < len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        rtype, after = read_id(data, pos + 8)
        name, after = read_id(data, after)
        body = data[pos + header_size:pos + header_size + data_size]
        if data_size:
            if (rtype, name) in resources:
                raise AssertionError(f"resource {rtype}/{name} appears twice")
            resources[(rtype, name)] = body
        pos = align4(pos + header_size + data_size)
    return resources


def read_ico(path):
    """The images of an .ico file, each as (16-byte directory entry, image bytes)."""
    data = path.read_bytes()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), f"{path} is not an icon file"
    images = []
    for i in range(count):
        entry = data[6 + 16 * i:6 + 16 * (i + 1)]
        size, offset = struct.unpack_from("<II", entry, 8)
        images.append((entry, data[offset:offset + size]))
    return images


def read_version_node(data, pos):
    """One node of the version tree: (key, value, children), and where the next node starts."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_end = pos + 6
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[pos + 6:key_end].decode("utf-16-le")
    value_pos = align4(key_end + 2)
    if is_text:
        # The length counts UTF-16 units, the terminating NUL included.
        value = data[value_pos:value_pos + 2 * value_length].decode("utf-16-le").rstrip("\0")
        value_end = value_pos + 2 * value_length
    else:
        value = data[value_pos:value_pos + value_length]
        value_end = value_pos + value_length
    children = []
    child = align4(value_end)
    while child < end:
        node, child = read_version_node(data, child)
        children.append(node)
    return (key, value, children), align4(end)


def check(condition, message, failures):
    if not condition:
        failures.append(message)


# The two designed 16-colour images first, then the sizes dense screens need, with alpha.
ICON_ORDER = [(32, 4), (16, 4), (24, 32), (48, 32), (256, 32)]
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def check_icon_order(images, failures):
    """images: (size, bits per pixel, image bytes) in the order the icon lists them."""
    order = [(size, bits) for size, bits, _ in images]
    check(order == ICON_ORDER, f"icon images (size, bits) {order}, expected {ICON_ORDER}", failures)
    for size, _, image in images:
        # Only the largest is PNG-compressed: older Windows read the rest as bitmaps.
        png = image.startswith(PNG_SIGNATURE)
        check(png == (size == 256), f"the {size} image is {'' if png else 'not '}PNG-compressed", failures)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--windres", required=True)
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--rc", required=True, type=pathlib.Path)
    parser.add_argument("--ico", required=True, type=pathlib.Path)
    parser.add_argument("--workdir", required=True, type=pathlib.Path)
    parser.add_argument("--version", required=True, help="the version the player sees, e.g. 1.00")
    parser.add_argument("--numeric-version", required=True, help="four numbers, e.g. 1.0.0.0")
    args = parser.parse_args()

    args.workdir.mkdir(parents=True, exist_ok=True)
    res = args.workdir / "zarquel.res"
    obj = args.workdir / "zarquel_rc.o"
    # No MinGW C compiler is needed: the host's preprocessor reads the script just as well.
    windres = [args.windres, "--preprocessor=cpp", "-i", str(args.rc)]
    subprocess.run(windres + ["-O", "res", "-o", str(res)], check=True)
    subprocess.run(windres + ["-O", "coff", "-o", str(obj)], check=True)

    failures = []
    sections = subprocess.run([args.objdump, "-h", str(obj)], check=True, capture_output=True, text=True).stdout
    check("pe-x86-64" in sections, "the object file is not for 64-bit Windows", failures)
    check(".rsrc" in sections, "the object file has no .rsrc section to link into zarquel.exe", failures)

    resources = read_res(res.read_bytes())

    # The icon: every image of the .ico, byte for byte, and a group that lists them in order.
    images = read_ico(args.ico)
    icons = {name: body for (rtype, name), body in resources.items() if rtype == RT_ICON}
    check(len(icons) == len(images), f"{len(icons)} icon images compiled, the .ico holds {len(images)}", failures)
    groups = [body for (rtype, _), body in resources.items() if rtype == RT_GROUP_ICON]
    check(len(groups) == 1, f"expected one icon group, found {len(groups)}", failures)
    if len(groups) == 1:
        group = groups[0]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        check((reserved, kind, count) == (0, 1, len(images)), f"icon group header {reserved, kind, count}", failures)
        for i, (entry, image) in enumerate(images):
            member = group[6 + 14 * i:6 + 14 * (i + 1)]
            (icon_id,) = struct.unpack_from("<H", member, 12)
            check(member[:12] == entry[:12], f"icon group entry {i} does not describe image {i}", failures)
            check(icons.get(icon_id) == image, f"icon image {i} is not the .ico's image {i}", failures)
    check_icon_order([(entry[0] or 256, struct.unpack_from("<H", entry, 6)[0], image) for entry, image in images],
                     failures)

    # The version: fixed numbers and the strings Explorer shows.
    versions = [body for (rtype, _), body in resources.items() if rtype == RT_VERSION]
    check(len(versions) == 1, f"expected one version resource, found {len(versions)}", failures)
    if len(versions) == 1:
        (key, fixed, children), _ = read_version_node(versions[0], 0)
        check(key == "VS_VERSION_INFO", f"version root is {key!r}", failures)
        signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed, 0)
        file_flags, file_os, file_type = struct.unpack_from("<III", fixed, 28)
        check(signature == 0xFEEF04BD, "fixed file info has the wrong signature", failures)
        numbers = [int(n) for n in args.numeric_version.split(".")]
        packed = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
        check((file_ms, file_ls) == packed, f"file version {file_ms:#x},{file_ls:#x}", failures)
        check((product_ms, product_ls) == packed, f"product version {product_ms:#x},{product_ls:#x}", failures)
        check(file_flags == 0, f"file flags {file_flags:#x}: a release is no debug, pre-release or patched build", failures)
        check(file_os == 0x40004, f"file OS {file_os:#x} is not Windows NT", failures)
        check(file_type == 1, f"file type {file_type} is not an application", failures)

        blocks = {child[0]: child for child in children}
        tables = blocks.get("StringFileInfo", ("", b"", []))[2]
        check(len(tables) == 1, f"expected one string table, found {len(tables)}", failures)
        strings = {name: value for name, value, _ in tables[0][2]} if tables else {}
        expected = {
            "CompanyName": "Zarquel developers",
            "FileDescription": "Zarquel puzzle game",
            "FileVersion": args.version,
            "InternalName": "Zarquel",
            "LegalCopyright": "Copyright 2026 the Zarquel developers",
            "OriginalFilename": "zarquel.exe",
            "ProductName": "Zarquel",
            "ProductVersion": args.version,
        }
        check(strings == expected, f"version strings {strings}", failures)

        # Explorer shows the strings only if the table's language and code page are the translation's.
        translations = blocks.get("VarFileInfo", ("", b"", []))[2]
        if tables and translations:
            language, codepage = struct.unpack_from("<HH", translations[0][1], 0)
            check(tables[0][0].upper() == f"{language:04X}{codepage:04X}",
                  f"string table {tables[0][0]} does not match translation {language:#x},{codepage}", failures)
        else:
            failures.append("no translation block")

    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{args.rc.name}: {len(icons)} icon images in one group, version {args.version} "
              f"({args.numeric_version}), {len(strings)} version strings")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
