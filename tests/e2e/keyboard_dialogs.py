"""Scenarios on the keyboard and the dialogs as a pupil meets them on any keyboard and
with a window manager: digits typed on a French keyboard's top row, Alt combinations
that type nothing, a quick second Escape that is not replayed after the exit prompt,
and the three dialogs measured on the screen against their templates."""

import re
import subprocess
import time
from pathlib import Path

import lesson as look
from desktop import TimedOut, wait_until
from display import SCREEN_HEIGHT, SCREEN_WIDTH, end_process
from screen import Screenshot
from steps import (AWAY_FROM_BUTTONS, SETTINGS_UNITS, create_question, expect, quit_with_yes,
                   wait_for_question)

# The French layout's top row without Shift, by the digit printed on each key.
FRENCH_TOP_ROW = {"1": "ampersand", "2": "eacute", "3": "quotedbl", "4": "apostrophe",
                  "5": "parenleft", "6": "minus", "7": "egrave", "8": "underscore",
                  "9": "ccedilla", "0": "agrave"}

# Windows dialog base units at 96 dots per inch: 6 x 13 pixels for 4 x 8 units.
CREATE_QUESTION_UNITS = (149, 72)
ABOUT_UNITS = (281, 120)
ABOUT_PICTURE_AT = (7, 7)          # dialog units
ABOUT_PICTURE_SIZE = (400, 173)    # pixels, the picture's own size
ABOUT_OK_BUTTON = (211, 76, 41, 14)
SIZE_TOLERANCE = 2


