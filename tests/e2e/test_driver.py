"""Tests of the end-to-end driver's own instruments: screenshots read and written
pixel for pixel, colour searches that respect pixel boundaries, text checks that
accept a text and refuse its near neighbours, and waits that give up in time. The
scenarios' verdicts are only as good as these."""

import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import textmatch
from desktop import TimedOut, wait_until
from screen import Screenshot, read_netpbm, write_png

WHITE = (255, 255, 255)
BLUE = (0x64, 0x64, 0xFF)


def picture(width, height, pixels, fill=WHITE):
    """A Screenshot of the given size filled with `fill`, with {(x, y): colour} set."""
    samples = bytearray(bytes(fill) * (width * height))
    for (x, y), colour in pixels.items():
        at = (y * width + x) * 3
        samples[at:at + 3] = bytes(colour)
    return Screenshot("memory", width, height, bytes(samples))


def rendered_text(folder, text, colour, pixel_size=40, family="Arial"):
    """A screenshot of text drawn by ImageMagick in a colour on white."""
    path = Path(folder) / "text.png"
    subprocess.run(["convert", "-size", "400x80", "xc:white", "-font",
                    textmatch.font_file(family), "-pointsize", str(pixel_size), "-fill",
                    "#%02x%02x%02x" % colour, "-annotate", "+20+55", text, str(path)],
                   check=True)
    return Screenshot.load(path)


class ImageFilesTest(unittest.TestCase):
    def test_netpbm_header_with_comment_and_both_kinds(self):
        width, height, channels, samples = read_netpbm(b"P6\n# made here\n2 1\n255\n" +
                                                      bytes(range(6)))
        self.assertEqual((width, height, channels, samples), (2, 1, 3, bytes(range(6))))
        self.assertEqual(read_netpbm(b"P5 3 1 255\n" + b"abc")[2:], (1, b"abc"))
        with self.assertRaises(ValueError):
            read_netpbm(b"P6 1 1 65535\n" + bytes(6))

    def test_png_written_reads_back_pixel_for_pixel(self):
        original = picture(5, 3, {(0, 0): (1, 2, 3), (4, 2): (250, 0, 7), (2, 1): BLUE})
        with tempfile.TemporaryDirectory() as folder:
            path = Path(folder) / "shot.png"
            write_png(path, original.width, original.height, original.samples)
            loaded = Screenshot.load(path)
        self.assertEqual((loaded.width, loaded.height), (5, 3))
        self.assertEqual(loaded.samples, original.samples)


class ColourSearchTest(unittest.TestCase):
    def test_a_colour_straddling_two_pixels_is_not_found(self):
        # Pixel 0 ends with 0x64 0x64 and pixel 1 starts with 0xFF: the bytes of BLUE
        # appear across the boundary, but no pixel is blue.
        shot = picture(3, 1, {(0, 0): (9, 0x64, 0x64), (1, 0): (0xFF, 9, 9)})
        self.assertEqual(shot.count(BLUE, (0, 0, 3, 1)), 0)

    def test_count_and_bounds_in_client_coordinates(self):
        shot = picture(20, 10, {(12, 4): BLUE, (15, 6): (0x66, 0x60, 0xFF)})
        shot.origin = (10, 2)
        self.assertEqual(shot.count(BLUE, (0, 0, 10, 8)), 1)
        self.assertEqual(shot.count(BLUE, (0, 0, 10, 8), tolerance=4), 2)
        self.assertEqual(shot.bounds(BLUE, (0, 0, 10, 8), tolerance=4), (2, 2, 6, 5))
        self.assertIsNone(shot.bounds(BLUE, (3, 0, 5, 8)))
        self.assertEqual(shot.pixel(2, 2), BLUE)

    def test_boxes_reaching_past_the_screen_are_cut(self):
        shot = picture(4, 4, {(0, 0): BLUE, (3, 3): BLUE})
        self.assertEqual(shot.count(BLUE, (-5, -5, 50, 50)), 2)
        self.assertIsNone(shot.pixel(4, 0))

    def test_differing_pixels_counts_each_changed_pixel(self):
        before = picture(6, 2, {(1, 1): BLUE})
        after = picture(6, 2, {(1, 1): WHITE, (4, 0): BLUE, (5, 0): BLUE})
        self.assertEqual(after.differing_pixels(before, (0, 0, 6, 2)), 3)
        self.assertEqual(after.differing_pixels(before, (0, 1, 6, 2)), 1)


class TextCheckTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as folder:
            cls.question = rendered_text(folder, "345 ÷ 7", BLUE)
            cls.message = rendered_text(folder, "Finished bricketing for today?", (0, 0, 0),
                                        pixel_size=12, family="Sans Serif")

    def shows(self, text):
        return textmatch.shows_text(self.question, (0, 0, 400, 80), text, BLUE, 40)

    def test_the_text_drawn_is_recognised(self):
        self.assertTrue(self.shows("345 ÷ 7"))

    def test_neighbouring_texts_are_refused(self):
        for other in ("346 ÷ 7", "345 ÷ 1", "845 ÷ 7", "354 ÷ 7", "345 ÷ 71", "45 ÷ 7"):
            with self.subTest(other=other):
                self.assertFalse(self.shows(other))

    def test_ink_of_another_colour_is_not_read(self):
        self.assertFalse(textmatch.shows_text(self.question, (0, 0, 400, 80), "345 ÷ 7",
                                              (0x96, 0x32, 0x96), 40))

    def test_small_print_is_told_by_its_width(self):
        def same_width(text):
            return textmatch.line_width_matches(self.message, (0, 0, 400, 80), text, (0, 0, 0),
                                                12, "Sans Serif")

        self.assertTrue(same_width("Finished bricketing for today?"))
        self.assertFalse(same_width("Finished bricketing today?"))


class WaitTest(unittest.TestCase):
    def test_gives_the_first_true_result(self):
        answers = iter([None, 0, "ready"])
        self.assertEqual(wait_until(lambda: next(answers), 5, "an answer"), "ready")

    def test_gives_up_after_its_time_limit_naming_what_it_awaited(self):
        started = time.monotonic()
        with self.assertRaisesRegex(TimedOut, "the window"):
            wait_until(lambda: False, 0.3, "the window")
        self.assertLess(time.monotonic() - started, 2)


if __name__ == "__main__":
    unittest.main()
