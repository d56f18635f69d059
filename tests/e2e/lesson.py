"""The program's window as a pupil meets it: where its buttons, texts and working-out
are, in client-area pixels, and the pupil's actions on it. Every look at the screen
is saved in the scenario's shots folder under a numbered stage name."""

import time
from pathlib import Path

import textmatch
from desktop import wait_until
from screen import parse_colour

HEADER_COLOUR = parse_colour(0xFF6464FF)
QUOTIENT_COLOUR = parse_colour(0xFF963296)   # also the multiples in the working-out
REMAINDER_COLOUR = parse_colour(0xFF329632)
CAPTION_COLOUR = parse_colour(0xFF320000)
BOARD_COLOUR = parse_colour(0xFFEEE2B7)
ENTRY_COLOUR = parse_colour(0xFF1E1E64)
ENTRY_ERROR_COLOUR = parse_colour(0xFFFA1E1E)
INK_COLOUR = parse_colour(0xFF1E1E1E)
SPENT_COLOUR = parse_colour(0xFFB4B4B4)

BUTTON_SIZE = 75
BUTTONS = {
    "New Question": (525, 250),
    "Create Question": (603, 250),
    "Restart Question": (681, 250),
    "Settings": (525, 328),
    "Help": (603, 328),
    "Exit": (681, 328),
}
# Boxes are (left, top, right, bottom), right and bottom exclusive.
CAPTION_BOX = (525, 410, 775, 460)
HEADER_BOX = (525, 45, 800, 98)      # text origin (530, 50)
ANSWER_BOX = (515, 98, 800, 150)     # text origin (520, 100)
BOARD_BOX = (0, 0, 480, 574)
BOARD_INSIDE = (4, 4, 476, 570)      # the panel without its outline
MAIN_FONT_PIXELS = 40                # 30 points at 96 dots per inch
CAPTION_FONT_PIXELS = 27             # 20 points, rounded to whole pixels

ROW_HEIGHT = 40
# Columns as (left, right): inside the number boxes at x 35 and x 340, whose digits
# start at least a padding of 6.7 px in, and clear of the "+", the icons, the "=" and
# the "-" beside them.
MULTIPLES_COLUMN = (40, 140)
WORDING_COLUMN = (138, 305)           # from x 140 up to the "=" at x 310
AMOUNTS_COLUMN = (341, 445)
# The tutor's note right of the board, under the answer, and its small print.
TUTOR_BOX = (487, 151, 796, 246)
TUTOR_INK = parse_colour(0xFF1E3264)
TUTOR_FONT_PIXELS = 16               # 12 points at 96 dots per inch


def line_box(line, column):
    """The box of one line of the unscrolled working-out in one column, clear of the
    rules under this line (from 38 px down) and under the one above (to 3 px down)."""
    top = line * ROW_HEIGHT
    return (column[0], top + 4, column[1], top + 38)


