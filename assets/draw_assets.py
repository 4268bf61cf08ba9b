# Draws Zarquel's title banner and application icons from the polygons below.
import io
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

# ---------------------------------------------------------------- banner

# Glyphs on a grid 20 units tall: (width, shapes); a shape is an outline
# followed by its holes. Shapes of one glyph are unioned.
GLYPHS = {
    "Z": (10, [[[(0, 0), (10, 0), (10, 3.5), (4.6, 16.5), (10, 16.5), (10, 20),
                 (0, 20), (0, 16.5), (5.4, 3.5), (0, 3.5)]]]),
    "A": (10, [[[(0, 20), (0, 3), (3, 0), (7, 0), (10, 3), (10, 20), (6, 20),
                 (6, 13), (4, 13), (4, 20)],
                [(4, 3.5), (6, 3.5), (6, 9.5), (4, 9.5)]]]),
    "R": (10, [[[(0, 0), (7.5, 0), (10, 2.5), (10, 8.5), (8.5, 10.25), (10, 12),
                 (10, 20), (6, 20), (6, 13.5), (4, 13.5), (4, 20), (0, 20)],
                [(4, 3.5), (6, 3.5), (6, 10), (4, 10)]]]),
    "Q": (10, [[[(3, 0), (7, 0), (10, 3), (10, 17), (7, 20), (3, 20), (0, 17),
                 (0, 3)],
                [(4, 3.5), (6, 3.5), (6, 16.5), (4, 16.5)]],
               [[(4.6, 14.2), (7, 12.4), (11.6, 19.4), (9.2, 21.4)]]]),
    "U": (10, [[[(0, 0), (4, 0), (4, 16.5), (6, 16.5), (6, 0), (10, 0), (10, 17),
                 (7, 20), (3, 20), (0, 17)]]]),
    "E": (9, [[[(0, 0), (9, 0), (9, 3.5), (4, 3.5), (4, 8.25), (8, 8.25),
                (8, 11.75), (4, 11.75), (4, 16.5), (9, 16.5), (9, 20), (0, 20)]]]),
    "L": (9, [[[(0, 0), (4, 0), (4, 16.5), (9, 16.5), (9, 20), (0, 20)]]]),
    "!": (4, [[[(0, 0), (4, 0), (3.4, 13.5), (0.6, 13.5)]],
              [[(0, 16.5), (4, 16.5), (4, 20), (0, 20)]]]),
}

BANNER_SIZE = (162, 124)
# (text, top, letter height, letter gap, extrusion depth) in 1x pixels.
BANNER_LINES = [("ZAR", 2, 36, 3, 3), ("QUEL!", 45, 68, 3, 5)]
BANNER_MARGIN = 2

WHITE = (0xFF, 0xFF, 0xFF)
YELLOW, YELLOW_SHADE = (0xFF, 0xFF, 0x00), (0xFF, 0xDE, 0x00)
RED, RED_UNDER, RED_SLANT = (0xEF, 0x00, 0x00), (0xDE, 0x00, 0x08), (0xCE, 0x10, 0x10)
# White first: it is the transparent entry. The rest only pad to 16 entries.
BANNER_PALETTE = [WHITE, YELLOW, YELLOW_SHADE, RED, RED_UNDER, RED_SLANT,
                  (0, 0, 0), (0x80, 0, 0), (0x80, 0x80, 0), (0, 0x80, 0),
                  (0, 0, 0x80), (0x80, 0, 0x80), (0, 0x80, 0x80),
                  (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0, 0xFF, 0)]


def signed_area(pts):
    return sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1)
               in zip(pts, pts[1:] + pts[:1])) / 2


def outward_edges(shape):
    """Yields (a, b, nx, ny): each edge with its unit normal pointing away from ink."""
    for i, contour in enumerate(shape):
        # Positive area (clockwise with y down) puts the outside on (dy, -dx);
        # holes have ink on the other side.
        flip = (signed_area(contour) > 0) != (i == 0)
        for a, b in zip(contour, contour[1:] + contour[:1]):
            dx, dy = b[0] - a[0], b[1] - a[1]
            length = (dx * dx + dy * dy) ** 0.5
            nx, ny = dy / length, -dx / length
            yield (a, b, -nx, -ny) if flip else (a, b, nx, ny)


