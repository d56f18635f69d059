"""The Debian package as a pupil meets it: unpacked with dpkg-deb -x (nothing is
installed on the machine), its layout checked (/etc/bricketing/settings.txt is the
committed Data/settings.txt, and a conffile), then its program started under a virtual
display as an unprivileged user with a fresh home and no XDG_CONFIG_HOME, from a folder
holding another copy's Data and Resources, which it must not use. Settings changed through the Settings dialog must land in
~/.config/bricketing/settings.txt and hold at the next start, while the package's own
Data/settings.txt stays as shipped, even though the pupil could write it.

    python3 tests/package/package_test.py dist/bricketing_<version>_amd64.deb
    python3 tests/package/package_test.py --build

--build first makes the package with scripts/package while the working tree's Data
holds a tryout's settings and a save's leftovers (put back as they were afterwards),
and checks that package: it must carry the committed settings all the same.

Exit status 0 when every check passes; screenshots go to --shots."""

import argparse
import io
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import time
import traceback
from pathlib import Path

E2E = Path(__file__).resolve().parent.parent / "e2e"
sys.path.insert(0, str(E2E))
sys.path.insert(0, str(Path(__file__).resolve().parent))

import lesson as look  # noqa: E402
from desktop import wait_until  # noqa: E402
from scenarios import (EXPERT_TIMES_AUTOPRODUCT, choose_expert_times_autoproduct,  # noqa: E402
                       expect_expert_with_times)
from steps import Scenario, expect, quit_with_yes, wait_for_question  # noqa: E402
from tryout import ROOT, committed_settings, tried_out  # noqa: E402

# The account the program runs as when the test runs as root, as the unit tests drop to.
NOBODY = 65534

SHARE = Path("usr/share/bricketing")
# What a teacher edits: configuration under /etc, which an upgrade keeps.
TEACHER = Path("etc/bricketing")
APP_ID = "org.quillmoor.Bricketing"
LAYOUT = [
    "usr/bin/bricketing",
    SHARE / "Data/installed.txt",
    TEACHER / "levels.txt",
    TEACHER / "settings.txt",
    SHARE / "Resources/btnSettings.png",
    SHARE / "Help/help.html",
    SHARE / "Help/help.nl.html",
    "usr/share/applications/bricketing.desktop",
    f"usr/share/icons/hicolor/48x48/apps/{APP_ID}.png",
    f"usr/share/icons/hicolor/256x256/apps/{APP_ID}.png",
    f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
    f"usr/share/metainfo/{APP_ID}.metainfo.xml",
    "usr/share/man/man1/bricketing.1.gz",
    "usr/share/doc/bricketing/copyright",
]
# Levels that no shipped level resembles: an Expert question from them is 30 to 40
# divided by 2. A copy that read them from the folder it was started in would show it.
DECOY_LEVELS = ("LEVEL,DIVISOR MIN,DIVISOR MAX,DIVIDEND MIN,DIVIDEND MAX\n" +
                "".join(f"{name},2,2,30,40\n" for name in
                        ("BEGINNER", "NOVICE", "INTERMEDIATE", "ADVANCED", "EXPERT")) + "END,\n")


def build_after_tryout():
    """scripts/package run while the working tree's Data is as a tryout leaves it; the
    package it made."""
    with tried_out():
        subprocess.run([str(ROOT / "scripts" / "package")], check=True)
    cache = (ROOT / "build-package" / "CMakeCache.txt").read_text()
    (version,) = [line.split("=", 1)[1] for line in cache.splitlines()
                  if line.startswith("CMAKE_PROJECT_VERSION:")]
    return ROOT / "dist" / f"bricketing_{version}_amd64.deb"


def unpack(deb, folder):
    subprocess.run(["dpkg-deb", "-x", str(deb), str(folder)], check=True)
    for name in LAYOUT:
        expect((folder / name).is_file(), f"the package lacks /{name}")
    data = sorted(path.name for path in (folder / SHARE / "Data").iterdir())
    expect(data == ["installed.txt"], f"the package's Data holds {data}, not only the marker")
    expect((folder / TEACHER / "settings.txt").read_bytes() == committed_settings(),
           "the package's /etc/bricketing/settings.txt is not the committed Data/settings.txt")
    expect((folder / TEACHER / "levels.txt").read_bytes() ==
           (ROOT / "Data" / "levels.txt").read_bytes(),
           "the package's /etc/bricketing/levels.txt is not Data/levels.txt")
    conffiles = subprocess.run(["dpkg-deb", "--ctrl-tarfile", str(deb)], capture_output=True,
                               check=True).stdout
    with tarfile.open(fileobj=io.BytesIO(conffiles)) as control:
        listed = control.extractfile("./conffiles").read().decode().split()
    expect(listed == ["/etc/bricketing/levels.txt", "/etc/bricketing/settings.txt"],
           f"the package's conffiles are {listed}")
    # The code's licence by Debian's own copy, the pictures' in full (Debian has none).
    copyright = (folder / "usr/share/doc/bricketing/copyright").read_text()
    art_licence = (ROOT / "LICENSE-ART").read_text().splitlines()
    for line in ["License: GPL-3+", "License: CC-BY-SA-4.0", "/usr/share/common-licenses/GPL-3"] + \
            [" " + text for text in art_licence if text.strip()]:
        expect(line in copyright, f"the copyright file lacks {line.strip()!r}")
    expect(os.access(folder / "usr/bin/bricketing", os.X_OK), "/usr/bin/bricketing is not executable")
    file_type = subprocess.run(["file", "-b", str(folder / "usr/bin/bricketing")],
                               capture_output=True, text=True, check=True).stdout
    expect("stripped" in file_type and "not stripped" not in file_type,
           f"/usr/bin/bricketing is not stripped: {file_type.strip()}")
    fields = subprocess.run(["dpkg-deb", "-f", str(deb), "Depends"], capture_output=True,
                            text=True, check=True).stdout
    for library in ("libqt6widgets6", "libqt6gui6", "libstdc++6"):
        expect(library in fields, f"Depends does not name {library}: {fields.strip()}")


