"""The program's window read from another Windows process as a screen reader reads it:
the reader (tests/windows/reader, built with the Windows tests) asks for the window's
accessible object with AccessibleObjectFromWindow and prints its name, value and
description."""

import subprocess

import lesson as look
from desktop import WINDOW_SECONDS, wait_until
from steps import expect
from wine import ROOT

READER = ROOT / "build-windows" / "win32_accessible_reader.exe"


def read_window(scenario):
    """{"name": ..., "value": ..., "description": ...} of the running program's window."""
    expect(READER.is_file(), f"the accessible reader {READER} is missing; "
           "scripts/test-windows builds it")
    result = subprocess.run(["wine", str(READER)], env=scenario.prefix.env, capture_output=True,
                            timeout=60)
    lines = result.stdout.decode("utf-8", "replace").splitlines()
    expect(result.returncode == 0, f"the reader found no accessible window: {lines}")
    fields = dict(line.split("=", 1) for line in lines if "=" in line)
    return {field: text.replace("\\n", "\n") for field, text in fields.items()}


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
