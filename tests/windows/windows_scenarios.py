"""The Windows end-to-end scenarios: the Windows program from its packages, each run in
a fresh Wine prefix on its own X display, driven as a pupil would with xdotool and
checked by its window, its screen, the files it writes and its exit code."""

import zipfile

import lesson as look
from program import PLAIN_SETTINGS
from desktop import WINDOW_SECONDS, wait_until
from classroom import TEACHER_LOCKS, check_teacher_locks
from languages import press, work_dutch_question
from scenarios import expect_expert_with_times, refuse_and_cancel
from steps import AWAY_FROM_BUTTONS, create_question, expect, wait_for_question
from windows_reader import (catalogue, control_names, english_left, expect_window_reads,
                            new_question_by_key)
from windows_steps import (EXPECTED_SETTINGS, INSTALL_FOLDER, SHORTCUT, UNINSTALL_KEY,
                           UNINSTALLER, check_window, confirm_settings, open_and_close_about,
                           message_box_says, quit_with_yes, wait_for_file, window_box,
                           work_100_by_7)


def portable(scenario):
    """The portable zip, unpacked: the window, Create Question refusing 12345 and then
    setting 100 ÷ 7, the question worked with one wrong entry corrected (its accessible
    name and value read from another process before and after, and F2 starting a new
    question), the About
    dialog, Settings written to the copy's own Data\\settings.txt with CR LF, and
    Escape then Yes ending the program with exit code 0; then a teacher's file's locks
    holding in a second run."""
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

    # A teacher's Data\teacher.txt locks Expert and turns Create Question off.
    settings_file.write_bytes(PLAIN_SETTINGS.encode("ascii"))
    (folder / "Data" / "teacher.txt").write_text(TEACHER_LOCKS, encoding="utf-8")
    lesson = scenario.launch(folder)
    check_teacher_locks(lesson, settings_file)
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

    # A teacher's edited level file stays through an upgrade (the installer run over
    # the installed copy) and through the uninstaller; the unedited settings.txt does not.
    levels = folder / "Data" / "levels.txt"
    edited = levels.read_bytes().replace(b"BEGINNER,2,5", b"BEGINNER,3,5")
    expect(edited != levels.read_bytes(), "no Beginner line to edit in Data\\levels.txt")
    levels.write_bytes(edited)
    code = prefix.run(scenario.setup_file, "/S")
    expect(code == 0, f"the upgrade over the installed copy ended with {code}")
    expect(levels.read_bytes() == edited, "the upgrade replaced the edited Data\\levels.txt")
    expect((folder / "Data" / "settings.txt").read_bytes() == shipped_settings,
           "the upgrade did not install the shipped Data\\settings.txt")

    code = prefix.run(folder / UNINSTALLER, "/S")
    expect(code == 0, f"the silent uninstaller ended with {code}")
    # Only what it installed goes: the file it did not install keeps its folders, and so
    # does the edited level file.
    expect(sorted(path.relative_to(folder).as_posix() for path in folder.rglob("*")) ==
           ["Data", "Data/levels.txt", "Data/not-installed.txt"],
           f"the uninstaller left {sorted(p.name for p in folder.rglob('*'))}")
    expect(levels.read_bytes() == edited, "the uninstaller changed the edited levels file")
    levels.unlink()
    extra.unlink()
    extra.parent.rmdir()
    folder.rmdir()
    expect(not shortcut.exists(), "the Start-menu shortcut is still there")
    expect(prefix.registry_values(UNINSTALL_KEY) is None,
           "the Apps & features entry is still there")
    expect(user_settings.read_bytes() == EXPECTED_SETTINGS,
           "the uninstaller did not leave the pupil's settings as they were")

    # The installer records its folder: installed elsewhere, a later silent run (an
    # upgrade) goes there too, not to Program Files. (/D= takes no quotes, so the
    # folder's name has no space.)
    elsewhere = prefix.drive_c / "Schools" / "Bricketing"
    code = prefix.run(scenario.setup_file, "/S", "/D=C:\\Schools\\Bricketing")
    expect(code == 0, f"the install into another folder ended with {code}")
    code = prefix.run(scenario.setup_file, "/S")
    expect(code == 0, f"the upgrade of the copy in another folder ended with {code}")
    expect((elsewhere / "bricketing.exe").is_file() and not folder.exists(),
           "the upgrade did not go where the first install went")
    entry = prefix.registry_values(UNINSTALL_KEY) or {}
    expect(entry.get("InstallLocation") == "C:\\Schools\\Bricketing",
           f"the recorded folder is {entry.get('InstallLocation')!r}")
    code = prefix.run(elsewhere / UNINSTALLER, "/S")
    expect(code == 0 and not elsewhere.exists(),
           f"the uninstaller in the other folder ended with {code}")


