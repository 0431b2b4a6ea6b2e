#!/usr/bin/env python3
"""Tests of make_icons.py: the DIB packing, the .ico layout, map errors, and the committed icons
decoded by an independent reader (ImageMagick) pixel for pixel against their maps."""

import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import make_icons  # noqa: E402

ICON_DIR = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"
SCRIPT = pathlib.Path(__file__).resolve().parent / "make_icons.py"
T = make_icons.TRANSPARENT


def write_map(directory, name, legend, rows):
    text = "# test map\n" + "".join(f"legend {c} {n}\n" for c, n in legend) + "\n".join(rows)
    (directory / name).write_text(text + "\n", encoding="utf-8")
    return directory / name


class PackingTest(unittest.TestCase):
    def test_four_bit_rows_are_bottom_up_high_nibble_first_and_padded(self):
        packed = make_icons.packed_rows(4, [[1, 2, 3], [15, 0, 9]])
        self.assertEqual(packed, bytes([0xF0, 0x90, 0, 0, 0x12, 0x30, 0, 0]))

    def test_one_bit_rows_are_most_significant_bit_first_and_padded(self):
        row = [1] + [0] * 14 + [1]
        self.assertEqual(make_icons.packed_rows(1, [row]), bytes([0x80, 0x01, 0, 0]))

    def test_ico_layout(self):
        rows = [[T] * 16 for _ in range(16)]
        rows[0][0] = 9
        data = make_icons.ico_bytes(rows)
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        self.assertEqual((width, height, colours, planes, bits), (16, 16, 16, 1, 4))
        self.assertEqual((offset, offset + size), (22, len(data)))
        header = struct.unpack_from("<IiiHHI", data, offset)
        self.assertEqual(header, (40, 16, 32, 1, 4, 0))
        # Header, 16 palette entries, 16 rows of 8 colour bytes, 16 rows of 4 mask bytes.
        self.assertEqual(size, 40 + 64 + 16 * 8 + 16 * 4)
        # Top-left pixel is the last colour row's first nibble; the mask clears only its bit.
        colour_start = offset + 40 + 64
        self.assertEqual(data[colour_start + 15 * 8] >> 4, 9)
        mask_start = colour_start + 16 * 8
        self.assertEqual(data[mask_start + 15 * 4], 0x7F)
        self.assertEqual(data[mask_start:mask_start + 4], b"\xff\xff\x00\x00")


class MapErrorTest(unittest.TestCase):
    def setUp(self):
        self.dir = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.dir)

    def assert_rejected(self, legend, rows, words):
        path = write_map(self.dir, "m.txt", legend, rows)
        with self.assertRaises(make_icons.MapError) as caught:
            make_icons.parse_map(path)
        self.assertIn(words, str(caught.exception))

    def test_bad_maps_are_rejected_with_the_reason(self):
        square = ["." * 16] * 16
        self.assert_rejected([(".", "transparent")], square[:-1] + ["." * 15 + "x"],
                             "not in the legend: x")
        self.assert_rejected([(".", "pink")], square, "'pink' is not a VGA colour")
        self.assert_rejected([(".", "black"), (".", "white")], square, "legend twice")
        self.assert_rejected([(".", "black")], square[:-1] + ["." * 15], "differ in length")
        self.assert_rejected([(".", "black")], square[:-1], "not a square icon size")
        self.assert_rejected([(".", "black")], [], "no pixels")

    def test_check_reports_a_stale_icon_and_accepts_a_fresh_one(self):
        for name in make_icons.ICONS:
            shutil.copy(ICON_DIR / name, self.dir / name)
        run = [sys.executable, str(SCRIPT), "--dir", str(self.dir)]
        self.assertEqual(subprocess.run(run).returncode, 0)
        self.assertEqual(subprocess.run(run + ["--check"]).returncode, 0)
        folder = self.dir / "folder.txt"
        folder.write_text(folder.read_text().replace("YYYo", "YYoo", 1))
        result = subprocess.run(run + ["--check"], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn("folder.ico", result.stderr)
        self.assertNotIn("form.ico", result.stderr)


class CommittedIconsTest(unittest.TestCase):
    def test_committed_icons_are_what_their_maps_make(self):
        for map_name, ico_name in make_icons.ICONS.items():
            made = make_icons.ico_bytes(make_icons.parse_map(ICON_DIR / map_name))
            self.assertEqual(made, (ICON_DIR / ico_name).read_bytes(),
                             f"{ico_name} is stale: run tools/make_icons.py")

    @unittest.skipUnless(shutil.which("convert"), "ImageMagick is not installed")
    def test_every_pixel_decodes_to_its_map_colour(self):
        for map_name, ico_name in make_icons.ICONS.items():
            rows = make_icons.parse_map(ICON_DIR / map_name)
            text = subprocess.run(["convert", str(ICON_DIR / ico_name), "-depth", "8", "txt:-"],
                                  capture_output=True, text=True, check=True).stdout
            pixels = {}
            for line in text.splitlines()[1:]:
                place, value = line.split(":", 1)
                x, y = (int(v) for v in place.split(","))
                pixels[(x, y)] = tuple(int(float(v)) for v in
                                       value.split("(")[1].split(")")[0].split(","))
            self.assertEqual(len(pixels), len(rows) ** 2, ico_name)
            for y, row in enumerate(rows):
                for x, index in enumerate(row):
                    r, g, b, alpha = pixels[(x, y)]
                    if index == T:
                        self.assertEqual(alpha, 0, f"{ico_name} ({x},{y})")
                    else:
                        rgb = make_icons.VGA16[index][1]
                        self.assertEqual(((r << 16) | (g << 8) | b, alpha), (rgb, 255),
                                         f"{ico_name} ({x},{y})")


if __name__ == "__main__":
    unittest.main()
