"""The program as a pupil with a screen reader and no mouse meets it: every command is
given from the keyboard, and what the window tells the accessibility service (AT-SPI,
on a private session bus) is read back with the reader helper and compared with what
the screen shows."""

import json
import subprocess
import sys
from pathlib import Path

import lesson as look
from desktop import wait_until
from display import end_process
from steps import expect, wait_for_question

READER = Path(__file__).with_name("atspi_reader.py")


class AccessibilityBus:
    """A private session bus with the accessibility bus launched on it; `env` reaches
    both, and asks Qt to serve the accessibility tree without an assistive tool being
    announced first."""

    def __init__(self, env):
        self.daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        address = self.daemon.stdout.readline().decode().strip()
        expect(address, "the session bus did not start")
        self.env = dict(env, DBUS_SESSION_BUS_ADDRESS=address,
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.launcher = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def tree(self):
        """The program's window as a reader sees it, or None before it is there."""
        result = subprocess.run([sys.executable, str(READER), "tree"], env=self.env,
                                capture_output=True, timeout=20, check=False)
        lines = result.stdout.decode().strip().splitlines()
        return json.loads(lines[-1]) if lines else None

    def listen(self, seconds):
        """A reader collecting the name changes of the next `seconds`; started once
        it listens."""
        listener = subprocess.Popen([sys.executable, str(READER), "events", str(seconds)],
                                    env=self.env, stdout=subprocess.PIPE)
        expect(json.loads(listener.stdout.readline())["type"] == "listening",
               "the reader did not start listening")
        return listener

    def close(self):
        end_process(self.launcher)
        end_process(self.daemon)


def heard(listener):
    output = listener.communicate(timeout=30)[0].decode()
    return [json.loads(line) for line in output.splitlines() if line.strip()]


def wait_for_tree(bus, condition, what):
    latest = []

    def satisfied():
        latest[:] = [bus.tree()]
        return latest[0] is not None and condition(latest[0])

    try:
        wait_until(satisfied, 15.0, what)
        return latest[0]
    except AssertionError as failure:
        raise AssertionError(f"{failure}; the reader saw {latest[0]}") from None


def current_line(tree):
    return tree["children"][0]["name"]


def screen_reader(scenario):
    """F3 sets 100 ÷ 7, whose question and first line the reader finds; a multiple too
    big is announced as wrong; a step is read, Delete takes it back; F2 starts a new
    question, and the reader's name for the window follows the header."""
    bus = AccessibilityBus(scenario.desktop.env)
    scenario.cleanup.callback(bus.close)
    scenario.desktop.env.update(bus.env)
    lesson = scenario.launch()
    wait_for_question(lesson)
    expect(bus.tree() is not None, "the reader finds no window of the program")

    lesson.keys("F3")
    lesson.desktop.wait_for_window("Create Question")
    lesson.enter_number(100)
    lesson.enter_number(7)
    lesson.desktop.wait_until_closed("Create Question")
    tree = wait_for_tree(bus, lambda tree: tree["name"] == "100 ÷ 7", 'the name "100 ÷ 7"')
    expect(look.shows_header(lesson.look("created-by-keys"), "100 ÷ 7"),
           "the header does not show 100 ÷ 7")
    expect(current_line(tree) == "How many lots of 7 to take from 100? Nothing typed yet.",
           f"the reader's current line is {current_line(tree)!r}")
    expect(tree["description"].startswith("100 ÷ 7\nStart with 100."),
           f"the working-out reads {tree['description']!r}")

    listener = bus.listen(3)
    lesson.enter_number(15)
    notices = [event["name"] for event in heard(listener) if event["role"] == "label"]
    wrong = "Wrong: 15 lots of 7 is more than 100. Press any key to try again."
    expect(wrong in notices, f"no notice of the wrong entry among {notices}")
    lesson.look("multiple-too-big")

    lesson.keys("BackSpace")  # any key clears the wrong entry
    for number in (10, 70, 30):
        lesson.enter_number(number)
    wait_for_tree(bus, lambda tree: "\n10 lots of 7 is 70; 30 left.\n" in tree["description"],
                  "the first step in the working-out's words")
    lesson.keys("Delete")
    wait_for_tree(bus, lambda tree: "30 left" not in tree["description"]
                  and current_line(tree).startswith("How many lots of 7 to take from 100?"),
                  "the step taken back by Delete")

    lesson.keys("F2")
    tree = wait_for_tree(bus, lambda tree: tree["name"] != "100 ÷ 7", "a new question's name")
    lesson.wait_for_look("new-question-by-F2",
                         lambda shot: look.shows_header(shot, tree["name"])
                         and not look.shows_header(shot, "100 ÷ 7"),
                         f"the header {tree['name']!r}")


SCENARIOS = {"screen_reader": screen_reader}