class Lesson:
    """The running program's window: looks at it and acts on it."""

    def __init__(self, desktop, run, shots):
        self.desktop = desktop
        self.run = run
        self.shots = Path(shots)
        self.shots.mkdir(parents=True, exist_ok=True)
        self.stage = 0
        self.started = time.monotonic()

    # Looking.

    def _stage_path(self, name):
        self.stage += 1
        path = self.shots / f"{self.stage:03d}-{name}.png"
        print(f"{time.monotonic() - self.started:6.1f} s  {path.name}", flush=True)
        return path

    def look(self, name):
        """A screenshot saved as the next stage."""
        return self.desktop.screenshot(self._stage_path(name), self.run.origin)

    def wait_for_look(self, name, condition, what, timeout=10.0):
        """Screenshots, saved as the next stage, until condition(shot) holds; the shot
        that satisfied it stays on disk (or the last one, when the wait failed)."""
        path = self._stage_path(name)
        latest = []

        def satisfied():
            latest[:] = [self.desktop.screenshot(path, self.run.origin)]
            return condition(latest[0])

        wait_until(satisfied, timeout, f"{what} (see {path})")
        return latest[0]

    # Pointer.

    def screen_point(self, x, y):
        return self.run.origin[0] + x, self.run.origin[1] + y

    def move_to(self, x, y):
        self.desktop.move_pointer(*self.screen_point(x, y))

    def hover_button(self, name):
        """Puts the pointer on a button and waits for its caption to show, which also
        proves a frame has seen the pointer there (a press is only taken by a button
        that was already under the pointer)."""
        left, top = BUTTONS[name]
        self.move_to(left + BUTTON_SIZE // 2, top + BUTTON_SIZE // 2)
        return self.wait_for_look(
            "hover-" + name.lower().replace(" ", "-"),
            lambda shot: shows_caption(shot, name), f'the caption "{name}"')

    def press_button(self, name):
        self.hover_button(name)
        self.desktop.click()

    def open_dialog(self, button, title):
        self.press_button(button)
        return self.desktop.wait_for_window(title)

    def click_dialog_control(self, window, size_in_units, control):
        """Clicks a dialog control a little in from its left edge, half-way down (on a
        radio button's circle), finding it from its rectangle in dialog units, (x, y,
        width, height), and the dialog's own size in the same units: the controls
        keep their places in proportion to the dialog whatever the font."""
        left, top, width, height = self.desktop.geometry(window)
        x, y, _, h = control
        self.desktop.move_pointer(round(left + (x + 4) * width / size_in_units[0]),
                                  round(top + (y + h / 2) * height / size_in_units[1]))
        self.desktop.click()

    # Keyboard.

    def keys(self, *names):
        self.desktop.keys(*names)

    def enter_number(self, number):
        self.desktop.keys(*str(number), "Return")


# What the pupil sees.

def shows_caption(shot, text):
    # Small print renders less alike; the six captions differ by whole words anyway.
    return textmatch.shows_text(shot, CAPTION_BOX, text, CAPTION_COLOUR, CAPTION_FONT_PIXELS,
                                limit=2 * textmatch.GLYPH_MISMATCH_LIMIT)


def caption_pixels(shot):
    return shot.count(CAPTION_COLOUR, CAPTION_BOX)


def shows_header(shot, text):
    return textmatch.shows_text(shot, HEADER_BOX, text, HEADER_COLOUR, MAIN_FONT_PIXELS)


def shows_quotient(shot, text):
    return textmatch.shows_text(shot, ANSWER_BOX, text, QUOTIENT_COLOUR, MAIN_FONT_PIXELS)


def shows_remainder_part(shot, text):
    return textmatch.shows_text(shot, ANSWER_BOX, text, REMAINDER_COLOUR, MAIN_FONT_PIXELS)


def shows_on_line(shot, line, column, text, colour):
    return textmatch.shows_text(shot, line_box(line, column), text, colour, MAIN_FONT_PIXELS,
                                background=BOARD_COLOUR)


def entry_error_pixels(shot):
    return shot.count(ENTRY_ERROR_COLOUR, BOARD_BOX)


def rows_holding(shot, colour, box):
    """How many rows of the box hold the colour."""
    return len({y for _, y in shot.matches(colour, box)})


def entry_row_on(shot, line, column, colour=ENTRY_COLOUR):
    """True when the entry row stands in that place: its frame's sides run down the
    whole line, unlike the frame's bottom edge that reaches into the next line."""
    return rows_holding(shot, colour, line_box(line, column)) >= 25


def ink_width(shot, box, colour=INK_COLOUR):
    """Width of the part of the box that holds pixels near the colour; 0 for none."""
    found = shot.bounds(colour, box, tolerance=40)
    return 0 if found is None else found[2] - found[0]


def line_bands(coverage):
    """The coverage map cut into lines of text at rows without ink, top to bottom."""
    rows = sorted({y for (_, y), value in coverage.items() if value >= textmatch.CUT})
    bands, current = [], []
    for y in rows:
        if current and y > current[-1] + 1:
            bands.append((current[0], current[-1]))
            current = []
        current.append(y)
    if current:
        bands.append((current[0], current[-1]))
    # A band of a few rows is part of a line beside it: the dot of an "i" over a line
    # without tall letters, or the tail of a comma below one; it joins the nearer line.
    index = 0
    while len(bands) > 1 and index < len(bands):
        top, bottom = bands[index]
        if bottom - top >= 4:
            index += 1
            continue
        above = top - bands[index - 1][1] if index > 0 else None
        below = bands[index + 1][0] - bottom if index + 1 < len(bands) else None
        if below is None or (above is not None and above <= below):
            bands[index - 1:index + 1] = [(bands[index - 1][0], bottom)]
        else:
            bands[index:index + 2] = [(top, bands[index + 1][1])]
    return [{point: value for point, value in coverage.items() if top <= point[1] <= bottom}
            for top, bottom in bands]


def glyphs_in_reading_order(shot, box, colour):
    """The glyphs of the colour's ink in the box, line by line, each left to right."""
    coverage = textmatch.ink_coverage(shot, box, colour)
    found = []
    for band in line_bands(coverage):
        found.extend(textmatch.glyphs(band))
    return found


def tutor_says(shot, text):
    """True when the ink in the tutor's note, read line by line, spells `text` and
    nothing else (spaces and line breaks aside)."""
    seen = glyphs_in_reading_order(shot, TUTOR_BOX, TUTOR_INK)
    if not seen:
        return False
    expected = textmatch.reference_glyphs(text, TUTOR_FONT_PIXELS)
    return textmatch.aligned_mismatch(seen, expected) <= 2 * textmatch.GLYPH_MISMATCH_LIMIT
