"""Answers the web suite's questions about its screenshots with the desktop suite's own
checks (tests/e2e/lesson.py and textmatch.py), so the page is held to the same colours
at the same places as the desktop program.

One JSON request a line on stdin, one JSON answer a line on stdout:
  {"shot": "/path/to.png", "origin": [x, y], "ask": [["shows_header", "100 ÷ 7"], ...]}
  -> {"answers": [true, ...]}  or  {"error": "..."}
Arguments that name a constant of lesson.py (INK_COLOUR, AMOUNTS_COLUMN, HEADER_BOX...)
stand for its value."""

import json
import re
import subprocess
import sys
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))

import lesson as look  # noqa: E402
import textmatch  # noqa: E402
from screen import Screenshot, read_netpbm  # noqa: E402

class Picture(Screenshot):
    @classmethod
    def load_with(cls, command):
        """The picture that an ImageMagick command line (without its output) makes."""
        ppm = subprocess.run(command + ["-depth", "8", "ppm:-"], check=True,
                             capture_output=True).stdout
        width, height, _, samples = read_netpbm(ppm)
        return cls(command[1], width, height, samples)


CONSTANT_NAME = re.compile(r"^[A-Z][A-Z_]+$")


def resolved(value):
    if isinstance(value, str) and CONSTANT_NAME.match(value) and hasattr(look, value):
        return getattr(look, value)
    if isinstance(value, list):
        return tuple(resolved(item) for item in value)
    return value


def header_reads_as_division(shot):
    """As the desktop's first look: 4 to 9 glyphs with the division sign last but one."""
    seen = textmatch.ink_glyphs(shot, look.HEADER_BOX, look.HEADER_COLOUR)
    return {"glyphs": len(seen),
            "division": len(seen) >= 2 and textmatch.glyph_is(seen[-2], "÷",
                                                               look.MAIN_FONT_PIXELS)}


def header_glyphs(shot):
    return len(textmatch.ink_glyphs(shot, look.HEADER_BOX, look.HEADER_COLOUR))


def picture_difference(shot, png, x, y, crop=None):
    """The share of the picture's pixels, laid on white at (x, y) and cut to `crop`
    (left, top, width, height) when given, that differ from the screenshot by more
    than a little in some channel: 0 when the picture is drawn there as it is."""
    command = ["convert", png, "-background", "white", "-flatten"]
    if crop:
        command += ["-crop", "{2}x{3}+{0}+{1}".format(*crop), "+repage"]
    picture = Picture.load_with(command)
    differing = 0
    for py in range(picture.height):
        for px in range(picture.width):
            seen = shot.pixel(x + px, y + py)
            wanted = picture.pixel(px, py)
            if seen is None or max(abs(a - b) for a, b in zip(seen, wanted)) > 24:
                differing += 1
    return differing / max(1, picture.width * picture.height)


def describe_on_line(shot, line, column, text, colour):
    return textmatch.describe(shot, look.line_box(line, column), text, colour,
                              look.MAIN_FONT_PIXELS, look.BOARD_COLOUR)


def describe_in_box(shot, box, text, colour):
    return textmatch.describe(shot, box, text, colour, look.MAIN_FONT_PIXELS)


OPERATIONS = {
    "pixel": lambda shot, x, y: shot.pixel(x, y),
    "count": lambda shot, colour, box: shot.count(colour, box),
    "bounds": lambda shot, colour, box: shot.bounds(colour, box),
    "differing_pixels": lambda shot, other, box:
        shot.differing_pixels(Screenshot.load(other, shot.origin), box),
    "header_reads_as_division": header_reads_as_division,
    "header_glyphs": header_glyphs,
    "picture_difference": picture_difference,
    "shows_header": look.shows_header,
    "shows_quotient": look.shows_quotient,
    "shows_remainder_part": look.shows_remainder_part,
    "shows_on_line": look.shows_on_line,
    "shows_caption": look.shows_caption,
    "caption_pixels": look.caption_pixels,
    "entry_row_on": look.entry_row_on,
    "entry_error_pixels": look.entry_error_pixels,
    "tutor_says": look.tutor_says,
    "ink_width": lambda shot, box: look.ink_width(shot, box),
    "ink_width_on_line": lambda shot, line, column: look.ink_width(shot,
                                                                   look.line_box(line, column)),
    "describe_on_line": describe_on_line,
    "describe_in_box": describe_in_box,
}


def answer(request):
    shot = Screenshot.load(request["shot"], tuple(request.get("origin", (0, 0))))
    answers = []
    for name, *arguments in request["ask"]:
        operation = OPERATIONS[name]
        answers.append(operation(shot, *(resolved(a) for a in arguments)))
    return {"answers": answers}


def main():
    for line in sys.stdin:
        if not line.strip():
            continue
        try:
            reply = answer(json.loads(line))
        except Exception:  # the suite reports it as a failed check
            reply = {"error": traceback.format_exc()}
        print(json.dumps(reply), flush=True)


if __name__ == "__main__":
    main()
