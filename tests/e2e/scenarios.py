"""The end-to-end scenarios: each starts the program on its own virtual display in a
private copy of its run-time folders and drives it as a pupil would, checking the
window, the screen, the files and the exit code along the way."""

import lesson as look
import textmatch
from desktop import wait_until
from program import TITLE
from steps import (AWAY_FROM_BUTTONS, EXPERT_RADIO, SETTINGS_UNITS, TIMES_RADIO,
                   answer_exit_prompt, create_question, expect,
                   message_box_says, quit_with_yes, wait_for_question, work_345_by_7)

EXPERT_TIMES_AUTOPRODUCT = (
    'DISPLAY:TIMES // LOTSOF for "lots of" or TIMES for "x"; changes display in working out\n'
    "AUTOPRODUCT:ON // ON or OFF; if on, calculates products for each multiple automatically\n"
    "AUTOREMAINDER:OFF // ON or OFF; if on, calculates the remainder each time automatically\n"
    "DIFFICULTY:EXPERT // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT").encode("ascii")


def choose_expert_times_autoproduct(lesson, shot_name="settings-open"):
    """Settings: AutoProduct on (by keys), "x" and Expert (by clicks), confirmed."""
    dialog = lesson.open_dialog("Settings", "Settings")
    lesson.look(shot_name)
    # The tab stops are OK (which has the focus), Cancel, AutoProduct and AutoRemainder;
    # the radio buttons are no tab stops, so the pupil clicks them.
    lesson.keys_to(dialog, "Tab", "Tab", "space")
    lesson.click_dialog_control(dialog, SETTINGS_UNITS, TIMES_RADIO)
    lesson.click_dialog_control(dialog, SETTINGS_UNITS, EXPERT_RADIO)
    lesson.look("settings-chosen")
    lesson.keys_to(dialog, "Return")
    lesson.desktop.wait_until_closed("Settings")


def expect_expert_with_times(lesson, run):
    """The question on screen is an Expert one (four-digit dividend, two-digit divisor)
    and the working-out uses the times sign; returns the wording's width in pixels."""
    shot = wait_for_question(lesson)
    header = textmatch.ink_glyphs(shot, look.HEADER_BOX, look.HEADER_COLOUR)
    expect(len(header) == 7, f"{run}'s question is not an Expert one: {len(header)} glyphs "
           f"in the header, see {shot.path}")
    times_width = look.ink_width(shot, look.line_box(1, look.WORDING_COLUMN))
    expect(0 < times_width < 90, f'{run} is not worded with "x" ({times_width} px wide), '
           f"see {shot.path}")
    return times_width


DIVIDEND_TOO_BIG = "The dividend (number being divided) must be less than 10,000."
DIVISOR_OUT_OF_RANGE = "The divisor (number dividing by) must be between 2 and 99."


def refuse_and_cancel(lesson, says=message_box_says):
    """Create Question: 12345 is refused with the dividend message in an Error box
    owned by the dialog; Cancel then leaves the question as it was. `says` reads a
    message box's text the way the platform draws it."""
    before = lesson.look("before-create-question")
    dialog = lesson.open_dialog("Create Question", "Create Question")
    lesson.look("create-question-dialog")
    lesson.keys_to(dialog, "1", "2", "3", "4", "5", "Return")
    error_box = lesson.desktop.wait_for_window("Error")
    shot = lesson.wait_for_look("error-box",
                                lambda s: says(lesson, error_box, s, DIVIDEND_TOO_BIG),
                                f'the Error box saying "{DIVIDEND_TOO_BIG}"')
    expect(not says(lesson, error_box, shot, DIVISOR_OUT_OF_RANGE),
           "the message check cannot tell the dividend message from the divisor's")
    lesson.keys_to(error_box, "Return")
    lesson.desktop.wait_until_closed("Error")
    expect(lesson.desktop.windows_titled("Create Question"),
           "the Create Question dialog closed with the Error box")
    lesson.keys_to(dialog, "Escape")
    lesson.desktop.wait_until_closed("Create Question")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    lesson.wait_for_look("cancelled",
                         lambda s: s.differing_pixels(before, look.HEADER_BOX) == 0,
                         "the question to stay as it was")


def window(scenario):
    """The window appears with its title, its 800 x 600 client area, the working-out
    panel and a question in the header."""
    lesson = scenario.launch()
    expect(lesson.run.origin == (100, 100),
           f"the window is at {lesson.run.origin}, not at (100, 100)")
    expect(lesson.run.size == (800, 600),
           f"the client area is {lesson.run.size[0]} x {lesson.run.size[1]}, not 800 x 600")
    shot = wait_for_question(lesson)
    expect(shot.pixel(470, 560) == look.BOARD_COLOUR and shot.pixel(10, 300) == look.BOARD_COLOUR,
           "the working-out panel is not beige at (470, 560) and (10, 300)")
    expect(shot.pixel(700, 200) == (255, 255, 255), "the window is not white beside the header")
    # A question reads "dividend ÷ divisor": the division sign is the last glyph but one.
    seen = textmatch.ink_glyphs(shot, look.HEADER_BOX, look.HEADER_COLOUR)
    expect(4 <= len(seen) <= 9 and textmatch.glyph_is(seen[-2], "÷", look.MAIN_FONT_PIXELS),
           f"the header does not read as a division ({len(seen)} glyphs), see {shot.path}")
    expect(look.entry_row_on(shot, 1, look.MULTIPLES_COLUMN),
           "the entry row is not on the first line after the dividend")


