"""A tryout of the program in the source tree, as the package tests stage it: the
source tree's copy is a portable one, so trying the Settings dialog rewrites the
tracked Data/settings.txt, and a save may leave its temporary file behind (and the
Windows program's name for the file, which on Linux is a file of its own). Packages
made meanwhile must still carry the committed settings and none of those files."""

import contextlib
import subprocess
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
DATA = ROOT / "Data"

# The program's own choices of a tryout: "x", products and remainders filled in, Expert.
TRYOUT_SETTINGS = b"DISPLAY:TIMES\nAUTOPRODUCT:ON\nAUTOREMAINDER:ON\nDIFFICULTY:EXPERT"
LEFTOVERS = ("settings.txt.new", "Settings.txt")


def is_git_checkout():
    return subprocess.run(["git", "-C", str(ROOT), "ls-files", "--error-unmatch",
                           "Data/settings.txt"], capture_output=True).returncode == 0


def committed_settings():
    """Data/settings.txt as committed, which every package must carry; the working
    tree's file where there is no git history."""
    if not is_git_checkout():
        return (DATA / "settings.txt").read_bytes()
    return subprocess.run(["git", "-C", str(ROOT), "show", "HEAD:./Data/settings.txt"],
                          capture_output=True, check=True).stdout


@contextlib.contextmanager
def tried_out():
    """The working tree's Data as a tryout leaves it, for the length of the block; then
    exactly as it was (the settings file's bytes put back, the leftovers it made
    removed)."""
    tree_settings = (DATA / "settings.txt").read_bytes()
    made = [DATA / name for name in LEFTOVERS if not (DATA / name).exists()]
    if TRYOUT_SETTINGS == committed_settings():
        raise RuntimeError("the tryout's settings must differ from the committed ones, "
                           "or the checks of the packages could not fail")
    try:
        (DATA / "settings.txt").write_bytes(TRYOUT_SETTINGS)
        for leftover in made:
            leftover.write_bytes(TRYOUT_SETTINGS)
        yield
    finally:
        (DATA / "settings.txt").write_bytes(tree_settings)
        for leftover in made:
            leftover.unlink(missing_ok=True)
