#!/usr/bin/python3
"""Reads an XWD picture of the Zarquel window and says whether a board of red and green squares is drawn."""
import argparse
import struct
import sys

# Twenty-five squares of at least 30 x 30 pixels each in pure red or pure green.
BOARD_PIXELS = 25 * 30 * 30


def count_board_pixels(path):
    with open(path, "rb") as f:
        data = f.read()
    header = struct.unpack(">25I", data[:100])
    (header_size, _version, pixmap_format, depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask,
     blue_mask, _bits_rgb, _entries, ncolors) = header[:20]
    if pixmap_format != 2 or bits_per_pixel != 32 or depth != 24:
        raise ValueError(f"expected a 24-bit ZPixmap XWD at 32 bits a pixel, not format {pixmap_format}, "
                         f"depth {depth}, {bits_per_pixel} bits")
    pixels = data[header_size + 12 * ncolors:]
    order = "<" if byte_order == 0 else ">"
    red = green = 0
    pure_red, pure_green = red_mask, green_mask
    for y in range(height):
        row = pixels[y * bytes_per_line: y * bytes_per_line + 4 * width]
        for (value,) in struct.iter_unpack(order + "I", row):
            value &= red_mask | green_mask | blue_mask
            red += value == pure_red
            green += value == pure_green
    return width, height, red, green


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("picture")
    parser.add_argument("--quiet", action="store_true")
    args = parser.parse_args()
    try:
        width, height, red, green = count_board_pixels(args.picture)
    except (OSError, ValueError, struct.error) as error:
        if not args.quiet:
            print(f"{args.picture}: {error}")
        return 1
    drawn = red + green >= BOARD_PIXELS
    if not args.quiet:
        print(f"{width} x {height} window: {red} red and {green} green pixels; "
              f"{'a board is drawn' if drawn else 'no board drawn'}")
    return 0 if drawn else 1


if __name__ == "__main__":
    sys.exit(main())