def shape_mask(size, shape):
    mask = Image.new("1", size, 0)
    for contour in shape:
        layer = Image.new("1", size, 0)
        ImageDraw.Draw(layer).polygon(contour, fill=1)
        mask = ImageChops.logical_xor(mask, layer)
    return mask


def shifted(mask, dx, dy):
    out = Image.new(mask.mode, mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def layout_banner(scale):
    """Places every glyph; returns (shapes in pixels, extrusion depth) per letter."""
    width = BANNER_SIZE[0] - 2 * BANNER_MARGIN
    placed = []
    for text, top, height, gap, depth in BANNER_LINES:
        uy = height / 20
        units = sum(GLYPHS[c][0] for c in text)
        # The long line is stretched to the banner's width; the short one is centred.
        ux = uy * 1.4 if len(text) < 4 else (width - depth - gap * (len(text) - 1)) / units
        line_w = units * ux + gap * (len(text) - 1) + depth
        x = BANNER_MARGIN + (width - line_w) / 2 + depth
        for c in text:
            w, shapes = GLYPHS[c]
            px = [[[((x + gx * ux) * scale, (top + gy * uy) * scale) for gx, gy in contour]
                   for contour in shape] for shape in shapes]
            placed.append((px, depth * scale))
            x += w * ux + gap
    return placed


def draw_banner(scale):
    size = (BANNER_SIZE[0] * scale, BANNER_SIZE[1] * scale)
    img = Image.new("P", size, 0)
    img.putpalette([v for rgb in BANNER_PALETTE for v in rgb])
    draw = ImageDraw.Draw(img)
    ink = lambda rgb: BANNER_PALETTE.index(rgb)
    letters = layout_banner(scale)
    # Every letter's side walls go first so a neighbour's face stays in front.
    for shapes, depth in letters:
        for shape in shapes:
            for a, b, nx, ny in outward_edges(shape):
                if ny - nx <= 0.01:  # wall faces away from the viewer
                    continue
                # Each wall direction gets its own tone so the solid reads as 3-D.
                colour = RED if nx < -0.92 else RED_UNDER if ny > 0.92 else RED_SLANT
                draw.polygon([a, b, (b[0] - depth, b[1] + depth),
                              (a[0] - depth, a[1] + depth)], fill=ink(colour))
    bevel = max(1, scale)
    for shapes, _ in letters:
        face = Image.new("1", size, 0)
        for shape in shapes:
            face = ImageChops.logical_or(face, shape_mask(size, shape))
        # A strip along the lower-left rims reads as the face bending into the wall.
        rim = ImageChops.logical_and(face, ImageChops.invert(shifted(face, bevel, -bevel)))
        img.paste(ink(YELLOW), mask=face)
        img.paste(ink(YELLOW_SHADE), mask=rim)
    return img


def save_gif(img, path):
    img.save(path, "GIF", interlace=True, optimize=False,
             transparency=BANNER_PALETTE.index(WHITE))


def save_bmp(img, path):
    # The same pixels for the Windows window, which keys out white as it draws.
    img.save(path, "BMP")


# ---------------------------------------------------------------- icon

# The bolt in a unit square, from the top right down to the tip at bottom left.
BOLT = [(0.44, 0.0), (0.90, 0.0), (0.60, 0.36), (0.86, 0.36), (0.12, 1.0),
        (0.36, 0.56), (0.10, 0.56)]
BLACK = (0, 0, 0)
OLIVE, OLIVE_DARK = (0x80, 0x80, 0x00), (0x5A, 0x5A, 0x00)
# Index 0 is see-through; index 1 is the opaque black of the outline.
ICON_PALETTE = [BLACK, BLACK, YELLOW, OLIVE, OLIVE_DARK] + [BLACK] * 11
ICON_SIZES = (16, 32, 48, 64, 128, 256)
# What a web app manifest asks for: a home-screen icon and a splash-screen one.
WEB_ICON_SIZES = (192, 512)


def bolt_geometry(size):
    """Bolt outline, side walls and outline width, in pixels of a size x size icon."""
    line = max(1, round(size / 32))
    # At 16 pixels a wall would fill the notches; draw_icon_crisp shades a rim.
    depth = round(size / 20) if size > 16 else 0
    lo = line + 0.5 if size <= 32 else line * 1.5
    span = size - 2 * lo - depth
    pts = [(lo + x * span, lo + y * span) for x, y in BOLT]
    walls = []
    # Lit from the upper left: walls show to the lower right of the bolt.
    for a, b, nx, ny in outward_edges([pts]):
        if nx + ny <= 0.01 or not depth:
            continue
        colour = OLIVE if ny > abs(nx) else OLIVE_DARK
        walls.append(([a, b, (b[0] + depth, b[1] + depth), (a[0] + depth, a[1] + depth)],
                      colour))
    return pts, walls, line


def draw_icon_crisp(size):
    """Small icons: hard pixels in ICON_PALETTE, outline one pixel outside the ink."""
    pts, walls, _ = bolt_geometry(size)
    img = Image.new("P", (size, size), 0)
    img.putpalette([v for rgb in ICON_PALETTE for v in rgb])
    draw = ImageDraw.Draw(img)
    for quad, colour in walls:
        draw.polygon(quad, fill=ICON_PALETTE.index(colour))
    draw.polygon(pts, fill=ICON_PALETTE.index(YELLOW))
    ink = img.point(lambda i: 255 if i else 0).convert("L")
    if not walls:
        inner = ImageChops.darker(shifted(ink, -1, 0), shifted(ink, 0, -1))
        img.paste(ICON_PALETTE.index(OLIVE), mask=ImageChops.subtract(ink, inner))
    grown = ink.filter(ImageFilter.MaxFilter(3))
    img.paste(1, mask=ImageChops.subtract(grown, ink))
    return img


def draw_icon_smooth(size, ss=4):
    """Large icons: drawn ss times over and averaged down for smooth edges."""
    pts, walls, line = bolt_geometry(size)
    big = lambda poly: [(x * ss, y * ss) for x, y in poly]
    img = Image.new("RGBA", (size * ss, size * ss), (0, 0, 0, 0))
    draw = ImageDraw.Draw(img)
    r = line * ss
    # A wide black stroke under everything leaves an outline round the union.
    for poly in [pts] + [q for q, _ in walls]:
        poly = big(poly)
        for a, b in zip(poly, poly[1:] + poly[:1]):
            draw.line([a, b], fill=BLACK + (255,), width=2 * r)
            draw.ellipse([a[0] - r, a[1] - r, a[0] + r, a[1] + r], fill=BLACK + (255,))
    for quad, colour in walls:
        draw.polygon(big(quad), fill=colour + (255,))
    draw.polygon(big(pts), fill=YELLOW + (255,))
    return img.resize((size, size), Image.BOX)


def icon_svg():
    pts, walls, line = bolt_geometry(256)
    fmt = lambda poly: " ".join("%g,%g" % (round(x, 2), round(y, 2)) for x, y in poly)
    hexc = lambda rgb: "#%02x%02x%02x" % rgb
    shapes = [(pts, YELLOW)] + [(q, c) for q, c in walls]
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
           'viewBox="0 0 256 256">',
           '<g fill="#000000" stroke="#000000" stroke-width="%d" '
           'stroke-linejoin="round">' % (2 * line)]
    out += ['<polygon points="%s"/>' % fmt(p) for p, _ in shapes]
    out.append('</g>')
    # Walls then face, the same order as the bitmaps.
    out += ['<polygon points="%s" fill="%s"/>' % (fmt(p), hexc(c))
            for p, c in shapes[1:] + shapes[:1]]
    out.append('</svg>')
    return "\n".join(out) + "\n"