# What the program says when it starts without Data, Resources and Help, as Wine
# draws it: the paragraph break counts as one space where the lines are added up.
FOLDERS_MISSING = (
    "Bricketing cannot find its Data, Resources and Help folders, so its buttons, "
    "pictures, levels and help are missing. "
    "If you opened Bricketing from inside its zip file, extract the whole zip file first, "
    "then start Bricketing from the folder it makes.")


def opened_in_zip(scenario):
    """bricketing.exe opened inside the zip, as Explorer runs it: copied alone into a
    temporary folder and started there, with none of Data, Resources and Help beside
    it or above it. One Error box over the window says what is missing and that the
    zip must be extracted first, over the window already drawn; after OK the program
    goes on without its files (no button pictures) and ends through Escape and Yes with
    no second box."""
    folder = scenario.prefix.drive_c / "Temp" / f"Temp1_Bricketing-{scenario.version}-win64.zip"
    folder.mkdir(parents=True)
    with zipfile.ZipFile(scenario.zip_file) as archive:
        exe = archive.read(f"Bricketing-{scenario.version}/bricketing.exe")
    (folder / "bricketing.exe").write_bytes(exe)
    lesson = scenario.launch(folder)
    box = lesson.desktop.wait_for_window("Error")
    # The box stands over the first frame: the window behind it is drawn, not blank.
    shot = lesson.wait_for_look(
        "folders-missing",
        lambda s: message_box_says(lesson, box, s, FOLDERS_MISSING)
        and s.pixel(10, 300) == look.BOARD_COLOUR,
        "the Error box saying that the folders are missing, over the drawn window")
    expect(not message_box_says(lesson, box, shot, FOLDERS_MISSING.split(". ")[0] + "."),
           "the message check cannot tell the whole message from its first sentence")
    where = window_box(lesson, box)
    lesson.keys_to(box, "Return")
    lesson.desktop.wait_until_closed("Error")
    # The closed box's picture stays on the screen until the window is drawn again.
    shot = lesson.wait_for_look(
        "without-files",
        lambda s: s.pixel(10, 300) == look.BOARD_COLOUR
        and s.pixel(where[0] + 5, where[1] + 5) == look.BOARD_COLOUR,
        "the working-out panel drawn again where the Error box was")
    left, top = look.BUTTONS["Settings"]
    button = (left, top, left + look.BUTTON_SIZE, top + look.BUTTON_SIZE)
    expect(shot.count((255, 255, 255), button) == look.BUTTON_SIZE * look.BUTTON_SIZE,
           f"a button picture is drawn although Resources is missing, see {shot.path}")
    expect(not lesson.desktop.windows_titled("Error"), "a second Error box opened")
    quit_with_yes(lesson)
    expect(list(folder.iterdir()) == [folder / "bricketing.exe"],
           "the program wrote files beside itself in the zip's temporary folder")


# A pupil's account and a school's folder named outside ASCII (and outside the ANSI
# code page: the narrow calls cannot name them).
PUPIL = "Łukasz Ëlå"
SCHOOL_FOLDER = "Maths ÷ Übungen Ł"


def buttons_drawn(shot):
    """True when every command button shows its picture (not the white of none)."""
    return all(len({shot.pixel(left + dx, top + dy) for dx in range(0, 75, 5)
                    for dy in range(0, 75, 5)}) > 3
               for left, top in look.BUTTONS.values())


