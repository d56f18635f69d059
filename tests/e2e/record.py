"""The practice record end to end: 100 ÷ 7 worked with one wrong product leaves the rows
the shared example holds (tests/record/), and bricketing --report writes a page that
names the pupil, opened through xdg-open as Help is, and drawn by a headless browser."""

import getpass
import os
import shutil
import stat
import subprocess
from pathlib import Path

from desktop import wait_until
from steps import create_question, expect, quit_with_yes, wait_for_question, work_in_two_steps

CLOCK = "2026-01-05T09:00:00+01:00"
BOM = b"\xef\xbb\xbf"


def rows(data):
    """The file's lines, each with its CR LF."""
    return data.splitlines(keepends=True)


def fake_opener(folder):
    """A folder holding an xdg-open that notes what it was asked to open."""
    bin_folder = folder / "bin"
    bin_folder.mkdir()
    opener = bin_folder / "xdg-open"
    opener.write_text('#!/bin/sh\nprintf "%s" "$1" > "$(dirname "$0")/opened.txt"\n')
    opener.chmod(opener.stat().st_mode | stat.S_IEXEC)
    return bin_folder


def render(page, shots):
    """The page as a browser builds it (its script run), and a screenshot of it."""
    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    expect(browser, "no Chromium to draw the report with")
    flags = [browser, "--headless", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
             "--virtual-time-budget=5000"]
    dom = subprocess.run(flags + ["--dump-dom", page.as_uri()], capture_output=True, text=True,
                         timeout=120, check=True).stdout
    subprocess.run(flags + [f"--screenshot={shots / 'report.png'}", "--window-size=1100,2400",
                            page.as_uri()], capture_output=True, timeout=120, check=True)
    return dom


def record(scenario):
    expected_questions = (Path(scenario.source_root) / "tests/record/100-by-7-questions.csv").read_bytes()
    expected_entries = (Path(scenario.source_root) / "tests/record/100-by-7-entries.csv").read_bytes()
    pupil = getpass.getuser()

    scenario.desktop.env = dict(scenario.desktop.env, BRICKETING_RECORD_CLOCK=CLOCK)
    folder = scenario.runtime_copy()
    lesson = scenario.launch(folder)
    wait_for_question(lesson)
    create_question(lesson, 100, 7)
    work_in_two_steps(lesson, 100, 7, 10, 4, 27)
    quit_with_yes(lesson)

    pupil_folder = folder / "Data" / "record" / pupil
    questions = (pupil_folder / "questions.csv").read_bytes()
    entries = (pupil_folder / "entries.csv").read_bytes()
    expect(entries == expected_entries,
           f"entries.csv differs from the shared example:\n{entries!r}\n{expected_entries!r}")
    # The first question, drawn from Beginner, was left by Create Question; then 100 ÷ 7.
    lines = rows(questions)
    expect(questions.startswith(BOM) and len(lines) == 3, f"questions.csv holds {lines!r}")
    first = lines[1].decode().rstrip("\r\n").split(",")
    expect(first[3:8] == ["beginner", "lots of", "off", "off", "beginner"]
           and first[10:12] == ["left", "create-question"] and first[2] == pupil,
           f"the first question's row is {first}")
    worked = rows(expected_questions)
    expect(lines[0] == worked[0] and lines[2] == worked[1].replace(b"this device", pupil.encode()),
           f"the 100 ÷ 7 row is {lines[2]!r}, not {worked[1]!r}")

    # A second machine's record gathered into a folder, merged into the class view.
    gathered = scenario.empty_folder()
    other = gathered / "room 2" / "stick" / "Zoë"
    other.mkdir(parents=True)
    (other / "questions.csv").write_bytes(expected_questions.replace(b"this device", "Zoë".encode()))
    (other / "entries.csv").write_bytes(expected_entries)

    bin_folder = fake_opener(scenario.empty_folder())
    env = dict(scenario.desktop.env, PATH=f"{bin_folder}{os.pathsep}{os.environ['PATH']}")
    log = scenario.shots / "report.log"
    with open(log, "wb") as output:
        code = subprocess.run([str(scenario.program), "--report", str(gathered)], cwd=folder,
                              env=env, stdout=output, stderr=output, timeout=60).returncode
    expect(code == 0, f"bricketing --report ended with {code}, see {log}")
    opened_note = bin_folder / "opened.txt"
    wait_until(opened_note.exists, 30.0, "the report to be opened")
    page = Path(opened_note.read_text())
    expect(page == (folder / "Data" / "record" / "report.html").resolve(),
           f"the report opened is {page}")
    dom = render(page, scenario.shots)
    for text in (pupil, "Zoë", "Practice record", "Questions per day", "Not quite",
                 "4 lots of 7 typed as 27"):
        expect(text in dom, f'the report does not show "{text}"; see {scenario.shots}/report.png')
    expect(dom.count("<canvas") >= 12, "the report has fewer charts than its three views need")


SCENARIOS = {"record": record}