def ico_bytes(images):
    """A .ico of 4-bit bitmaps with AND masks; images are 16-colour 'P' images."""
    blobs = []
    for img in images:
        w, h = img.size
        px = img.load()
        header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 4, 0, 0, 0, 0, 16, 0)
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in ICON_PALETTE)
        xor_rows, and_rows = [], []
        for y in reversed(range(h)):  # bitmaps are stored bottom row first
            idx = [px[x, y] for x in range(w)]
            row = bytes((idx[x] << 4) | idx[x + 1] for x in range(0, w, 2))
            xor_rows.append(row + b"\0" * (-len(row) % 4))
            bits = 0
            for x in range(w):
                bits = (bits << 1) | (idx[x] == 0)
            row = bits.to_bytes(w // 8, "big")
            and_rows.append(row + b"\0" * (-len(row) % 4))
        blobs.append((w, h, header + palette + b"".join(xor_rows) + b"".join(and_rows)))
    out = struct.pack("<HHH", 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for w, h, blob in blobs:
        out += struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blob for _, _, blob in blobs)


# Sizes for dense screens, after the two designed images: 32-bit with alpha, the largest PNG-compressed.
ICO_ALPHA_SIZES = (24, 48, 256)


def ico_alpha_image(img):
    """One RGBA image as an icon image: (directory entry, bytes)."""
    w, h = img.size
    if w >= 256:
        png = io.BytesIO()
        img.save(png, "PNG", optimize=False)
        blob = png.getvalue()
    else:
        px = img.load()
        header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, 0, 0, 0, 0, 0)
        rows = [bytes(v for x in range(w) for v in (px[x, y][2], px[x, y][1], px[x, y][0], px[x, y][3]))
                for y in reversed(range(h))]
        mask = []
        for y in reversed(range(h)):
            bits = 0
            for x in range(w):
                bits = (bits << 1) | (px[x, y][3] == 0)
            row = bits.to_bytes((w + 7) // 8, "big")
            mask.append(row + b"\0" * (-len(row) % 4))
        blob = header + b"".join(rows) + b"".join(mask)
    return struct.pack("<BBBBHHI", w % 256, h % 256, 0, 0, 1, 32, len(blob)), blob


def ico_with_alpha_sizes(designed):
    """The designed .ico with ICO_ALPHA_SIZES appended, the designed images first."""
    count = struct.unpack_from("<H", designed, 4)[0]
    entries = [designed[6 + 16 * i:18 + 16 * i] for i in range(count)]
    blobs = [designed[o:o + n] for n, o in (struct.unpack_from("<II", designed, 14 + 16 * i)
                                            for i in range(count))]
    for size in ICO_ALPHA_SIZES:
        entry, blob = ico_alpha_image(draw_icon_smooth(size))
        entries.append(entry)
        blobs.append(blob)
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for entry, blob in zip(entries, blobs):
        out += entry + struct.pack("<I", offset)
        offset += len(blob)
    return out + b"".join(blobs)




def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    path = lambda name: os.path.join(outdir, name)
    for scale, name in ((1, "banner"), (2, "banner@2x")):
        banner = draw_banner(scale)
        save_gif(banner, path(name + ".gif"))
        save_bmp(banner, path(name + ".bmp"))
    crisp = {}
    for size in ICON_SIZES:
        if size <= 32:
            crisp[size] = draw_icon_crisp(size)
            crisp[size].save(path("icon-%d.png" % size), transparency=0, optimize=False)
        else:
            draw_icon_smooth(size).save(path("icon-%d.png" % size), optimize=False)
    for size in WEB_ICON_SIZES:
        draw_icon_smooth(size).save(path("icon-%d.png" % size), optimize=False)
    with open(path("icon.ico"), "wb") as f:
        f.write(ico_with_alpha_sizes(ico_bytes([crisp[32], crisp[16]])))
    with open(path("icon.svg"), "w", newline="\n") as f:
        f.write(icon_svg())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
