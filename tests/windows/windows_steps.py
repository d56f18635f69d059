"""What the Windows end-to-end scenarios share: a scenario's X display, Wine prefix and
program runs; checks of the Windows program's own windows (its frame, Wine's message
boxes, the About picture); and the pupil's steps through the dialogs and the
working-out, each checked with the Linux suite's looks (places, colours, text)."""

import contextlib
import shutil
import zipfile
from pathlib import Path

import lesson as look
import textmatch
from desktop import WINDOW_SECONDS, Desktop, wait_until
from lesson import Lesson
from program import TITLE, ProgramRun
from scenarios import EXPERT_TIMES_AUTOPRODUCT, choose_expert_times_autoproduct
from screen import Screenshot
from steps import expect, work_in_two_steps
from wine import ROOT, NumberedDisplay, WinePrefix, crlf

# The About dialog and its OK button, in dialog units; the logo that opens it.
ABOUT_UNITS = (281, 120)
ABOUT_OK = (211, 76, 41, 14)
LOGO_POINT = (600, 530)
ABOUT_PICTURE = ROOT / "src" / "resources" / "about.bmp"

# Wine's message boxes: the message font (Tahoma at 8 points, 11 pixels, which the test
# prefix maps to Liberation Sans) and the height of the button row under the text.
MESSAGE_FONT_FAMILY = "Liberation Sans"
MESSAGE_FONT_PIXELS = 11
MESSAGE_BOX_BUTTON_ROW = 40

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Bricketing"
INSTALL_FOLDER = "Bricketing"
UNINSTALLER = "Uninstall.exe"
SHORTCUT = "Bricketing.lnk"

# The settings as the program writes them on Windows: text mode, CR LF line ends.
EXPECTED_SETTINGS = crlf(EXPERT_TIMES_AUTOPRODUCT.decode("ascii")).encode("ascii")


class WindowsScenario:
    """One scenario's display, Wine prefix, folders and program runs."""

    def __init__(self, dist, version, shots, work, display_number=None, user=None,
                 screen=None):
        """user: the Windows account's name (Wine takes it from USER) when the
        scenario needs one of its own; screen: the screen's size when not the usual."""
        self.dist = Path(dist)
        self.version = version
        self.shots = Path(shots)
        self.work = Path(work)
        shutil.rmtree(self.work, ignore_errors=True)
        self.work.mkdir(parents=True)
        self.cleanup = contextlib.ExitStack()
        try:
            self.display = self.cleanup.enter_context(
                NumberedDisplay(display_number, *([screen] if screen else [])))
            # Wine takes the user's language from LC_ALL when the system has no such
            # locale installed (LANG alone gives it US English, whose catalogue writes
            # "R2" where the checks read the British " rem.2").
            self.display.env["LC_ALL"] = self.display.env["LANG"]
            if user:
                # Wine reads names from the environment in the locale's encoding.
                self.display.env.update(USER=user, LANG="C.UTF-8", LC_ALL="C.UTF-8")
            self.desktop = Desktop(self.display.env)
            self.prefix = WinePrefix(self.work / "prefix", self.display.env,
                                     self.work / "wine.log")
            self.cleanup.callback(self.prefix.close)
        except BaseException:
            self.cleanup.close()
            raise
        print(f"a fresh Wine prefix in {self.prefix.made_in:.1f} s", flush=True)
        self.runs = 0

    @property
    def zip_file(self):
        return self.dist / f"Bricketing-{self.version}-win64.zip"

    @property
    def setup_file(self):
        return self.dist / f"Bricketing-{self.version}-setup.exe"

    def unpack_zip(self, into="Portable"):
        """The portable zip unpacked into a folder of the prefix's drive C; its program
        folder."""
        target = self.prefix.drive_c / into
        with zipfile.ZipFile(self.zip_file) as archive:
            archive.extractall(target)
        return target / f"Bricketing-{self.version}"

    def launch(self, folder, working_folder=None):
        """bricketing.exe of `folder` started under Wine in that folder (as its
        shortcut starts it) or in `working_folder`, seen as a Lesson whose shots go to
        a subfolder per run."""
        self.runs += 1
        shots = self.shots / f"run{self.runs}"
        shots.mkdir(parents=True, exist_ok=True)
        launcher = self.prefix.launcher(Path(folder) / "bricketing.exe", self.work)
        run = ProgramRun(launcher, working_folder or folder, self.desktop, shots / "program.log")
        self.cleanup.callback(run.stop)
        run.start(timeout=60)
        return Lesson(self.desktop, run, shots)

    def record_browser(self):
        """From now on a page opened in the browser (Wine hands it to xdg-open) is not
        shown but its address written to a file; returns that file. Web pages are
        opened by Wine's browser launcher, as a Windows installation opens them by its
        browser (the test prefixes have no browser of their own to register them)."""
        code = self.prefix.run("reg", "add", r"HKCR\.html", "/ve", "/d", "htmlfile", "/f")
        expect(code == 0, f"the .html association could not be added ({code})")
        folder = self.work / "browser"
        folder.mkdir(exist_ok=True)
        opened = self.work / "opened-in-browser.txt"
        script = folder / "xdg-open"
        script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$*" >"{opened}"\n')
        script.chmod(0o755)
        self.display.env["PATH"] = f"{folder}:{self.display.env['PATH']}"
        return opened

    def close(self):
        self.cleanup.close()


