"""The Windows end-to-end scenarios: the Windows program from its packages, each run in
a fresh Wine prefix on its own X display, driven as a pupil would with xdotool and
checked by its window, its screen, the files it writes and its exit code."""

import zipfile

import lesson as look
from program import PLAIN_SETTINGS
from scenarios import expect_expert_with_times, refuse_and_cancel
from steps import create_question, expect, wait_for_question
from windows_reader import expect_window_reads, new_question_by_key
from windows_steps import (EXPECTED_SETTINGS, INSTALL_FOLDER, SHORTCUT, UNINSTALL_KEY,
                           UNINSTALLER, check_window, confirm_settings, open_and_close_about,
                           message_box_says, quit_with_yes, wait_for_file, work_100_by_7)


def portable(scenario):
    """The portable zip, unpacked: the window, Create Question refusing 12345 and then
    setting 100 ÷ 7, the question worked with one wrong entry corrected (its accessible
    name and value read from another process before and after, and F2 starting a new
    question), the About
    dialog, Settings written to the copy's own Data\\settings.txt with CR LF, and
    Escape then Yes ending the program with exit code 0."""
    folder = scenario.unpack_zip()
    settings_file = folder / "Data" / "settings.txt"
    settings_file.write_bytes(PLAIN_SETTINGS.encode("ascii"))
    lesson = scenario.launch(folder)
    check_window(lesson)
    shot = wait_for_question(lesson)
    expect(shot.pixel(470, 560) == look.BOARD_COLOUR and shot.pixel(10, 300) == look.BOARD_COLOUR,
           f"the working-out panel is not beige at (470, 560) and (10, 300), see {shot.path}")
    expect(shot.pixel(700, 200) == (255, 255, 255), "the window is not white beside the header")

    refuse_and_cancel(lesson, says=message_box_says)
    shot = create_question(lesson, 100, 7)
    expect(not look.shows_header(shot, "101 ÷ 7") and not look.shows_header(shot, "100 ÷ 1"),
           "the header check cannot tell 100 ÷ 7 from its neighbours")
    expect_window_reads(scenario, "100 ÷ 7",
                        "How many lots of 7 to take from 100? Nothing typed yet.")
    work_100_by_7(lesson)
    expect_window_reads(scenario, "100 ÷ 7", "The answer is 14 remainder 2.")
    new_question_by_key(scenario, lesson, "100 ÷ 7")
    open_and_close_about(lesson)

    confirm_settings(lesson)
    wait_for_file(settings_file, EXPECTED_SETTINGS, r"the copy's Data\settings.txt")
    expect(not (scenario.prefix.appdata() / "Bricketing").exists(),
           r"a portable copy wrote into %APPDATA%\Bricketing")
    quit_with_yes(lesson)


def installer(scenario):
    """The installer, silent and run twice: the program under Program Files with the
    installed marker, a Start-menu shortcut and an Apps & features entry; the
    installed program keeps its settings in %APPDATA%\\Bricketing and reads them back
    at the next start; the silent uninstaller removes all it installed, and nothing
    else, and leaves those settings."""
    prefix = scenario.prefix
    folder = prefix.program_files() / INSTALL_FOLDER
    # Installed twice: the second time over the first, which its own uninstaller
    # removes first; what follows holds for the copy the second run left.
    for run in ("first", "second"):
        code = prefix.run(scenario.setup_file, "/S")
        expect(code == 0, f"the {run} silent install ended with {code}")
    extra = folder / "Data" / "not-installed.txt"
    extra.write_bytes(b"left by someone else")
    with zipfile.ZipFile(scenario.zip_file) as archive:
        top = f"Bricketing-{scenario.version}/"
        shipped = {info.filename[len(top):]: archive.read(info) for info in archive.infolist()
                   if not info.is_dir()}
    installed = {path.relative_to(folder).as_posix() for path in folder.rglob("*")
                 if path.is_file()}
    expected = set(shipped) | {"Data/installed.txt", UNINSTALLER, "Data/not-installed.txt"}
    expect(installed == expected,
           f"the installed files are not the zip's, the marker and the uninstaller: "
           f"{sorted(installed - expected)} extra, {sorted(expected - installed)} missing")
    for name, data in shipped.items():
        expect((folder / name).read_bytes() == data, f"{name} differs from the zip's")
    shortcut = prefix.start_menu_programs() / SHORTCUT
    expect(shortcut.exists(), f"no Start-menu shortcut {shortcut}")
    link = shortcut.read_bytes()
    target = "C:\\Program Files\\Bricketing\\bricketing.exe"
    expect(target.encode("utf-16-le") in link or target.encode("ascii") in link,
           "the shortcut does not start the installed program")
    entry = prefix.registry_values(UNINSTALL_KEY)
    expect(entry is not None, "no Apps & features entry")
    uninstaller = "C:\\Program Files\\Bricketing\\" + UNINSTALLER
    for name, value in (("DisplayName", "Bricketing"), ("DisplayVersion", scenario.version),
                        ("Publisher", "Quillmoor"), ("DisplayIcon", target + ",0"),
                        ("UninstallString", f'"{uninstaller}"'),
                        ("QuietUninstallString", f'"{uninstaller}" /S'),
                        ("NoModify", 1), ("NoRepair", 1)):
        expect(entry.get(name) == value, f"the Apps & features entry's {name} is "
               f"{entry.get(name)!r}, not {value!r}")
    expect(entry.get("EstimatedSize", 0) * 1024 >= sum(len(d) for d in shipped.values()),
           "the entry's estimated size is smaller than the files")

    shipped_settings = (folder / "Data" / "settings.txt").read_bytes()
    user_settings = prefix.appdata() / "Bricketing" / "settings.txt"
    lesson = scenario.launch(folder)
    check_window(lesson)
    wait_for_question(lesson)
    confirm_settings(lesson)
    wait_for_file(user_settings, EXPECTED_SETTINGS, r"%APPDATA%\Bricketing\settings.txt")
    expect((folder / "Data" / "settings.txt").read_bytes() == shipped_settings,
           "the installed copy changed the settings under Program Files")
    expect(not (folder / "Data" / "Settings.txt").exists() or
           (folder / "Data" / "Settings.txt").read_bytes() == shipped_settings,
           "the installed copy wrote settings under Program Files")
    quit_with_yes(lesson)

    # The next start reads the pupil's settings: an Expert question (four-digit
    # dividend, two-digit divisor) worded with the times sign.
    lesson = scenario.launch(folder)
    expect_expert_with_times(lesson, "the installed copy's next run")
    quit_with_yes(lesson)

    code = prefix.run(folder / UNINSTALLER, "/S")
    expect(code == 0, f"the silent uninstaller ended with {code}")
    # Only what it installed goes: the file it did not install keeps its folders.
    expect(sorted(path.relative_to(folder).as_posix() for path in folder.rglob("*")) ==
           ["Data", "Data/not-installed.txt"],
           f"the uninstaller left {sorted(p.name for p in folder.rglob('*'))}")
    extra.unlink()
    extra.parent.rmdir()
    folder.rmdir()
    expect(not shortcut.exists(), "the Start-menu shortcut is still there")
    expect(prefix.registry_values(UNINSTALL_KEY) is None,
           "the Apps & features entry is still there")
    expect(user_settings.read_bytes() == EXPECTED_SETTINGS,
           "the uninstaller did not leave the pupil's settings as they were")


SCENARIOS = {
    "portable": portable,
    "installer": installer,
}