def create_question_dialog(scenario):
    """Create Question refuses a dividend of 12345 with the Error box and, cancelled,
    changes nothing; 345, Enter, 7, Enter starts 345 ÷ 7."""
    lesson = scenario.launch()
    wait_for_question(lesson)
    refuse_and_cancel(lesson)

    shot = create_question(lesson, 345, 7)
    # The text check must tell neighbouring questions apart, or it proves nothing.
    expect(not look.shows_header(shot, "346 ÷ 7") and not look.shows_header(shot, "345 ÷ 1"),
           "the header check cannot tell 345 ÷ 7 from its neighbours")


def solve(scenario):
    """345 ÷ 7 worked through with one wrong entry ends with "= 49" and " rem.2"."""
    lesson = scenario.launch()
    wait_for_question(lesson)
    create_question(lesson, 345, 7)
    shot = work_345_by_7(lesson)
    expect(look.shows_remainder_part(shot, " rem.2"),
           "the remainder part is missing: " + textmatch.describe(
               shot, look.ANSWER_BOX, " rem.2", look.REMAINDER_COLOUR, look.MAIN_FONT_PIXELS))
    expect(look.shows_on_line(shot, 4, look.MULTIPLES_COLUMN, "49", look.QUOTIENT_COLOUR),
           "the working-out does not end with the answer: " + textmatch.describe(
               shot, look.line_box(4, look.MULTIPLES_COLUMN), "49", look.QUOTIENT_COLOUR,
               look.MAIN_FONT_PIXELS, look.BOARD_COLOUR))
    expect(not look.shows_quotient(shot, "= 48"), "the answer check cannot tell 49 from 48")
    expect(look.entry_error_pixels(shot) == 0, "something is still in the error colour")


def hover_and_restart(scenario):
    """The caption of the button under the pointer appears centred under the buttons
    and goes when the pointer leaves; Restart Question brings back the empty
    working-out of the same question."""
    lesson = scenario.launch()
    wait_for_question(lesson)
    fresh = create_question(lesson, 345, 7)
    expect(look.caption_pixels(fresh) == 0, "a caption shows with no button under the pointer")

    shot = lesson.hover_button("New Question")
    expect(not look.shows_caption(shot, "Restart Question"),
           "the caption check cannot tell the buttons apart")
    left, _, right, _ = shot.bounds(look.CAPTION_COLOUR, look.CAPTION_BOX)
    expect(abs((left + right) / 2 - 650) <= 3,
           f"the caption is centred on x {(left + right) / 2}, not 650")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    lesson.wait_for_look("caption-gone", lambda s: look.caption_pixels(s) == 0,
                         "the caption to go")

    lesson.keys("4", "0", "Return", "2", "8", "0", "Return", "6", "5", "Return")
    lesson.wait_for_look(
        "one-step", lambda s: look.shows_on_line(s, 2, look.AMOUNTS_COLUMN, "65", look.INK_COLOUR),
        "the first step completed")
    lesson.press_button("Restart Question")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    shot = lesson.wait_for_look(
        "restarted", lambda s: s.differing_pixels(fresh, look.BOARD_BOX) == 0,
        "the working-out to look as it did when the question was new")
    expect(look.shows_header(shot, "345 ÷ 7"), "Restart Question changed the question")


