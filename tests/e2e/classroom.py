"""The classroom on the Linux program: with a class file the program asks who is
practising and keeps that pupil's settings in a folder of their own; the cues reach the
audio device when sound is on, and nothing does when it is off. The audio device is a
PulseAudio server of the scenario's own with a null sink, whose monitor is recorded
while the pupil works."""

import array
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import lesson as look
import textmatch
from desktop import wait_until
from program import PLAIN_SETTINGS
from steps import (BEGINNER_RADIO, SETTINGS_UNITS, create_question, expect, wait_for_question,
                   work_in_two_steps)

RATE = 22050
# A cue is synthesised at half of full scale; the null sink passes it on unchanged.
LOUD = 0.2 * 32768
QUIET = 0.01 * 32768


class PrivateSound:
    """A PulseAudio server in a temporary folder with one null sink, and a recording of
    what is played into it."""

    def __init__(self):
        self.folder = Path(tempfile.mkdtemp(prefix="bricketing-sound-"))
        self.socket = self.folder / "native"
        env = dict(os.environ, XDG_RUNTIME_DIR=str(self.folder), PULSE_RUNTIME_PATH=str(self.folder),
                   HOME=str(self.folder))
        self.server = subprocess.Popen(
            ["pulseaudio", "--daemonize=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
             "--load=module-null-sink sink_name=cues",
             f"--load=module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = {"PULSE_SERVER": f"unix:{self.socket}"}
        wait_until(lambda: subprocess.run(["pactl", "list", "short", "sinks"], env=dict(
            os.environ, **self.env), capture_output=True, text=True).stdout.count("cues"),
            20, "the private sound server's null sink")
        self.recorder = None
        self.recording = self.folder / "recording.raw"

    def record(self):
        self.recording.write_bytes(b"")
        self.recorder = subprocess.Popen(
            ["parec", "--device=cues.monitor", "--raw", "--format=s16le", "--channels=1",
             f"--rate={RATE}", f"--file-format=raw"], env=dict(os.environ, **self.env),
            stdout=open(self.recording, "wb"), stderr=subprocess.DEVNULL)

    def samples(self):
        data = self.recording.read_bytes()
        return array.array("h", data[: len(data) // 2 * 2])

    def loudest(self):
        samples = self.samples()
        return max((abs(s) for s in samples), default=0)

    def seconds_recorded(self):
        return len(self.samples()) / RATE

    def close(self):
        for process in (self.recorder, self.server):
            if process and process.poll() is None:
                process.terminate()
                process.wait(timeout=10)
        shutil.rmtree(self.folder, ignore_errors=True)


def wrong_multiple(lesson, name):
    """20 lots of 7 from 100: too many, so the entry turns red (the wrong cue's moment)."""
    lesson.enter_number(20)
    return lesson.wait_for_look(name, lambda s: look.entry_error_pixels(s) > 40,
                                "the entry row in the error colour")


def sound(scenario):
    """With SOUND:ON a wrong entry's cue reaches the audio device within a second; with
    sound off, the same work leaves the device silent for three times as long as the
    cue took to arrive (and at least two seconds)."""
    audio = PrivateSound()
    scenario.cleanup.callback(audio.close)
    scenario.desktop.env.update(audio.env)

    lesson = scenario.launch(scenario.runtime_copy(PLAIN_SETTINGS + "\nSOUND:ON"))
    wait_for_question(lesson)
    create_question(lesson, 100, 7)
    audio.record()
    wait_until(lambda: audio.seconds_recorded() > 0.2, 20, "the recording to start")
    pressed = time.monotonic()
    wrong_multiple(lesson, "sound-on-wrong")
    wait_until(lambda: audio.loudest() > LOUD, 10, "the wrong entry's cue on the audio device")
    heard_after = time.monotonic() - pressed
    lesson.run.stop()

    lesson = scenario.launch(scenario.runtime_copy(PLAIN_SETTINGS))
    wait_for_question(lesson)
    create_question(lesson, 100, 7)
    audio.record()
    wait_until(lambda: audio.seconds_recorded() > 0.2, 20, "the recording to start")
    wrong_multiple(lesson, "sound-off-wrong")
    listened_from = audio.seconds_recorded()
    listen = max(2.0, 3 * heard_after)
    wait_until(lambda: audio.seconds_recorded() > listened_from + listen, 30,
               f"{listen:.1f} s more of recording")
    expect(audio.loudest() < QUIET, f"sound off, yet the device played {audio.loudest()}")


PICKER_TITLE = "Who is practising?"
CLASS = ["Amir", "Zoë", "Kai"]


def class_list(scenario):
    """A class file of three names, one outside ASCII (with a note and a blank line, as
    teachers write them): the program asks who is practising before the first question;
    Tab then Enter picks the second name; a question is worked; Settings' OK writes the
    settings into that pupil's folder only, starting from the class's settings, and the
    class's own file stays as it was."""
    folder = scenario.runtime_copy()
    data = folder / "Data"
    (data / "class.txt").write_text("# Class 4B\n" + "\n".join(CLASS[:2]) + "\n\n" + CLASS[2] + "\n",
                                    encoding="utf-8")
    class_settings = (data / "settings.txt").read_bytes()
    lesson = scenario.launch(folder)

    picker = lesson.desktop.wait_for_window(PICKER_TITLE)
    lesson.look("picker")
    expect(not (data / "pupils").exists(), "a pupil's folder was made before a name was chosen")
    lesson.desktop.focus(picker)
    lesson.keys("Tab", "Return")
    lesson.desktop.wait_until_closed(PICKER_TITLE)
    lesson.desktop.focus(lesson.run.window)
    wait_for_question(lesson, "picked")

    create_question(lesson, 100, 7)
    work_in_two_steps(lesson, 100, 7, 10, 4, 27)
    lesson.open_dialog("Settings", "Settings")
    lesson.look("settings")
    lesson.keys("Return")
    lesson.desktop.wait_until_closed("Settings")

    own = data / "pupils" / CLASS[1] / "settings.txt"
    wait_until(own.is_file, 10, f"the settings in {own}")
    pupils = sorted(p.name for p in (data / "pupils").iterdir())
    expect(pupils == [CLASS[1]], f"the pupils' folders are {pupils}, not {CLASS[1]}'s alone")
    text = own.read_text(encoding="utf-8")
    expect("DIFFICULTY:BEGINNER" in text and "AUTOPRODUCT:OFF" in text,
           f"{CLASS[1]}'s settings did not start from the class's: {text!r}")
    expect((data / "settings.txt").read_bytes() == class_settings,
           "saving a pupil's settings changed the class's settings file")
    lesson.run.stop()

    # Without the class file nothing changes: no name asked (Create Question works at
    # once, which a modal picker would prevent).
    (data / "class.txt").unlink()
    lesson = scenario.launch(folder)
    wait_for_question(lesson, "no-class")
    create_question(lesson, 345, 7)
    expect(not lesson.desktop.windows_titled(PICKER_TITLE),
           "the program asked who is practising without a class file")


TEACHER_LOCKS = "DIFFICULTY:EXPERT\nLOCK:DIFFICULTY\nCREATEQUESTION:OFF\n"


def expect_expert_question(lesson, name):
    """The question on screen is an Expert one: a four-digit dividend and a two-digit
    divisor, seven glyphs in the header."""
    shot = wait_for_question(lesson, name)
    glyphs = len(textmatch.ink_glyphs(shot, look.HEADER_BOX, look.HEADER_COLOUR))
    expect(glyphs == 7, f"the {name} question is not an Expert one ({glyphs} glyphs), "
           f"see {shot.path}")


def check_teacher_locks(lesson, settings_file):
    """With a teacher's file that sets and locks Expert and turns Create Question off,
    over a pupil's Beginner settings: the questions are Expert ones; Create Question
    only says that the teacher turned it off (the dialog itself would refuse an empty
    Enter with an Error box); in Settings a click on Beginner (which changes the level
    when it is not locked, as the settings scenario's clicks do) changes nothing, and OK
    keeps Expert in the pupil's file."""
    expect_expert_question(lesson, "taught")
    before = lesson.look("before-create-question")
    box = lesson.open_dialog("Create Question", "Create Question")
    lesson.look("create-question-turned-off")
    lesson.keys_to(box, "Return")
    lesson.desktop.wait_until_closed("Create Question")
    expect(not lesson.desktop.windows_titled("Error"),
           "Create Question opened its dialog although the teacher turned it off")
    after = lesson.look("after-create-question")
    changed = before.differing_pixels(after, look.HEADER_BOX)
    expect(changed == 0, f"the question changed behind the turned-off Create Question, "
           f"see {after.path}")

    dialog = lesson.open_dialog("Settings", "Settings")
    lesson.click_dialog_control(dialog, SETTINGS_UNITS, BEGINNER_RADIO)
    lesson.look("settings-locked")
    lesson.keys_to(dialog, "Return")
    lesson.desktop.wait_until_closed("Settings")
    saved = settings_file.read_text(encoding="utf-8")
    difficulty = [line.split("//")[0].strip() for line in saved.splitlines()
                  if line.startswith("DIFFICULTY:")]
    expect(difficulty == ["DIFFICULTY:EXPERT"],
           f"the locked difficulty was changed in Settings: {saved!r}")
    lesson.press_button("New Question")
    expect_expert_question(lesson, "new")


def teacher_locks(scenario):
    """The teacher's locks on the Linux program, from the portable copy's Data/."""
    folder = scenario.runtime_copy()
    (folder / "Data" / "teacher.txt").write_text(TEACHER_LOCKS, encoding="utf-8")
    check_teacher_locks(scenario.launch(folder), folder / "Data" / "settings.txt")


SCENARIOS = {"sound": sound, "class_list": class_list, "teacher_locks": teacher_locks}
