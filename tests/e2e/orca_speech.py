"""A real screen reader listening to the program: Orca on the scenario's display, on
the session bus the test runs in (ctest starts it under dbus-run-session), with the
accessibility bus launched on it and speech-dispatcher answering through a generic
module that writes each text to a file instead of speaking it. What Orca said is
read from its debug file's "SPEECH OUTPUT" lines.

The pupil works 100 ÷ 7 by keys alone, with one wrong product, and after every key
the words Orca spoke are waited for; no key asks Orca where the pupil is."""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from desktop import wait_until
from display import end_process
from steps import expect, wait_for_question

# The module speech-dispatcher runs for every text: it appends the text to a file.
LOGGER_MODULE = """\
GenericExecuteSynth "printf '%s\\\\n' \\'$DATA\\' >> {log}"
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "logger"
"""
SPEECHD_CONF = """\
AddModule "logger" "sd_generic" "logger.conf"
DefaultModule logger
AudioOutputMethod "alsa"
AudioALSADevice "default"
LanguageDefaultModule "en" "logger"
DefaultLanguage "en"
LogLevel 2
LogDir "{logs}"
"""
# The module opens a sound device even though it plays nothing: ALSA's null device.
ASOUNDRC = "pcm.!default { type null }\nctl.!default { type hw card 0 }\n"
# Orca writes its debug file through a buffer it never flushes; Python started with
# this module on its path writes that one file a line at a time, as it is written.
LINE_BUFFERED_DEBUG_FILE = """\
import builtins
import os

_debug_file = os.environ.get("BRICKETING_ORCA_DEBUG_FILE")
_open = builtins.open


def _open_line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if _debug_file and str(file) == _debug_file and "w" in mode:
        buffering = 1
    return _open(file, mode, buffering, *args, **kwargs)


builtins.open = _open_line_buffered
"""
# One utterance: its text (over several lines when it has line breaks), then the voice.
SPEECH_LINE = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(?:voice=\S+ ?)?\[?\{", re.DOTALL)


class SpokenWords:
    """Orca and speech-dispatcher on `env`'s display and session bus; `spoken()` is
    everything Orca has said so far, oldest first."""

    def __init__(self, env):
        expect(env.get("DBUS_SESSION_BUS_ADDRESS"),
               "run under dbus-run-session: Orca needs a session bus of its own")
        for tool in ("orca", "speech-dispatcher", "openbox"):
            expect(shutil.which(tool), f"{tool} is needed (scripts/setup installs it)")
        self.folder = Path(tempfile.mkdtemp(prefix="bricketing-orca-"))
        self.folder.chmod(0o700)
        self.debug_file = self.folder / "orca-debug.txt"
        self.synthesised = self.folder / "synthesised.txt"
        self.processes = []
        home = self.folder / "home"
        (home / ".config").mkdir(parents=True)
        (home / ".asoundrc").write_text(ASOUNDRC)
        self.env = dict(env, HOME=str(home), XDG_CONFIG_HOME=str(home / ".config"),
                        XDG_DATA_HOME=str(home / ".local" / "share"),
                        XDG_CACHE_HOME=str(home / ".cache"), XDG_RUNTIME_DIR=str(self.folder),
                        GTK_A11Y="atspi", NO_AT_BRIDGE="0",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        SPEECHD_ADDRESS=f"unix_socket:{self.folder / 'speechd.sock'}")
        hooks = self.folder / "hooks"
        hooks.mkdir()
        (hooks / "sitecustomize.py").write_text(LINE_BUFFERED_DEBUG_FILE)
        self.speech_dispatcher_pid = self.folder / "speech-dispatcher.pid"
        try:
            self._start(["openbox", "--sm-disable"])
            self._start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
            self._start_speech_dispatcher()
            self._start(["orca", "--replace", f"--debug-file={self.debug_file}"],
                        PYTHONPATH=str(hooks), BRICKETING_ORCA_DEBUG_FILE=str(self.debug_file))
            # Orca says so once it listens to the applications' events. Its first start on
            # a freshly set-up machine under load has taken over a minute.
            wait_until(lambda: self.spoken(), 180.0, "Orca to start and say so")
        except BaseException:
            self.close()
            raise

    def _start(self, command, **extra_env):
        log = open(self.folder / (Path(command[0]).name + ".log"), "wb")
        # The program's own language is pinned by a locale name this machine may not have
        # installed; speech-dispatcher gives up when setlocale fails, so the reader's side
        # runs in the C locale, which is always there.
        env = dict(self.env, LANG="C.UTF-8", **extra_env)
        env.pop("LANGUAGE", None)
        process = subprocess.Popen(command, env=env, stdout=log,
                                   stderr=subprocess.STDOUT)
        log.close()
        self.processes.append(process)
        return process

    def _start_speech_dispatcher(self):
        config = self.folder / "speechd"
        (config / "modules").mkdir(parents=True)
        (config / "speechd.conf").write_text(SPEECHD_CONF.format(logs=self.folder))
        (config / "modules" / "logger.conf").write_text(
            LOGGER_MODULE.format(log=self.synthesised))
        socket = self.folder / "speechd.sock"
        # It leaves the process started here and goes on in the background.
        self._start(["speech-dispatcher", "--run-daemon", "--timeout", "0",
                     "--pid-file", str(self.speech_dispatcher_pid),
                     "--config-dir", str(config), "--socket-path", str(socket),
                     "--communication-method", "unix_socket"])
        wait_until(socket.exists, 20.0, "speech-dispatcher's socket")

    def debug_text(self):
        try:
            return self.debug_file.read_text(errors="replace")
        except FileNotFoundError:
            return ""

    def spoken(self):
        return [re.sub(r"\n\s+", "\n", match.group(1))
                for match in SPEECH_LINE.finditer(self.debug_text())]

    def synthesised_lines(self):
        try:
            return self.synthesised.read_text(errors="replace").splitlines()
        except FileNotFoundError:
            return []

    def close(self):
        for process in reversed(self.processes):
            end_process(process)
        try:
            os.kill(int(self.speech_dispatcher_pid.read_text().strip()), signal.SIGTERM)
        except (OSError, ValueError):
            pass
        keep = os.environ.get("BRICKETING_KEEP_ORCA_LOG")
        if keep:
            shutil.copytree(self.folder, keep, dirs_exist_ok=True,
                            ignore=shutil.ignore_patterns("*.sock", "*.pid", "at-spi*", "dconf", "pulse"))
        shutil.rmtree(self.folder, ignore_errors=True)


def wait_for_speech(words, since, wanted, what, timeout=30.0):
    """Waits until Orca, after its `since`-th utterance, has said every text in
    `wanted` (each a part of one utterance); returns what it said since then."""
    said = []

    def heard_all():
        said[:] = words.spoken()[since:]
        return all(any(text in utterance for utterance in said) for text in wanted)

    try:
        wait_until(heard_all, timeout, what)
    except AssertionError as failure:
        raise AssertionError(f"{failure}; Orca said {said}") from None
    return said


# 100 ÷ 7 by keys: each step's keys and what Orca must say after them.
WORKED_EXAMPLE = [
    (["1", "0", "Return"], ["What is 10 lots of 7?"]),
    (["7", "7", "Return"], ["Wrong: 10 lots of 7 is not 77. Press any key to try again."]),
    (["BackSpace"], ["What is 10 lots of 7? Nothing typed yet."]),
    (["7", "0", "Return"], ["What is 100 take away 70?"]),
    (["3", "0", "Return"], ["10 lots of 7 is 70; 30 left.", "How many lots of 7 to take from 30?"]),
    (["4", "Return"], ["What is 4 lots of 7?"]),
    (["Delete"], ["Step taken back.", "How many lots of 7 to take from 30?"]),
    (["4", "Return"], ["What is 4 lots of 7?"]),
    (["2", "8", "Return"], ["What is 30 take away 28?"]),
    (["2", "Return"], ["4 lots of 7 is 28; 2 left.", "The answer: what is 10 + 4?"]),
    (["1", "4", "Return"], ["The answer is 14 remainder 2."]),
    (["F5"], ["Started again.", "How many lots of 7 to take from 100?"]),
    (["1", "Return"], ["What is 100 take away 7?"]),  # one lot's product is written for you
    (["9", "3", "Return"], ["1 lot of 7 is 7; 93 left.", "How many lots of 7 to take from 93?"]),
    (["r"], ["Repeat: 1 lot of 7.", "What is 93 take away 7?"]),  # R: Insert's twin
    (["F2"], ["New question:"]),
]


def orca(scenario):
    """Orca speaks the question at the start, the names of Create Question's fields,
    the question made there, then every prompt, the wrong product, each completed
    line, the step taken back, the answer, Restart Question, a step repeated with R
    and New Question, each without being asked."""
    words = SpokenWords(scenario.display.env)
    scenario.cleanup.callback(words.close)
    scenario.desktop.env.update(words.env)
    lesson = scenario.launch()
    wait_for_question(lesson)
    said = wait_for_speech(words, 0, ["÷"], "Orca to say the question at the start")
    print("start:", said, flush=True)

    since = len(words.spoken())
    lesson.keys("F3")
    lesson.desktop.wait_for_window("Create Question")
    said = wait_for_speech(words, since, ["Dividend"], "Orca to name the dividend's field")
    print("F3:", said, flush=True)
    # Enter moves on to the divisor, which Orca follows without naming it: Qt tells it
    # the caret moved there before it tells it the focus did.
    since = len(words.spoken())
    lesson.enter_number(100)
    lesson.enter_number(7)
    lesson.desktop.wait_until_closed("Create Question")
    # The notice of the new question comes while the dialog still has the focus, so
    # Orca drops it; it reads the window again when the window has the focus back.
    said = wait_for_speech(words, since, ["100 ÷ 7", "How many lots of 7 to take from 100?"],
                           "Orca to say the question made in Create Question")
    print("1 0 0 Return 7 Return:", said, flush=True)

    for keys, wanted in WORKED_EXAMPLE:
        since = len(words.spoken())
        lesson.keys(*keys)
        said = wait_for_speech(words, since, wanted, f"Orca to say {wanted} after {keys}")
        print(" ".join(keys) + ":", said, flush=True)
    expect(any(line for line in words.synthesised_lines()),
           "speech-dispatcher's logging module received nothing from Orca")


SCENARIOS = {"orca": orca}