def names_outside_ascii(scenario):
    """Names outside ASCII, as schools have them. The installed copy for the pupil
    "Łukasz Ëlå" keeps its settings in that pupil's %APPDATA%\Bricketing and reads them
    back at the next start. A portable copy unpacked into "Maths ÷ Übungen Ł" then reads
    its levels, pictures and its own settings ("lots of", not the pupil's "x"), and
    saves to its own Data\settings.txt, leaving the pupil's file alone."""
    prefix = scenario.prefix
    expect(prefix.appdata().parts[-3] == PUPIL,
           f"the prefix's user is {prefix.appdata().parts[-3]!r}, not {PUPIL!r}")
    code = prefix.run(scenario.setup_file, "/S")
    expect(code == 0, f"the silent install ended with {code}")
    installed = prefix.program_files() / INSTALL_FOLDER
    user_settings = prefix.appdata() / "Bricketing" / "settings.txt"
    lesson = scenario.launch(installed)
    wait_for_question(lesson)
    confirm_settings(lesson)
    wait_for_file(user_settings, EXPECTED_SETTINGS, f"{user_settings}")
    quit_with_yes(lesson)
    lesson = scenario.launch(installed)
    expect_expert_with_times(lesson, "the installed copy's next run")
    quit_with_yes(lesson)

    folder = scenario.unpack_zip(into=SCHOOL_FOLDER)
    settings_file = folder / "Data" / "settings.txt"
    settings_file.write_bytes(PLAIN_SETTINGS.encode("ascii"))
    pupil_file = user_settings.stat()
    # Started from another folder, as from a command prompt: it finds its own folder.
    lesson = scenario.launch(folder, working_folder=prefix.drive_c)
    shot = wait_for_question(lesson)
    expect(buttons_drawn(shot), f"the buttons' pictures are missing, see {shot.path}")
    wording = look.ink_width(shot, look.line_box(1, look.WORDING_COLUMN))
    expect(wording >= 90, f'the portable copy is not worded "lots of" ({wording} px wide): '
           f"it did not read its own settings, see {shot.path}")
    confirm_settings(lesson)
    wait_for_file(settings_file, EXPECTED_SETTINGS, r"the copy's Data\settings.txt")
    expect(user_settings.stat().st_mtime_ns == pupil_file.st_mtime_ns,
           "the portable copy wrote the pupil's per-user file")
    quit_with_yes(lesson)


names_outside_ascii.user = PUPIL


def dialog_in_dutch(scenario, lesson, title, nl, names):
    """The dialog titled `title` is open: a reader names its controls, `names` among
    them, and none in English where the catalogue `nl` has Dutch. (Wine keeps no names
    given through the annotation service, so the Create Question edits are unnamed.)"""
    dialog = scenario.desktop.wait_for_window(title)
    read = []
    wait_until(lambda: read.extend(control_names(scenario, title)) or read, WINDOW_SECONDS,
               f'the controls of "{title}"')
    expect(set(names) <= set(read), f'"{title}" reads {read}, not all of {names}')
    english = english_left(read, nl)
    expect(not english, f'"{title}" still shows {english} in English')
    # Looked at once drawn: two shots alike over the dialog.
    box, previous = window_box(lesson, dialog), []

    def drawn(shot):
        alike = previous and shot.differing_pixels(previous[0], box) == 0
        previous[:] = [shot]
        return alike

    lesson.wait_for_look(title.lower().replace(" ", "-"), drawn, f'"{title}" drawn')
    return dialog