def units_to_pixels(units):
    """Dialog units (x, y) in pixels, rounded half away from zero as Windows does."""
    return ((units[0] * 6 + 2) // 4, (units[1] * 13 + 4) // 8)


def top_row(*digits):
    """The key names of the unshifted top-row keys that carry these digits."""
    return [FRENCH_TOP_ROW[digit] for digit in digits]


def set_keyboard_layout(scenario, layout):
    scenario.desktop._run("setxkbmap", "-layout", layout)
    query = scenario.desktop._run("setxkbmap", "-query")
    expect(re.search(rf"^layout:\s+{layout}$", query, re.MULTILINE),
           f"the layout is not {layout}: {query}")


def board_unchanged(lesson, name, before, seconds=0.6):
    """Waits a few frames and says whether the working-out still looks as before."""
    time.sleep(seconds)
    shot = lesson.look(name)
    return shot.differing_pixels(before, look.BOARD_BOX) == 0, shot


def french_keyboard(scenario):
    """On a French (AZERTY) keyboard the top row types digits with and without Shift;
    Alt with a digit key and F10 type nothing; a key with no digit on it (the "!" key)
    clears a wrong entry as any key does."""
    set_keyboard_layout(scenario, "fr")
    lesson = scenario.launch()
    wait_for_question(lesson)
    create_question(lesson, 345, 7)

    multiples, amounts = look.MULTIPLES_COLUMN, look.AMOUNTS_COLUMN
    lesson.keys(*top_row("4", "0"), "Return")
    before = lesson.wait_for_look(
        "unshifted-40", lambda s: look.entry_row_on(s, 1, amounts)
        and look.shows_on_line(s, 1, multiples, "40", look.INK_COLOUR),
        "40 typed on the unshifted top row to be taken as the multiple")

    for keys in (["alt+eacute"], ["alt+2"], ["alt+shift+agrave"], ["F10"]):
        lesson.keys(*keys)
        unchanged, shot = board_unchanged(lesson, "after-" + keys[0].replace("+", "-"), before)
        expect(unchanged, f"{' '.join(keys)} changed the working-out, see {shot.path}")
    expect(not scenario.desktop.windows_titled("Had enough?"), "a system key opened the prompt")

    lesson.keys("2", "8", "0", "Return")  # xdotool holds Shift for these
    lesson.wait_for_look(
        "shifted-280", lambda s: look.entry_row_on(s, 2, amounts)
        and look.shows_on_line(s, 1, amounts, "280", look.INK_COLOUR),
        "280 typed with Shift on the top row to be taken as the product")
    lesson.keys(*top_row("5", "5"), "Return")
    lesson.wait_for_look("wrong-remainder-55", lambda s: look.entry_error_pixels(s) > 40,
                         "the wrong remainder 55 in the error colour")
    lesson.keys("exclam")
    lesson.wait_for_look("cleared-by-exclam", lambda s: look.entry_error_pixels(s) == 0
                         and look.entry_row_on(s, 2, amounts),
                         'the "!" key to clear the error')
    lesson.keys(*top_row("6", "5"), "Return")
    lesson.wait_for_look(
        "remainder-65", lambda s: look.entry_row_on(s, 3, multiples)
        and look.shows_on_line(s, 2, amounts, "65", look.INK_COLOUR),
        "65 typed on the top row to complete the first step")
    quit_with_yes(lesson)


def escape_twice(scenario):
    """Escape pressed twice quickly, then No: the program runs on, no prompt comes
    back, and keys reach the working-out again."""
    lesson = scenario.launch()
    before = wait_for_question(lesson)
    lesson.move_to(*AWAY_FROM_BUTTONS)
    scenario.desktop.keys("Escape", "Escape", delay_ms=0)
    try:
        scenario.desktop.wait_for_window("Had enough?", timeout=1.5)
        lesson.look("prompt")
        lesson.keys("n")
        scenario.desktop.wait_until_closed("Had enough?")
    except TimedOut:
        pass  # the second Escape answered the prompt itself, which is as good
    time.sleep(1.5)
    shot = lesson.look("after-no")
    expect(lesson.run.running(), "the program ended although the answer was No")
    expect(not scenario.desktop.windows_titled("Had enough?"),
           f"the exit prompt came back after No, see {shot.path}")
    lesson.keys("4")
    lesson.wait_for_look("keys-again", lambda s: s.differing_pixels(before, look.BOARD_BOX) > 0,
                         "keys to reach the working-out again")
    quit_with_yes(lesson)


# Dialogs measured under a window manager.

def start_window_manager(scenario):
    """Openbox on the scenario's display, stopped with the scenario."""
    try:
        process = subprocess.Popen(["openbox", "--sm-disable"], env=scenario.display.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except FileNotFoundError:
        raise AssertionError("openbox is needed for this scenario (scripts/setup installs it)")
    scenario.cleanup.callback(end_process, process)
    wait_until(lambda: "window id" in scenario.desktop._run(
        "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False), 10,
        "the window manager to start")


def frame_of(desktop, window):
    """(left, top, width, height) of the window with its frame, from the extents the
    window manager announces, and the client geometry."""
    x, y, width, height = desktop.geometry(window)
    extents = desktop._run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
    expect("=" in extents, f"the window manager gives no frame extents: {extents}")
    left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(","))
    return (x - left, y - top, width + left + right, height + top + bottom), (x, y, width, height)


def pointer_position(desktop):
    out = desktop._run("xdotool", "getmouselocation")
    fields = dict(part.split(":") for part in out.split())
    return int(fields["x"]), int(fields["y"])


def measure_dialog(lesson, window, name, units, centre):
    """Checks the client size against the template and the frame's centre against
    `centre` (both within SIZE_TOLERANCE), and returns the client geometry and a
    screenshot."""
    desktop = lesson.desktop
    # The window manager may still be placing it; the checks are for where it rests.
    time.sleep(0.5)
    frame, client = frame_of(desktop, window)
    shot = lesson.look(name)
    expected = units_to_pixels(units)
    print(f"{name}: client {client[2]} x {client[3]} (template {expected[0]} x "
          f"{expected[1]}), frame at {frame}", flush=True)
    expect(abs(client[2] - expected[0]) <= SIZE_TOLERANCE
           and abs(client[3] - expected[1]) <= SIZE_TOLERANCE,
           f"{name}: the client area is {client[2]} x {client[3]}, not {expected[0]} x "
           f"{expected[1]} as its template says, see {shot.path}")
    frame_centre = (frame[0] + frame[2] / 2, frame[1] + frame[3] / 2)
    expect(abs(frame_centre[0] - centre[0]) <= SIZE_TOLERANCE
           and abs(frame_centre[1] - centre[1]) <= SIZE_TOLERANCE,
           f"{name}: the frame is centred on {frame_centre}, not on {centre}, see {shot.path}")
    return client, shot


def about_picture_matches(shot, client, reference):
    """The share of the About picture's pixels, outside its OK button, that the screen
    shows exactly where the picture should be: at its own size from the picture
    control's corner."""
    left = client[0] + units_to_pixels(ABOUT_PICTURE_AT)[0]
    top = client[1] + units_to_pixels(ABOUT_PICTURE_AT)[1]
    ok_x, ok_y = units_to_pixels(ABOUT_OK_BUTTON[:2])
    ok_w, ok_h = units_to_pixels(ABOUT_OK_BUTTON[2:])
    ok = (ok_x - 11, ok_y - 11, ok_x - 11 + ok_w, ok_y - 11 + ok_h)
    same = total = 0
    for y in range(0, ABOUT_PICTURE_SIZE[1], 3):
        for x in range(0, ABOUT_PICTURE_SIZE[0], 3):
            if ok[0] - 2 <= x < ok[2] + 2 and ok[1] - 2 <= y < ok[3] + 2:
                continue
            total += 1
            same += shot.pixel(left + x, top + y) == reference.pixel(x, y)
    return same / total


def dialog_sizes(scenario):
    """Under a window manager the three dialogs have the client sizes their templates
    give in Windows dialog units; Settings and About are centred on the screen and
    Create Question on the pointer, frame included; the About picture is shown at its
    own 400 x 173."""
    start_window_manager(scenario)
    lesson = scenario.launch()
    wait_for_question(lesson)
    screen_centre = (SCREEN_WIDTH / 2, SCREEN_HEIGHT / 2)
    desktop = scenario.desktop

    window = lesson.open_dialog("Settings", "Settings")
    measure_dialog(lesson, window, "settings", SETTINGS_UNITS, screen_centre)
    lesson.keys("Escape")
    desktop.wait_until_closed("Settings")

    lesson.hover_button("Create Question")
    pointer = pointer_position(desktop)
    desktop.click()
    window = desktop.wait_for_window("Create Question")
    measure_dialog(lesson, window, "create-question", CREATE_QUESTION_UNITS, pointer)
    lesson.keys("Escape")
    desktop.wait_until_closed("Create Question")

    logo = (600, 530)  # the middle of the maker's logo
    lesson.move_to(*logo)
    time.sleep(0.2)
    desktop.click()
    window = desktop.wait_for_window("About")
    client, shot = measure_dialog(lesson, window, "about", ABOUT_UNITS, screen_centre)
    reference_png = Path(lesson.shots) / "about-reference.png"
    subprocess.run(["convert", str(scenario.source_root / "src/resources/about.bmp"),
                    str(reference_png)], check=True)
    reference = Screenshot.load(reference_png)
    expect((reference.width, reference.height) == ABOUT_PICTURE_SIZE,
           f"the stored About picture is {reference.width} x {reference.height}")
    on_screen = Screenshot(shot.path, shot.width, shot.height, shot.samples)
    share = about_picture_matches(on_screen, client, reference)
    print(f"about: {share:.1%} of the picture's pixels shown unchanged", flush=True)
    expect(share > 0.95, f"the About picture is not shown at its own size ({share:.0%} of "
           f"its pixels in place), see {shot.path}")
    shifted = about_picture_matches(on_screen, (client[0] + 2, client[1] + 1), reference)
    expect(shifted < 0.9, f"the picture check cannot tell a picture out of place ({shifted:.0%})")
    lesson.keys("Return")
    desktop.wait_until_closed("About")
    quit_with_yes(lesson)


SCENARIOS = {
    "french_keyboard": french_keyboard,
    "escape_twice": escape_twice,
    "dialog_sizes": dialog_sizes,
}
