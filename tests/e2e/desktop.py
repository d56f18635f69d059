"""What a pupil does at the virtual display, through xdotool: finding windows by title,
moving the pointer, clicking and pressing keys; and taking screenshots with import."""

import re
import subprocess
import time

from screen import Screenshot

POLL_SECONDS = 0.05
TOOL_SECONDS = 30
# How long a step waits for what it checks: far beyond what it takes on an idle
# machine, so that a machine busy with other work slows a run down without failing it.
WINDOW_SECONDS = 60


class TimedOut(AssertionError):
    pass


def wait_until(condition, timeout, what):
    """Polls condition() until it gives something true and returns that; fails after
    timeout seconds, saying what was awaited."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise TimedOut(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(POLL_SECONDS)


class Desktop:
    def __init__(self, env):
        self.env = env

    def _run(self, *args, check=True):
        # A tool that hangs (say, on a display that has gone) fails the check instead.
        return subprocess.run(list(args), env=self.env, check=check, capture_output=True,
                              text=True, timeout=TOOL_SECONDS).stdout

    # Windows.

    def windows_titled(self, title):
        """Ids of the mapped windows whose title is exactly `title`."""
        pattern = "^" + re.escape(title) + "$"
        found = self._run("xdotool", "search", "--onlyvisible", "--name", pattern, check=False)
        return [int(line) for line in found.split()]

    def wait_for_window(self, title, timeout=WINDOW_SECONDS):
        ids = wait_until(lambda: self.windows_titled(title), timeout, f'the window "{title}"')
        return ids[0]

    def wait_until_closed(self, title, timeout=WINDOW_SECONDS):
        wait_until(lambda: not self.windows_titled(title), timeout,
                   f'the window "{title}" to close')

    def geometry(self, window):
        """(x, y, width, height) of a window's inside, x and y on the screen."""
        info = self._run("xwininfo", "-id", str(window))

        def field(name):
            return int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))

        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def focus(self, window):
        # Without a window manager nobody else gives the keyboard to a window.
        self._run("xdotool", "windowfocus", str(window), check=False)

    def has_focus(self, window):
        """True when the keyboard goes to the window or to a window inside it."""
        focused = self._run("xdotool", "getwindowfocus", "-f", check=False).split()
        if not focused:
            return False
        if int(focused[0]) == window:
            return True
        tree = self._run("xwininfo", "-tree", "-id", str(window), check=False)
        return any(int(found, 16) == int(focused[0])
                   for found in re.findall(r"^\s+(0x[0-9a-f]+)", tree, re.MULTILINE))

    def wait_for_focus(self, window, timeout=WINDOW_SECONDS):
        """Waits until the window has the keyboard, which it may not have yet when it
        has only just been mapped; asks for it while waiting, as a click would."""
        def focused():
            if self.has_focus(window):
                return True
            self.focus(window)
            return False

        wait_until(focused, timeout, f"the keyboard focus in window {window}")

    # Pointer and keyboard.

    def move_pointer(self, x, y):
        # No --sync: it waits for a motion event, which never comes when the pointer is
        # already there. Callers poll the screen for the outcome instead.
        self._run("xdotool", "mousemove", str(x), str(y))

    def click(self, button=1):
        self._run("xdotool", "click", str(button))

    def keys(self, *names, delay_ms=40):
        """Presses and releases each key in turn (xdotool's key names: "Return",
        "BackSpace", "Escape", "Tab", "space", "Down", "3")."""
        if names:
            self._run("xdotool", "key", "--delay", str(delay_ms), *names)

    def keys_to(self, window, *names, delay_ms=40):
        """The keys, once the window has the keyboard."""
        self.wait_for_focus(window)
        self.keys(*names, delay_ms=delay_ms)

    def type_digits(self, digits):
        self.keys(*str(digits))

    # Screen.

    def screenshot(self, path, origin=(0, 0)):
        return Screenshot.grab(self.env, path, origin)