def dutch(scenario):
    """The portable copy told LANGUAGE:nl in its settings file: the command captions,
    the Settings and Create Question dialogs (their controls as a reader names them)
    and the refusal in its Error box in Dutch; 4578 : 35 drawn in Dutch notation and
    worked to "= 130 rest 28" with the tutor's Dutch words; the window read in the
    Dutch catalogue's words before and after; Help opening the Dutch help page when
    the copy has one; the exit prompt in Dutch."""
    folder = scenario.unpack_zip()
    (folder / "Data" / "settings.txt").write_bytes((PLAIN_SETTINGS + "\nLANGUAGE:nl\n").encode())
    nl = catalogue(folder, "nl")
    opened = scenario.record_browser()
    lesson = scenario.launch(folder)
    wait_for_question(lesson)

    press(lesson, "Settings", "Instellingen")
    dialog = dialog_in_dutch(scenario, lesson, "Instellingen", nl,
                             ["OK", "Annuleren", "Uitwerking", "Auto-product", "Auto-rest",
                              "Weergave", '"keer"', "Niveau", "Starter", "Gevorderd"])
    lesson.keys_to(dialog, "Escape")
    scenario.desktop.wait_until_closed("Instellingen")

    press(lesson, "Create Question", "Zelf een som")
    dialog = dialog_in_dutch(scenario, lesson, "Zelf een som", nl,
                             ["OK", "Annuleren", ":"])
    lesson.keys_to(dialog, *"12345", "Return")
    error_box = scenario.desktop.wait_for_window("Fout")
    too_big = "Het deeltal (het getal dat je deelt) moet kleiner zijn dan 10.000."
    lesson.wait_for_look("error-box-nl",
                         lambda s: message_box_says(lesson, error_box, s, too_big),
                         f'the Error box saying "{too_big}"')
    lesson.keys_to(error_box, "Return")
    scenario.desktop.wait_until_closed("Fout")
    lesson.keys_to(dialog, *"4578", "Return", *"35", "Return")
    scenario.desktop.wait_until_closed("Zelf een som")
    scenario.desktop.wait_for_focus(lesson.run.window)
    # A reader speaks the question in words, as ":" would be read as punctuation.
    name = nl.pgettext("spoken question", "{dividend} \u00f7 {divisor}").format(dividend=4578,
                                                                                divisor=35)
    expect(name == "4578 gedeeld door 35", f"the Dutch catalogue reads the question as {name!r}")
    work_dutch_question(lesson, says=look.tutor_says_roughly,
                        on_question=lambda: expect_window_reads(scenario, name, " ".join((
                            nl.gettext("How many lots of {divisor} to take from {left}?")
                            .format(divisor=35, left=4578),
                            nl.gettext("Nothing typed yet.")))))
    expect_window_reads(scenario, name, nl.gettext(
        "The answer is {answer} remainder {remainder}.").format(answer=130, remainder=28))

    # Help opens the Dutch page when the copy has one, else the English one.
    page = "help.nl.html" if (folder / "Help" / "help.nl.html").is_file() else "help.html"
    press(lesson, "Help", "Hulp")
    wait_until(lambda: opened.is_file() and opened.read_text().strip(), WINDOW_SECONDS,
               "Help to open a page in the browser")
    expect(opened.read_text().strip().endswith("/Help/" + page),
           f"Help opened {opened.read_text().strip()}, not {page}")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    quit_with_yes(lesson, "Genoeg geoefend?", "Klaar met delen voor vandaag?")

    # Again with no language in the settings file but Windows in Dutch (Wine's from the
    # locale), at 192 dots per inch: the dialogs by their keys, looked at twice as large.
    (folder / "Data" / "settings.txt").write_bytes(PLAIN_SETTINGS.encode())
    scenario.display.env.update(LANG="nl_NL.UTF-8", LC_ALL="nl_NL.UTF-8")
    code = scenario.prefix.run("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                               "/t", "REG_DWORD", "/d", "192", "/f")
    expect(code == 0, f"192 dots per inch could not be set ({code})")
    lesson = scenario.launch(folder)
    lesson.wait_for_look("start-192-dpi",
                         lambda s: s.count(look.BOARD_COLOUR, (0, 0, 960, 1148)) > 500000,
                         "the working-out panel drawn twice as large")
    for key, title, names in (("F4", "Instellingen", ["Annuleren", "Niveau"]),
                              ("F3", "Zelf een som", ["Annuleren", ":"])):
        lesson.keys_to(lesson.run.window, key)
        dialog = dialog_in_dutch(scenario, lesson, title, nl, names)
        lesson.keys_to(dialog, "Escape")
        scenario.desktop.wait_until_closed(title)
    lesson.keys_to(lesson.run.window, "Escape")
    lesson.keys_to(scenario.desktop.wait_for_window("Genoeg geoefend?"), "Return")
    code = lesson.run.wait_for_exit(timeout=WINDOW_SECONDS)
    expect(code == 0, f"the program ended with exit code {code}, not 0")


dutch.screen = (2048, 1536)  # room for the window at 192 dots per inch

SCENARIOS = {
    "portable": portable,
    "installer": installer,
    "opened_in_zip": opened_in_zip,
    "names-outside-ascii": names_outside_ascii,
    "dutch": dutch,
}
