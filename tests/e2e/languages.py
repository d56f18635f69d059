"""The program in Dutch, as the desktop's language chooses it: the command captions,
the Settings and Create Question dialogs, the refusal in its Error box, the question
and the answer in Dutch notation ("4578 : 35", "= 130 rest 28") and the exit prompt."""

import lesson as look
from steps import (AWAY_FROM_BUTTONS, expect, message_box_says, wait_for_question,
                   work_in_two_steps)

DUTCH = {"LANGUAGE": "nl", "LANG": "nl_NL.UTF-8"}


def press(lesson, button, caption):
    """Presses a command button once its caption shows in the pupil's language."""
    left, top = look.BUTTONS[button]
    lesson.move_to(left + look.BUTTON_SIZE // 2, top + look.BUTTON_SIZE // 2)
    lesson.wait_for_look("hover-" + button.lower().replace(" ", "-"),
                         lambda shot: look.shows_caption(shot, caption), f'the caption "{caption}"')
    expect(not look.shows_caption(lesson.look("caption-check"), button),
           f'the caption check cannot tell "{caption}" from "{button}"')
    lesson.desktop.click()


def work_dutch_question(lesson, on_question=None, **work):
    """4578 : 35 as created in Dutch, worked in two steps: 100 keer 35 (3500, 1078 left),
    then 30 keer with 1051 typed before 1050, 28 left. The header, the tutor's slip and
    praise and the answer are in Dutch notation and words; on_question() checks more once
    the question shows. Returns the last look."""
    lesson.move_to(*AWAY_FROM_BUTTONS)
    shot = lesson.wait_for_look("question-4578-by-35",
                                lambda s: look.shows_header(s, "4578 : 35"),
                                'the header "4578 : 35"')
    expect(not look.shows_header(shot, "4578 \u00f7 35"),
           "the header check cannot tell the Dutch division sign from the English one")
    if on_question:
        on_question()
    shot = work_in_two_steps(
        lesson, 4578, 35, 100, 30, 1051, slip="Bijna. Hoeveel is 30 keer 35?",
        praise="Je zag je foutjes en verbeterde ze. Goed dat je doorging! "
               "Controle: 130 \u00d7 35 + 28 = 4578.", **work)
    expect(look.shows_quotient(shot, "= 130"), f'the answer is not "= 130", see {shot.path}')
    expect(look.shows_remainder_part(shot, " rest 28"),
           f'the remainder is not written " rest 28", see {shot.path}')
    expect(not look.shows_remainder_part(shot, " rem.28"),
           "the remainder check cannot tell the Dutch wording from the English one")
    return shot


def dutch(scenario):
    """Started with the desktop in Dutch: every text the pupil meets is Dutch."""
    scenario.desktop.env.update(DUTCH)
    lesson = scenario.launch()
    wait_for_question(lesson)

    press(lesson, "Settings", "Instellingen")
    scenario.desktop.wait_for_window("Instellingen")
    lesson.look("settings-dialog-nl")
    lesson.keys("Escape")
    scenario.desktop.wait_until_closed("Instellingen")

    press(lesson, "Create Question", "Zelf een som")
    scenario.desktop.wait_for_window("Zelf een som")
    lesson.look("create-question-dialog-nl")
    lesson.enter_number(12345)
    error_box = scenario.desktop.wait_for_window("Fout")
    shot = lesson.look("error-box-nl")
    too_big = "Het deeltal (het getal dat je deelt) moet kleiner zijn dan 10.000."
    expect(message_box_says(lesson, error_box, shot, too_big),
           f'the Error box does not say "{too_big}", see {shot.path}')
    lesson.keys("Return")
    scenario.desktop.wait_until_closed("Fout")
    lesson.enter_number(4578)
    lesson.enter_number(35)
    scenario.desktop.wait_until_closed("Zelf een som")
    work_dutch_question(lesson)

    lesson.keys("Escape")
    prompt = scenario.desktop.wait_for_window("Genoeg geoefend?")
    shot = lesson.look("exit-prompt-nl")
    expect(message_box_says(lesson, prompt, shot, "Klaar met delen voor vandaag?"),
           f"the exit prompt is not in Dutch, see {shot.path}")
    lesson.keys("Return")
    code = lesson.run.wait_for_exit()
    expect(code == 0, f"the program ended with exit code {code}, not 0")


SCENARIOS = {"dutch": dutch}
