"""What the end-to-end scenarios and the demonstration share: a scenario's virtual
display, folders and program runs, and the steps a pupil takes again and again
(creating a question, working 345 ÷ 7, answering the exit prompt), each checked."""

import contextlib
import shutil
import tempfile
from pathlib import Path

import lesson as look
import textmatch
from desktop import Desktop
from display import VirtualDisplay
from lesson import Lesson
from program import PLAIN_SETTINGS, ProgramRun, make_runtime_copy

# An empty part of the working-out, where the pointer rests when no button is wanted.
AWAY_FROM_BUTTONS = (240, 500)

# Message boxes: the application's default font, 9 points at 96 dots per inch, and
# the height of the button row under the text.
DIALOG_FONT_FAMILY = "Sans Serif"
DIALOG_FONT_PIXELS = 12
MESSAGE_BOX_BUTTON_ROW = 40


# The Settings dialog's size and some of its radio buttons, in dialog units.
SETTINGS_UNITS = (334, 156)
BEGINNER_RADIO = (15, 17, 55, 21)
EXPERT_RADIO = (15, 97, 55, 21)
TIMES_RADIO = (100, 100, 30, 16)


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


class Scenario:
    """One scenario's display, folders and program runs; `close` stops whatever still
    runs and removes the temporary folders."""

    def __init__(self, program, source_root, shots):
        self.program = Path(program)
        self.source_root = Path(source_root)
        self.shots = Path(shots)
        self.cleanup = contextlib.ExitStack()
        self.display = self.cleanup.enter_context(VirtualDisplay())
        self.desktop = Desktop(self.display.env)
        self.runs = 0

    def runtime_copy(self, settings=PLAIN_SETTINGS):
        folder = make_runtime_copy(self.source_root, settings)
        self.cleanup.callback(shutil.rmtree, folder, ignore_errors=True)
        return folder

    def empty_folder(self):
        """A fresh temporary folder with nothing in it."""
        folder = Path(tempfile.mkdtemp(prefix="bricketing-e2e-empty-"))
        self.cleanup.callback(shutil.rmtree, folder, ignore_errors=True)
        return folder

    def launch(self, folder=None):
        """The program started in `folder` (a fresh copy by default), seen as a Lesson
        whose shots go to a subfolder per run."""
        folder = folder or self.runtime_copy()
        self.runs += 1
        shots = self.shots if self.runs == 1 else self.shots / f"run{self.runs}"
        shots.mkdir(parents=True, exist_ok=True)
        run = ProgramRun(self.program, folder, self.desktop, shots / "program.log")
        self.cleanup.callback(run.stop)
        run.start()
        return Lesson(self.desktop, run, shots)

    def close(self):
        self.cleanup.close()


# Steps shared by several scenarios.

def wait_for_question(lesson, name="start"):
    return lesson.wait_for_look(
        name, lambda shot: shot.count(look.HEADER_COLOUR, look.HEADER_BOX) > 50,
        "a question in the header")


def create_question(lesson, dividend, divisor):
    """Through the Create Question dialog: the dividend, Enter, the divisor, Enter."""
    dialog = lesson.open_dialog("Create Question", "Create Question")
    lesson.look("create-question-open")
    lesson.keys_to(dialog, *str(dividend), "Return")
    lesson.keys_to(dialog, *str(divisor), "Return")
    lesson.desktop.wait_until_closed("Create Question")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    question = f"{dividend} ÷ {divisor}"
    return lesson.wait_for_look(
        "question-" + f"{dividend}-by-{divisor}",
        lambda shot: look.shows_header(shot, question)
        and look.shows_on_line(shot, 0, look.AMOUNTS_COLUMN, str(dividend), look.INK_COLOUR)
        and look.entry_row_on(shot, 1, look.MULTIPLES_COLUMN)
        and look.caption_pixels(shot) == 0,
        f'the header "{question}", a fresh working-out and no caption')


def message_box_says(lesson, window, shot, text):
    """True when the message box's one line of text, above its buttons, is as wide as
    `text` in the dialogs' font."""
    left, top, width, height = lesson.desktop.geometry(window)
    x, y = left - lesson.run.origin[0], top - lesson.run.origin[1]
    box = (x, y, x + width, y + height - MESSAGE_BOX_BUTTON_ROW)
    return textmatch.line_width_matches(shot, box, text, (0, 0, 0), DIALOG_FONT_PIXELS,
                                        DIALOG_FONT_FAMILY)