# Checks of the Windows program's own windows.

def check_window(lesson):
    """The main window: titled, its outer frame (caption and borders included) exactly
    800 x 600 at (100, 100), so the client area is what is left inside it; the
    picture's right and bottom edges fall outside. Without a window manager Wine's X
    window is the client area, so the frame is worked out from it: equal borders left,
    right and below, the caption above."""
    width, height = lesson.run.size
    x, y = lesson.run.origin
    border = (800 - width) / 2
    expect(0 < border <= 8 and 600 - height - border > 2 * border,
           f"the client area is {width} x {height}, not an 800 x 600 window's inside")
    expect((x - border, y - (600 - height - border)) == (100, 100),
           f"the client area {width} x {height} at ({x}, {y}) is not inside a window "
           f"at (100, 100)")
    expect(lesson.desktop.windows_titled(TITLE) == [lesson.run.window],
           f'not exactly one window titled "{TITLE}"')


def text_lines(coverage):
    """The ink coverage cut into lines of text at rows without a solid pixel."""
    rows = sorted({y for (_, y), value in coverage.items() if value >= textmatch.CUT})
    lines, current = [], []
    for y in rows:
        if current and y != current[-1] + 1:
            lines.append(current)
            current = []
        current.append(y)
    if current:
        lines.append(current)
    return [{p: v for p, v in coverage.items() if line[0] <= p[1] <= line[-1]} for line in lines]


def message_box_says(lesson, window, shot, text, slack=0.03):
    """True when the text of a Wine message box, above its buttons, is as wide as
    `text` in the message font. Wine wraps a long message at a space, so the lines'
    widths and the spaces where they were broken are added up."""
    left, top, width, height = lesson.desktop.geometry(window)
    x, y = left - lesson.run.origin[0], top - lesson.run.origin[1]
    box = (x, y, x + width, y + height - MESSAGE_BOX_BUTTON_ROW)
    lines = text_lines(textmatch.ink_coverage(shot, box, (0, 0, 0)))

    def width_of(sample):
        return textmatch.solid_width(textmatch.joined(
            textmatch.reference_glyphs(sample, MESSAGE_FONT_PIXELS, MESSAGE_FONT_FAMILY)))

    space = width_of("x x") - width_of("xx")
    seen = sum(textmatch.solid_width(line) for line in lines) + space * (len(lines) - 1)
    expected = width_of(text)
    return bool(lines) and abs(seen - expected) <= slack * expected


