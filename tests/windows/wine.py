"""Wine for the Windows end-to-end runs: a fresh Wine prefix per run (made by
scripts/wine-prefix, with Arial mapped to Liberation Sans), Windows programs run in it,
the folders a Windows program sees (Program Files, the Start menu, the pupil's
%APPDATA%) and the registry; and an X display on a chosen number."""

import re
import stat
import subprocess
import time
from pathlib import Path

from desktop import wait_until
from display import SCREEN_HEIGHT, SCREEN_WIDTH, DisplayError, VirtualDisplay

ROOT = Path(__file__).resolve().parents[2]


class NumberedDisplay(VirtualDisplay):
    """Xvfb on the display number given (so that runs sharing a machine can keep to
    their own numbers), or on one Xvfb picks itself when the number is None; its screen
    `size` pixels."""

    def __init__(self, number=None, size=(SCREEN_WIDTH, SCREEN_HEIGHT)):
        super().__init__(size=size)
        self.number = number

    def __enter__(self):
        if self.number is None:
            return super().__enter__()
        socket = Path(f"/tmp/.X11-unix/X{self.number}")
        if socket.exists():
            raise DisplayError(f"display :{self.number} is already in use")
        self.process = subprocess.Popen(
            ["Xvfb", f":{self.number}", "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_until(lambda: socket.exists() or self.process.poll() is not None,
                       self.start_timeout, f"Xvfb on :{self.number}")
            if self.process.poll() is not None:
                raise DisplayError(f"Xvfb could not start on :{self.number}")
        except BaseException:
            self._stop()
            raise
        self.name = f":{self.number}"
        self.env = self._client_environment()
        return self


class WinePrefix:
    """A fresh Wine prefix in `folder`, used through the X display whose environment
    is `env`. `env` is extended in place, so the display's X clients and this prefix's
    Windows programs share one environment."""

    def __init__(self, folder, env, log):
        self.folder = Path(folder).resolve()
        self.log = Path(log)
        self.env = env
        env["WINEPREFIX"] = str(self.folder)
        env["WINEDEBUG"] = "-all"
        # No Mono or Gecko installers, and no menu entries or icons on the Linux desktop
        # for the shortcuts an installer makes.
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"
        started = time.monotonic()
        # Making a prefix failed once under load (an error code, nothing in the log) while
        # the next run made it at once, so a failure is tried once more from scratch.
        for attempt in (1, 2):
            with open(self.log, "ab") as out:
                made = subprocess.run([str(ROOT / "scripts" / "wine-prefix"), str(self.folder)],
                                      env=env, stdout=out, stderr=out, timeout=300)
            if made.returncode == 0:
                break
            print(f"scripts/wine-prefix ended with {made.returncode} (try {attempt})", flush=True)
            self.close()
        made.check_returncode()
        self.made_in = time.monotonic() - started
        self.drive_c = self.folder / "drive_c"

    # Windows programs.

    def run(self, program, *arguments, timeout=120):
        """Runs a Windows program to its end and waits until every process it started
        in the prefix has ended too; returns its exit code."""
        with open(self.log, "ab") as out:
            code = subprocess.run(["wine", str(program), *arguments], env=self.env,
                                  stdout=out, stderr=out, timeout=timeout).returncode
        self.wait_idle(timeout)
        return code

    def wait_idle(self, timeout=60):
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=timeout, check=False)

    def launcher(self, program, folder):
        """A script that starts the Windows program through Wine (replacing itself,
        so its process and exit code are the program's), for the shared ProgramRun."""
        script = Path(folder) / "start-under-wine"
        script.write_text(f'#!/bin/sh\nexec wine "{program}"\n')
        script.chmod(script.stat().st_mode | stat.S_IXUSR)
        return script

    def close(self):
        """Ends whatever still runs in this prefix (only this run's programs use it)."""
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # What a Windows program sees.

    def program_files(self):
        return self.drive_c / "Program Files"

    def start_menu_programs(self):
        """The Start menu's Programs folder shared by every user."""
        return self.drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs"

    def appdata(self):
        """The pupil's %APPDATA% (the roaming application data of the prefix's user)."""
        (roaming,) = [path for path in (self.drive_c / "users").glob("*/AppData/Roaming")
                      if path.parts[-3] != "Public"]
        return roaming

    def registry_values(self, key):
        """The values under a registry key as {name: text}; None when there is no key."""
        result = subprocess.run(["wine", "reg", "query", key], env=self.env,
                                capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            found = re.match(r"\s{4}(\S.*?)\s{4}(REG_\w+)\s{4}(.*)$", line)
            if found:
                name, kind, value = found.groups()
                values[name] = int(value, 16) if kind == "REG_DWORD" else value
        return values


def crlf(text):
    """The text with Windows' line ends, as a Windows program writes it in text mode."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n")