def settings(scenario):
    """Settings "x", Expert and AutoProduct on are written to Data/settings.txt; the
    next run starts from them: its dialog holds them, and the working-out uses the
    times sign and gives the products."""
    repository_settings = scenario.source_root / "Data" / "settings.txt"
    repository_before = repository_settings.read_bytes() if repository_settings.exists() else None
    folder = scenario.runtime_copy()
    written = folder / "Data" / "settings.txt"

    lesson = scenario.launch(folder)
    shot = wait_for_question(lesson)
    lots_of_width = look.ink_width(shot, look.line_box(1, look.WORDING_COLUMN))
    choose_expert_times_autoproduct(lesson)
    wait_until(lambda: written.read_bytes() == EXPERT_TIMES_AUTOPRODUCT, 5,
               f"Data/settings.txt to hold the new settings (it holds {written.read_bytes()!r})")
    quit_with_yes(lesson)

    lesson = scenario.launch(folder)
    times_width = expect_expert_with_times(lesson, "the second run")
    expect(lots_of_width > 120,
           f'the wording is {times_width} px wide with "x" and {lots_of_width} px with '
           '"lots of"; the times sign should be much narrower')
    # The dialog starts from what the file said: confirmed at once, it writes the same.
    written.unlink()
    lesson.open_dialog("Settings", "Settings")
    lesson.look("settings-reopened")
    lesson.keys("Return")
    scenario.desktop.wait_until_closed("Settings")
    wait_until(lambda: written.exists() and written.read_bytes() == EXPERT_TIMES_AUTOPRODUCT, 5,
               "Data/settings.txt to be written again with the same settings")
    # With automatic products a multiple of 2 goes straight on to the remainder.
    lesson.keys("2", "Return")
    lesson.wait_for_look("automatic-product",
                         lambda s: look.entry_row_on(s, 2, look.AMOUNTS_COLUMN),
                         "the remainder to be asked for at once")
    quit_with_yes(lesson)
    expect(not repository_settings.exists() or
           repository_settings.read_bytes() == repository_before,
           "the repository's Data/settings.txt was changed")


def exit_prompt(scenario):
    """Escape asks "Had enough?"; No goes back to the lesson, Yes ends the program
    with 0; a close request from the window manager also ends it with 0."""
    lesson = scenario.launch()
    before = wait_for_question(lesson)
    answer_exit_prompt(lesson, "n")
    expect(lesson.run.running(), "the program ended although the answer was No")
    lesson.keys("4")
    lesson.wait_for_look("back-to-lesson",
                         lambda s: s.differing_pixels(before, look.BOARD_BOX) > 0,
                         "keys to reach the working-out again")
    quit_with_yes(lesson)

    lesson = scenario.launch()
    wait_for_question(lesson)
    from window_close import request_close  # needs python3-xlib; only this check does
    expect(request_close(scenario.display.name, lesson.run.window),
           "the window does not take WM_DELETE_WINDOW")
    code = lesson.run.wait_for_exit()
    expect(code == 0, f"closed by the window manager, the program ended with {code}, not 0")
    expect(not scenario.desktop.windows_titled(TITLE), "the window is still there")


def installed(scenario):
    """The installed program, started from a folder that holds none of its files, finds
    them in the installed tree: its pictures, its level table and its settings."""
    empty = scenario.empty_folder()
    lesson = scenario.launch(folder=empty)
    shot = wait_for_question(lesson)
    white = (255, 255, 255)
    for name, (left, top) in look.BUTTONS.items():
        box = (left, top, left + look.BUTTON_SIZE, top + look.BUTTON_SIZE)
        expect(shot.count(white, box) < look.BUTTON_SIZE * look.BUTTON_SIZE // 2,
               f"the {name} button's picture is missing, see {shot.path}")
    expect(shot.count(white, (500, 490, 700, 570)) < 200 * 80 * 9 // 10,
           f"the logo is missing, see {shot.path}")
    # The shipped settings say "lots of": the wording on the entry line is wide.
    expect(look.ink_width(shot, look.line_box(1, look.WORDING_COLUMN)) > 100,
           f'the working-out is not worded "lots of", see {shot.path}')
    quit_with_yes(lesson)


SCENARIOS = {
    "window": window,
    "create_question": create_question_dialog,
    "solve": solve,
    "hover_restart": hover_and_restart,
    "settings": settings,
    "exit": exit_prompt,
    "installed": installed,
}

# The keyboard on other layouts, system keys, input around modal windows, and the
# dialogs measured under a window manager.
from keyboard_dialogs import SCENARIOS as KEYBOARD_AND_DIALOG_SCENARIOS  # noqa: E402

SCENARIOS.update(KEYBOARD_AND_DIALOG_SCENARIOS)

# Keys for every command, and the window read through the accessibility service.
from screen_reader import SCENARIOS as SCREEN_READER_SCENARIOS  # noqa: E402

SCENARIOS.update(SCREEN_READER_SCENARIOS)

# The tutor's words and the key-facts box beside the board.
from tutor import SCENARIOS as TUTOR_SCENARIOS  # noqa: E402

SCENARIOS.update(TUTOR_SCENARIOS)

# The practice record and the teacher's report.
from record import SCENARIOS as RECORD_SCENARIOS  # noqa: E402

SCENARIOS.update(RECORD_SCENARIOS)

# The classroom: the class list, and sound on and off.
from classroom import SCENARIOS as CLASSROOM_SCENARIOS  # noqa: E402

SCENARIOS.update(CLASSROOM_SCENARIOS)

# Orca reading the lesson aloud.
from orca_speech import SCENARIOS as ORCA_SCENARIOS  # noqa: E402

SCENARIOS.update(ORCA_SCENARIOS)

# The program in the pupil's language.
from languages import SCENARIOS as LANGUAGE_SCENARIOS  # noqa: E402

SCENARIOS.update(LANGUAGE_SCENARIOS)
