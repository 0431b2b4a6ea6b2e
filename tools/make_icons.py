#!/usr/bin/env python3
"""Writes the program's .ico files from the text pixel maps in resources/icons.

Each map is one character per pixel; its "legend" lines name the colour of each character from
the standard 16-colour VGA palette, or "transparent" (set in the AND mask). With --check the
committed .ico files are compared with what the maps produce instead of being written.
Needs only the Python standard library.
"""

import argparse
import pathlib
import struct
import sys

# The standard 16-colour palette, in the index order Windows uses for 4-bit bitmaps.
VGA16 = [
    ("black", 0x000000), ("maroon", 0x800000), ("green", 0x008000), ("olive", 0x808000),
    ("navy", 0x000080), ("purple", 0x800080), ("teal", 0x008080), ("silver", 0xC0C0C0),
    ("grey", 0x808080), ("red", 0xFF0000), ("lime", 0x00FF00), ("yellow", 0xFFFF00),
    ("blue", 0x0000FF), ("fuchsia", 0xFF00FF), ("aqua", 0x00FFFF), ("white", 0xFFFFFF),
]
INDEX = {name: i for i, (name, _) in enumerate(VGA16)}
TRANSPARENT = -1

# Map name -> icon file, both in resources/icons.
ICONS = {"program.txt": "program.ico", "form.txt": "form.ico", "folder.txt": "folder.ico"}


class MapError(Exception):
    pass


def parse_map(path):
    """Returns rows of palette indices (TRANSPARENT for masked pixels)."""
    legend = {}
    rows = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        where = f"{path.name}:{number}"
        if not line.strip() or line.startswith("#"):
            continue
        if line.startswith("legend "):
            parts = line.split()
            if len(parts) != 3 or len(parts[1]) != 1:
                raise MapError(f"{where}: expected 'legend <char> <colour>'")
            char, colour = parts[1], parts[2]
            if colour != "transparent" and colour not in INDEX:
                raise MapError(f"{where}: '{colour}' is not a VGA colour")
            if char in legend:
                raise MapError(f"{where}: '{char}' is in the legend twice")
            legend[char] = TRANSPARENT if colour == "transparent" else INDEX[colour]
            continue
        unknown = sorted(set(line) - set(legend))
        if unknown:
            raise MapError(f"{where}: characters not in the legend: {''.join(unknown)}")
        rows.append([legend[c] for c in line])
    if not rows:
        raise MapError(f"{path.name}: no pixels")
    width = len(rows[0])
    if any(len(r) != width for r in rows):
        raise MapError(f"{path.name}: rows differ in length")
    if width != len(rows) or width not in (16, 32, 48):
        raise MapError(f"{path.name}: {width}x{len(rows)} is not a square icon size")
    return rows


def packed_rows(bits_per_pixel, rows):
    """Bottom-up rows of a DIB, each padded to a 4-byte boundary."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        accumulator, filled = 0, 0
        for value in row:
            accumulator = (accumulator << bits_per_pixel) | value
            filled += bits_per_pixel
            if filled == 8:
                line.append(accumulator)
                accumulator, filled = 0, 0
        if filled:
            line.append(accumulator << (8 - filled))
        line.extend(b"\0" * (-len(line) % 4))
        out += line
    return bytes(out)


def ico_bytes(rows):
    """One-image .ico: 4-bit colour (XOR) bitmap plus 1-bit transparency (AND) mask."""
    size = len(rows)
    colour = packed_rows(4, [[0 if p == TRANSPARENT else p for p in r] for r in rows])
    mask = packed_rows(1, [[1 if p == TRANSPARENT else 0 for p in r] for r in rows])
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0)
                       for _, rgb in VGA16)
    # The DIB height counts both bitmaps, as the icon format requires.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0, len(colour) + len(mask),
                         0, 0, 16, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image),
                        len(directory) + 16)
    return directory + entry + image


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="fail if a committed .ico differs from its map")
    parser.add_argument("--dir", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons")
    args = parser.parse_args()
    stale = []
    try:
        for map_name, ico_name in ICONS.items():
            data = ico_bytes(parse_map(args.dir / map_name))
            target = args.dir / ico_name
            if args.check:
                if not target.exists() or target.read_bytes() != data:
                    stale.append(ico_name)
            else:
                target.write_bytes(data)
    except MapError as error:
        print(f"make_icons: {error}", file=sys.stderr)
        return 2
    if stale:
        print("make_icons: out of date, run tools/make_icons.py: " + ", ".join(stale),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