def as_pupil(program, folder):
    """A launcher that starts `program` as the unprivileged account when run as root
    (dropping every group first), and as the caller otherwise."""
    launcher = folder / "start-as-pupil"
    launcher.write_text(
        "#!/usr/bin/python3\n"
        "import os\n"
        "if os.geteuid() == 0:\n"
        f"    os.setgroups([])\n    os.setgid({NOBODY})\n    os.setuid({NOBODY})\n"
        f"os.execv({str(program)!r}, [{str(program)!r}])\n")
    launcher.chmod(0o755)
    return launcher


def give_to_pupil(path):
    """When root: the pupil's account owns `path` and everything under it."""
    if os.geteuid() != 0:
        return
    for folder, names, files in os.walk(path):
        os.chown(folder, NOBODY, NOBODY)
        for name in names + files:
            os.chown(os.path.join(folder, name), NOBODY, NOBODY, follow_symlinks=False)


def snapshot(folder):
    """Every file under `folder` with its contents."""
    return {p.relative_to(folder): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}


def change_settings(scenario, home, per_user):
    """First run: the shipped defaults ("lots of", Beginner) show; "x", Expert and
    AutoProduct are chosen in the Settings dialog and confirmed."""
    lesson = scenario.launch(folder=home)
    shot = wait_for_question(lesson)
    expect(look.ink_width(shot, look.line_box(1, look.WORDING_COLUMN)) > 120,
           f'the first run is not worded "lots of" as the package ships it, see {shot.path}')
    choose_expert_times_autoproduct(lesson)
    wait_until(lambda: per_user.is_file() and per_user.read_bytes() == EXPERT_TIMES_AUTOPRODUCT,
               5, f"{per_user} to hold the new settings")
    quit_with_yes(lesson)


def settings_kept(scenario, home):
    """Second run: the question is an Expert one and the working-out uses the times sign."""
    lesson = scenario.launch(folder=home)
    expect_expert_with_times(lesson, "the second run")
    quit_with_yes(lesson)


def run(deb, shots):
    work = Path(tempfile.mkdtemp(prefix="bricketing-package-"))
    try:
        root = work / "root"
        home = work / "home"
        root.mkdir()
        home.mkdir(mode=0o700)
        runtime = work / "runtime"
        runtime.mkdir(mode=0o700)
        work.chmod(0o755)
        unpack(deb, root)
        # The pupil may write the unpacked files: the installed copy must keep its
        # settings per user because it is installed, not because it cannot write.
        give_to_pupil(root)
        give_to_pupil(home)
        give_to_pupil(runtime)
        shipped = snapshot(root / SHARE / "Data")
        teachers = snapshot(root / TEACHER)
        per_user = home / ".config" / "bricketing" / "settings.txt"
        # Started from the pupil's home, which holds another copy's Data and Resources
        # (no pictures, and levels of their own): the installed program uses its own.
        for folder in ("Resources", "Help", "Data"):
            (home / folder).mkdir()
        (home / "Data" / "levels.txt").write_text(DECOY_LEVELS)
        give_to_pupil(home)

        scenario = Scenario(as_pupil(root / "usr/bin/bricketing", work), root / SHARE, shots)
        try:
            env = scenario.display.env
            env["HOME"] = str(home)
            for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME"):
                env.pop(name, None)
            env["XDG_RUNTIME_DIR"] = str(runtime)  # Qt's sockets, inside the scratch folder
            change_settings(scenario, home, per_user)
            expect(snapshot(root / SHARE / "Data") == shipped,
                   "the package's Data folder changed during the first run")
            if os.geteuid() == 0:
                expect(per_user.stat().st_uid == NOBODY, "the per-user file is not the pupil's")
            settings_kept(scenario, home)
            expect(snapshot(root / SHARE / "Data") == shipped,
                   "the package's Data folder changed during the second run")
            expect(snapshot(root / TEACHER) == teachers,
                   "the package's /etc/bricketing changed during the runs")
            expect(per_user.read_bytes() == EXPERT_TIMES_AUTOPRODUCT,
                   "the per-user file changed during the second run")
        finally:
            scenario.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("deb", type=Path, nargs="?",
                        help="the package, dist/bricketing_*_amd64.deb")
    parser.add_argument("--build", action="store_true",
                        help="make the package first, after a tryout in the working tree")
    parser.add_argument("--shots", type=Path, default=Path("build-package/package-shots"),
                        help="folder for the screenshots")
    args = parser.parse_args()
    if bool(args.deb) == args.build:
        parser.error("name a package or ask for --build, not both")
    for pattern in ("**/*.png", "**/program.log"):
        for old in args.shots.glob(pattern):
            old.unlink()
    started = time.monotonic()
    try:
        deb = build_after_tryout() if args.build else args.deb
        run(deb.resolve(), args.shots.resolve())
    except Exception as failure:  # every failure is reported the same way
        traceback.print_exc()
        print(f"FAILED package test: {failure}", file=sys.stderr)
        return 1
    print(f"passed package test in {time.monotonic() - started:.1f} s; shots in {args.shots}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