def picture_shown(shot, picture, box, share=0.8):
    """True when the picture appears pixel for pixel somewhere in the box of the
    screenshot: `share` of its pixels, since a dialog's controls may lie over it and
    its bottom may be cut off. Places are found from one row a quarter of the way
    down, which is the logo's and unlike the rows around it."""
    stride, row_bytes = shot.width * 3, picture.width * 3
    key_row = picture.height // 4
    key = picture.samples[key_row * row_bytes:(key_row + 1) * row_bytes]
    left, top, right, bottom = shot._clipped(*box)
    for sy in range(top + key_row, bottom):
        start, end = sy * stride + left * 3, sy * stride + right * 3
        at = shot.samples.find(key, start, end)
        while at >= 0:
            if (at - sy * stride) % 3 == 0:
                corner = at - key_row * stride
                same = 0
                for y in range(min(picture.height, bottom - (sy - key_row))):
                    seen = shot.samples[corner + y * stride:corner + y * stride + row_bytes]
                    wanted = picture.samples[y * row_bytes:(y + 1) * row_bytes]
                    same += sum(1 for i in range(0, row_bytes, 3)
                                if seen[i:i + 3] == wanted[i:i + 3])
                if same >= share * picture.width * picture.height:
                    return True
            at = shot.samples.find(key, at + 1, end)
    return False


def window_box(lesson, window):
    """A window's inside as a box in client-area coordinates."""
    left, top, width, height = lesson.desktop.geometry(window)
    x, y = left - lesson.run.origin[0], top - lesson.run.origin[1]
    return x, y, x + width, y + height


# The pupil's steps.

def work_100_by_7(lesson):
    """100 ÷ 7 worked through: 10 lots of 7 (70, leaving 30), 4 lots of 7 with a wrong
    product first (27, shown in the error colour, named by the tutor and cleared by the
    next key), then 28, leaving 2, and the answer 14 with the tutor's praise; Wine draws
    the tutor's small print unlike the reference, so its note is checked by width."""
    shot = work_in_two_steps(lesson, 100, 7, 10, 4, 27, says=look.tutor_says_roughly)
    expect(look.shows_remainder_part(shot, " rem.2"),
           "the remainder part is missing: " + textmatch.describe(
               shot, look.ANSWER_BOX, " rem.2", look.REMAINDER_COLOUR, look.MAIN_FONT_PIXELS))
    expect(look.shows_on_line(shot, 4, look.MULTIPLES_COLUMN, "14", look.QUOTIENT_COLOUR),
           "the working-out does not end with the answer 14")
    expect(not look.shows_quotient(shot, "= 15"), "the answer check cannot tell 14 from 15")
    expect(look.entry_error_pixels(shot) == 0, "something is still in the error colour")
    return shot


def open_and_close_about(lesson):
    """A press on the logo opens the About dialog, which shows the About picture
    (bitmap 118) as it is stored; its OK button closes it."""
    picture = Screenshot.load(ABOUT_PICTURE)
    lesson.move_to(*LOGO_POINT)
    before = lesson.look("before-about")
    lesson.desktop.click()
    dialog = lesson.desktop.wait_for_window("About")
    box = window_box(lesson, dialog)
    expect(not picture_shown(before, picture, box),
           "the picture check finds the About picture before the dialog opened")
    lesson.wait_for_look("about-dialog", lambda s: picture_shown(s, picture, box),
                         "the About picture in the About dialog")
    lesson.click_dialog_control(dialog, ABOUT_UNITS, ABOUT_OK)
    lesson.desktop.wait_until_closed("About")


def confirm_settings(lesson):
    """Settings: AutoProduct on (by keys), "x" and Expert (by clicks), confirmed."""
    choose_expert_times_autoproduct(lesson, shot_name="settings-dialog")


def quit_with_yes(lesson, caption="Had enough?", question="Finished bricketing for today?"):
    """Escape asks "Had enough?" (or its translation); Yes (the default button) ends the
    program with 0."""
    lesson.keys_to(lesson.run.window, "Escape")
    prompt = lesson.desktop.wait_for_window(caption)
    lesson.wait_for_look("had-enough",
                         lambda shot: message_box_says(lesson, prompt, shot, question),
                         f'the prompt asking "{question}"')
    lesson.keys_to(prompt, "Return")
    code = lesson.run.wait_for_exit(timeout=WINDOW_SECONDS)
    expect(code == 0, f"the program ended with exit code {code}, not 0")
    lesson.desktop.wait_until_closed(TITLE)


def wait_for_file(path, expected, what):
    wait_until(lambda: path.exists() and path.read_bytes() == expected, WINDOW_SECONDS,
               f"{what} to hold exactly the four settings lines with CR LF "
               f"(it holds {path.read_bytes() if path.exists() else 'nothing'!r})")
