# Checks the committed images match what assets/draw_assets.py draws, and their formats.
import os
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
ICONS = ["icon-%d.png" % s for s in (16, 32, 48, 64, 128, 256)]
ICONS += ["icon-%d.png" % s for s in (192, 512)]  # the web app manifest's
GENERATED = ["banner.gif", "banner@2x.gif", "banner.bmp", "banner@2x.bmp", "icon.svg", "icon.ico"] + ICONS
YELLOWS = {(0xFF, 0xFF, 0x00), (0xFF, 0xDE, 0x00)}
REDS = [(0xEF, 0x00, 0x00), (0xDE, 0x00, 0x08), (0xCE, 0x10, 0x10)]


def image(name, mode="RGBA"):
    with Image.open(os.path.join(ASSETS, name)) as img:
        return img.convert(mode)


def read(name):
    with open(os.path.join(ASSETS, name), "rb") as f:
        return f.read()


class CommittedAssets(unittest.TestCase):
    def test_committed_files_match_the_script(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, os.path.join(ASSETS, "draw_assets.py"), tmp],
                           check=True)
            self.assertEqual(sorted(os.listdir(tmp)), sorted(GENERATED))
            for name in GENERATED:
                with open(os.path.join(tmp, name), "rb") as f:
                    self.assertTrue(f.read() == read(name), name + " is stale: rerun the script")


class Banner(unittest.TestCase):
    def check_header(self, name, size):
        data = read(name)
        self.assertEqual(data[:6], b"GIF89a")
        self.assertEqual(struct.unpack("<HH", data[6:10]), size)
        self.assertEqual(data[10] & 0x87, 0x83, "needs a global palette of 16 entries")
        palette = [tuple(data[13 + 3 * i:16 + 3 * i]) for i in range(16)]
        self.assertEqual(len(set(palette)), 16, "a second white would be opaque")
        pos, transparent = 13 + 48, None
        while data[pos] == 0x21:  # extension blocks come before the image
            if data[pos + 1] == 0xF9 and data[pos + 3] & 1:
                transparent = data[pos + 6]
            pos += 2
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        self.assertEqual(data[pos], 0x2C)
        self.assertTrue(data[pos + 9] & 0x40, "not interlaced")
        self.assertIsNotNone(transparent, "no transparent colour")
        self.assertEqual(palette[transparent], (0xFF, 0xFF, 0xFF))

    def test_headers(self):
        self.check_header("banner.gif", (162, 124))
        self.check_header("banner@2x.gif", (324, 248))

    def test_colours_and_two_lines(self):
        for name in ("banner.gif", "banner@2x.gif"):
            img = image(name, "RGB")
            counts = {rgb: n for n, rgb in img.getcolors()}
            for rgb in YELLOWS | set(REDS):
                self.assertIn(rgb, counts, "%s lacks %02x%02x%02x" % ((name,) + rgb))
            self.assertGreater(counts[REDS[0]], max(counts[REDS[1]], counts[REDS[2]]))
            self.assertGreater(counts[(0xFF, 0xFF, 0x00)], counts[(0xFF, 0xDE, 0x00)])
            w, h = img.size
            px = img.load()
            rows = [y for y in range(h) if any(px[x, y] in YELLOWS for x in range(w))]
            gaps = [i for i in range(1, len(rows)) if rows[i] != rows[i - 1] + 1]
            self.assertEqual(len(gaps), 1, "letters should stand in two lines")
            first = rows[gaps[0] - 1] - rows[0]
            second = rows[-1] - rows[gaps[0]]
            self.assertLess(rows[0], h // 4)
            self.assertGreater(rows[-1], h * 3 // 4)
            self.assertGreater(second, 1.5 * first, "second line should be much larger")
            self.assertEqual(img.getpixel((0, 0)), (0xFF, 0xFF, 0xFF))

    def test_bitmaps_are_the_gifs_pixels(self):
        for name in ("banner", "banner@2x"):
            bmp = image(name + ".bmp", "RGB")
            self.assertEqual(read(name + ".bmp")[:2], b"BM")
            self.assertEqual(bmp.tobytes(), image(name + ".gif", "RGB").tobytes(), name)


class Icons(unittest.TestCase):
    def test_pngs(self):
        for name in ICONS:
            size = int(name[5:-4])
            img = image(name)
            self.assertEqual(img.size, (size, size))
            for corner in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
                self.assertEqual(img.getpixel(corner)[3], 0, name)
            self.assertEqual(img.getpixel((size // 2, size // 2))[3], 255, name)
            if size <= 32:
                self.assertLessEqual(len(img.getcolors(256)), 16, name)

    def test_ico_holds_the_designed_4bit_32_and_16_then_24_48_and_256_with_alpha(self):
        data = read("icon.ico")
        self.assertEqual(struct.unpack("<HHH", data[:6]), (0, 1, 5))
        # (size, colours, bits): 16-entry palette and 4-bit pixels, or 32-bit with alpha.
        for i, (size, colours, bits) in enumerate(((32, 16, 4), (16, 16, 4), (24, 0, 32), (48, 0, 32), (256, 0, 32))):
            w, h, got_colours, _, planes, got_bits, length, offset = struct.unpack(
                "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
            self.assertEqual((w or 256, h or 256, got_colours, planes, got_bits), (size, size, colours, 1, bits))
            body = data[offset:offset + length]
            if size == 256:
                self.assertEqual(body, read("icon-256.png"), "the 256 image is the PNG as drawn")
                continue
            self.assertEqual(struct.unpack("<IiiHHI", body[:20]), (40, size, 2 * size, 1, bits, 0))
            # Palette, pixels and the 1-bit mask, rows padded to 4 bytes.
            mask_row = (size // 8 + 3) // 4 * 4
            self.assertEqual(length, 40 + 4 * colours + size * size * bits // 8 + size * mask_row)
        with Image.open(os.path.join(ASSETS, "icon.ico")) as ico:
            for size in (32, 16, 48):
                got = ico.ico.getimage((size, size)).convert("RGBA")
                self.assertEqual(got.tobytes(), image("icon-%d.png" % size).tobytes(), "icon.ico %d differs" % size)
            small = ico.ico.getimage((24, 24)).convert("RGBA")
            alphas = {a for *_, a in small.getdata()}
            self.assertTrue({0, 255} <= alphas and len(alphas) > 2, "24 should have smooth edges")
            self.assertEqual(small.getpixel((12, 12)), (0xFF, 0xFF, 0x00, 255))

if __name__ == "__main__":
    unittest.main()
