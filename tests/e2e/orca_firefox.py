"""Orca reading the web page in Firefox ESR, as a blind pupil meets it: the built site
served on 127.0.0.1, Firefox with a fresh profile on a virtual display, and Orca and
speech-dispatcher set up as for the desktop program (orca_speech.py). Keys go in
through xdotool, as from a keyboard, so Orca sees them before the page does.

The question must be heard at the start; Tab to Create Question, named as it opens
with its first field, and 100 ÷ 7 made there; then the worked example's keys up to the
answer; then Settings and the exit prompt, each named as it opens (the prompt with its
question) and left by Escape; each key answered by the words waited for, without a
key asking Orca where the pupil is, and Orca in focus mode all along (its browse mode
would take the digits as its own keys).

Usage: dbus-run-session -- python3 -B tests/e2e/orca_firefox.py [--site DIR]"""

import argparse
import contextlib
import functools
import json
import shutil
import subprocess
import sys
import tempfile
import threading
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path

from desktop import Desktop, wait_until
from display import VirtualDisplay, end_process
from orca_speech import WORKED_EXAMPLE, SpokenWords, wait_for_speech

FIREFOX = "/usr/bin/firefox-esr"
# A fresh profile that opens the page and nothing else, reaches for no network, and
# gives its accessibility tree to whoever asks.
PREFERENCES = {
    "accessibility.force_disabled": -1,
    "browser.aboutwelcome.enabled": False,
    "browser.shell.checkDefaultBrowser": False,
    "browser.startup.homepage_override.mstone": "ignore",
    "browser.sessionstore.resume_from_crash": False,
    "browser.translations.automaticallyPopup": False,
    "datareporting.policy.dataSubmissionEnabled": False,
    "datareporting.healthreport.uploadEnabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.disabledForTesting": True,
    "app.normandy.enabled": False,
    "extensions.update.enabled": False,
    "network.captive-portal-service.enabled": False,
    "browser.newtab.preload": False,
    "intl.accept_languages": "en-GB",
    # The page asks to keep its data for good; a pupil answers once, the test has.
    "dom.storageManager.prompt.testing": True,
    "dom.storageManager.prompt.testing.allow": True,
}
# The steps up to the answer: the web leaves F5 and F2 to the browser.
TO_THE_ANSWER = WORKED_EXAMPLE[:WORKED_EXAMPLE.index(
    (["1", "4", "Return"], ["The answer is 14 remainder 2."])) + 1]
STEP_SECONDS = 90.0


class QuietHandler(SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(site):
    server = ThreadingHTTPServer(("127.0.0.1", 0),
                                 functools.partial(QuietHandler, directory=str(site)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_firefox(env, url, folder):
    profile = Path(folder) / "profile"
    profile.mkdir()
    (profile / "user.js").write_text("".join(
        f"user_pref({json.dumps(name)}, {json.dumps(value)});\n"
        for name, value in PREFERENCES.items()))
    env = dict(env, MOZ_CRASHREPORTER_DISABLE="1", MOZ_ENABLE_WAYLAND="0")
    log = open(Path(folder) / "firefox.log", "wb")
    process = subprocess.Popen([FIREFOX, "--no-remote", "--new-instance", "--kiosk",
                                "--profile", str(profile), url],
                               env=env, stdout=log, stderr=subprocess.STDOUT)
    log.close()
    return process


def run(site, cleanup):
    display = cleanup.enter_context(VirtualDisplay())
    words = SpokenWords(display.env)
    cleanup.callback(words.close)
    desktop = Desktop(words.env)
    server = serve(site)
    cleanup.callback(server.shutdown)
    folder = tempfile.mkdtemp(prefix="bricketing-firefox-")
    cleanup.callback(shutil.rmtree, folder, ignore_errors=True)
    firefox = start_firefox(words.env, f"http://127.0.0.1:{server.server_port}/", folder)
    cleanup.callback(end_process, firefox)

    def step(keys, wanted, what, focused=None):
        """The keys, then what Orca must say; with `focused`, first the focus event
        Orca must have been sent for that entry before the pupil types on."""
        since = len(words.spoken())
        event = f"object:state-changed:focused for [entry | {focused}]"
        events = words.debug_text().count(event)
        desktop.keys(*keys)
        if focused:
            wait_until(lambda: words.debug_text().count(event) > events, STEP_SECONDS,
                       f"Firefox to tell Orca the {focused} entry has the focus")
        said = wait_for_speech(words, since, wanted, what, STEP_SECONDS)
        print(" ".join(keys) + ":", said, flush=True)

    said = wait_for_speech(words, 0, ["÷", "How many lots of"],
                           "Orca to say the question at the start", STEP_SECONDS)
    print("start:", said, flush=True)
    # From the board, Tab to each command (named as the pupil reaches it) and Enter on
    # Create Question: the dialog is named with the field the focus lands on, which
    # needs the page behind to leave Orca's tree before the dialog enters it (with both
    # at once, Orca moves its focus quietly to the dividend's caret and takes the focus
    # event that follows for no change). The focus event is waited for too, as a pupil
    # waits a moment before typing.
    step(["Tab"], ["New Question"], "Orca to name New Question")
    step(["Tab"], ["Create Question"], "Orca to name Create Question")
    step(["Return"], ["Create Question dialog", "Dividend entry"],
         "Orca to name the dialog and its first field", focused="Dividend")
    step(["1", "0", "0", "Return"], [], "the divisor", focused="Divisor")
    step(["7", "Return"], ["100 ÷ 7", "How many lots of 7 to take from 100?"],
         "Orca to say the question made in Create Question")
    for keys, wanted in TO_THE_ANSWER:
        step(keys, wanted, f"Orca to say {wanted} after {keys}")
    # Settings from its command, then the exit prompt from the board: each named as it
    # opens, the prompt with its question, and Escape back to the board each time.
    step(["Tab"] * 4, ["Settings push button"], "Orca to name Settings")
    step(["Return"], ["Settings dialog"], "Orca to name the Settings dialog")
    step(["Escape"], ["working-out board"], "Orca to be back on the board")
    step(["Escape"], ["Had enough?", "Finished bricketing for today?"],
         "Orca to say the exit prompt and its question")
    step(["Escape"], ["working-out board"], "Orca to be back on the board after No")
    # Focus mode throughout: no digit was taken as a browse-mode key.
    left = [said for said in words.spoken() if "Browse mode" in said]
    if left:
        raise AssertionError(f"Orca left focus mode: {left}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--site", default=Path(__file__).resolve().parents[2] / "build-web" / "site",
                        help="the built site (scripts/build-web; by default build-web/site)")
    site = Path(parser.parse_args().site)
    if not Path(FIREFOX).exists():
        print(f"skipped: {FIREFOX} is not installed", flush=True)
        return 0
    with contextlib.ExitStack() as cleanup:
        try:
            run(site, cleanup)
        except Exception as failure:
            print(f"FAILED Orca in Firefox: {failure}", file=sys.stderr)
            return 1
    print("passed Orca in Firefox")
    return 0


if __name__ == "__main__":
    sys.exit(main())
