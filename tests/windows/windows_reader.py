"""The program's window read from another Windows process as a screen reader reads it:
the reader (tests/windows/reader, built with the Windows tests) asks for the window's
accessible object with AccessibleObjectFromWindow and prints its name, value and
description, or the names of a dialog's controls. The words expected in another
language are the program's own catalogue's (Resources/locale/<code>.mo)."""

import gettext
import subprocess

import lesson as look
from desktop import WINDOW_SECONDS, wait_until
from steps import expect
from wine import ROOT

READER = ROOT / "build-windows" / "win32_accessible_reader.exe"


def reader_lines(scenario, *arguments):
    expect(READER.is_file(), f"the accessible reader {READER} is missing; "
           "scripts/test-windows builds it")
    result = subprocess.run(["wine", str(READER), *arguments], env=scenario.prefix.env,
                            capture_output=True, timeout=60)
    lines = result.stdout.decode("utf-8", "replace").splitlines()
    expect(result.returncode == 0, f"the reader found no accessible window: {lines}")
    return [line.split("=", 1) for line in lines if "=" in line]


def read_window(scenario):
    """{"name": ..., "value": ..., "description": ...} of the running program's window."""
    fields = dict(reader_lines(scenario))
    return {field: text.replace("\\n", "\n") for field, text in fields.items()}


def control_names(scenario, title):
    """The names a reader gives the controls of the window titled `title`."""
    return [text for field, text in reader_lines(scenario, title) if field == "control"]


def catalogue(folder, code):
    """The program's catalogue for a language, from its copy in `folder`."""
    with open(folder / "Resources" / "locale" / f"{code}.mo", "rb") as mo:
        return gettext.GNUTranslations(mo)


def english_left(texts, words):
    """The texts still shown in English although the catalogue `words` translates them
    (a text that is some other message's translation, as the Dutch "Beginner" is, is
    not counted); a reader's names drop the "&" of an access key."""
    messages = {key.split("\x04")[-1]: value for key, value in words._catalog.items()
                if isinstance(key, str) and key}
    translated = {value.replace("&", "") for value in messages.values()}
    return [text for text in texts
            if any(text == english.replace("&", "") and value != english
                   for english, value in messages.items()) and text not in translated]


def expect_window_reads(scenario, name, value):
    """Waits until the window reads `name` and `value` (the program publishes them with
    its next frame, which a busy machine delays), then checks the description."""
    words = {}

    def reads():
        words.clear()
        words.update(read_window(scenario))
        return words.get("name") == name and words.get("value") == value

    wait_until(reads, WINDOW_SECONDS, f"the window to read {name!r} and {value!r}")
    expect(words.get("description", "").startswith(name + "\n"),
           f"the window's description is {words.get('description')!r}")


def new_question_by_key(scenario, lesson, old_name):
    """F2 starts a new question: the window's accessible name leaves `old_name` and the
    header shows the new one."""
    lesson.keys_to(lesson.run.window, "F2")
    words = {}

    def renamed():
        words.update(read_window(scenario))
        return words.get("name") not in (None, old_name)

    wait_until(renamed, WINDOW_SECONDS, f"a new accessible name after F2 (still {words.get('name')!r})")
    lesson.wait_for_look("new-question-by-F2", lambda shot: look.shows_header(shot, words["name"]),
                         f"the header {words['name']!r}")