def answer_exit_prompt(lesson, key):
    """Escape, then a key in the "Had enough?" box."""
    lesson.keys("Escape")
    prompt = lesson.desktop.wait_for_window("Had enough?")
    lesson.wait_for_look(
        "had-enough",
        lambda shot: message_box_says(lesson, prompt, shot, "Finished bricketing for today?"),
        'the prompt asking "Finished bricketing for today?"')
    lesson.keys_to(prompt, key)
    lesson.desktop.wait_until_closed("Had enough?")


def quit_with_yes(lesson):
    answer_exit_prompt(lesson, "Return")  # Yes is the default button
    code = lesson.run.wait_for_exit()
    expect(code == 0, f"the program ended with exit code {code}, not 0")


def work_in_two_steps(lesson, dividend, divisor, first, second, wrong_product, slip=None,
                      praise=None, says=look.tutor_says):
    """The pupil works the question through in two steps: `first` lots of the divisor,
    then `second` lots with the wrong product `wrong_product` typed first (shown in the
    error colour, named by the tutor as not quite and cleared by the next key), then the
    right one, and the answer, which the tutor praises and checks (`says` reads the
    tutor's note the way the platform draws it). Each step waits for the working-out to
    show its outcome; the last shot is returned. `slip` and `praise` are the tutor's
    words in another language than English."""
    def step(name, number, condition, what):
        lesson.keys(*str(number), "Return")
        return lesson.wait_for_look(name, condition, what)

    multiples, amounts = look.MULTIPLES_COLUMN, look.AMOUNTS_COLUMN
    first_product, second_product = first * divisor, second * divisor
    first_left = dividend - first_product
    remainder = first_left - second_product
    answer = first + second
    step(f"multiple-{first}", first,
         lambda s: look.entry_row_on(s, 1, amounts)
         and look.shows_on_line(s, 1, multiples, str(first), look.INK_COLOUR),
         f"the product to be asked for beside {first}")
    step(f"product-{first_product}", first_product,
         lambda s: look.entry_row_on(s, 2, amounts)
         and look.shows_on_line(s, 1, amounts, str(first_product), look.INK_COLOUR),
         f"the remainder to be asked for under {first_product}")
    step(f"remainder-{first_left}", first_left,
         lambda s: look.entry_row_on(s, 3, multiples)
         and look.shows_on_line(s, 1, multiples, str(first), look.QUOTIENT_COLOUR)
         and look.shows_on_line(s, 1, amounts, str(first_product), look.SPENT_COLOUR)
         and look.shows_on_line(s, 2, amounts, str(first_left), look.INK_COLOUR),
         f"the first step completed, {first_left} remaining")
    step(f"multiple-{second}", second,
         lambda s: look.entry_row_on(s, 3, amounts), f"the product to be asked for beside {second}")
    slip = slip or f"Not quite. What are {second} lots of {divisor}?"
    wrong = step(f"wrong-product-{wrong_product}", wrong_product,
                 lambda s: look.entry_error_pixels(s) > 40 and says(s, slip),
                 f'the entry row in the error colour and the tutor saying "{slip}"')
    expect(look.entry_row_on(wrong, 3, amounts, look.ENTRY_ERROR_COLOUR),
           "the error colour is not on the product's place")
    # The key after a wrong entry only clears it: this digit must not be typed.
    lesson.keys(str(second_product)[0])
    lesson.wait_for_look("error-cleared",
                         lambda s: look.entry_error_pixels(s) == 0 and look.entry_row_on(s, 3, amounts),
                         "the error colour to go")
    step(f"product-{second_product}", second_product,
         lambda s: look.entry_row_on(s, 4, amounts) and look.entry_error_pixels(s) == 0,
         f"the remainder to be asked for under {second_product}")
    step(f"remainder-{remainder}", remainder,
         lambda s: look.entry_row_on(s, 4, multiples)
         and look.shows_on_line(s, 4, amounts, str(remainder), look.REMAINDER_COLOUR),
         f"the answer to be asked for beside the remainder {remainder}")
    check = (f"{answer} × {divisor} + {remainder}" if remainder else f"{answer} × {divisor}")
    praise = praise or ("You spotted your slips and put them right. Well done for keeping "
                        f"going. Check: {check} = {dividend}.")
    return step(f"answer-{answer}", answer,
                lambda s: look.shows_quotient(s, f"= {answer}") and says(s, praise),
                f'the answer "= {answer}" under the header and the tutor saying "{praise}"')


def work_345_by_7(lesson):
    """345 ÷ 7: 40 lots of 7 (280, leaving 65), 9 lots with 64 typed before 63, leaving
    2, and the answer 49."""
    return work_in_two_steps(lesson, 345, 7, 40, 9, 64)
