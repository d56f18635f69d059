"""The tutor beside the board: 100 ÷ 7 with the key-facts box filled in first (one fact
typed wrong and again), three wrong products that get the slip named, a hint and then
the value, and the praise and the check after the answer. The words are read from the
picture, line by line, in the note right of the board."""

import lesson as look
import textmatch
from program import PLAIN_SETTINGS
from screen import parse_colour
from steps import AWAY_FROM_BUTTONS, create_question, expect, quit_with_yes, wait_for_question

KEY_FACTS_BOX = (487, 4, 796, 44)
FACTS_INK = parse_colour(0xFF1E1E1E)
FACTS_FONT_PIXELS = 13               # 10 points
SMALL_PRINT_LIMIT = 2 * textmatch.GLYPH_MISMATCH_LIMIT

FILL_IN_SETTINGS = PLAIN_SETTINGS + "\nHINTS:ON\nKEYFACTS:FILLIN"


def wait_for_words(lesson, name, text, also=lambda shot: True):
    return lesson.wait_for_look(name, lambda s: look.tutor_says(s, text) and also(s),
                                f'the tutor to say "{text}"')


def tutor(scenario):
    lesson = scenario.launch(scenario.runtime_copy(FILL_IN_SETTINGS))
    wait_for_question(lesson)
    create_question(lesson, 100, 7)
    shot = wait_for_words(lesson, "key-facts-asked",
                          "Fill in the key facts first. What is 1 lot of 7?")
    expect(not look.tutor_says(shot, "Fill in the key facts first. What is 1 lot of 8?"),
           "the words check cannot tell 7 from 8")
    expect(shot.count(look.HEADER_COLOUR, look.HEADER_BOX) > 50, "the header is gone")

    # The facts, one typed wrong: it turns red, the next key only clears it.
    for value in ("7", "14"):
        lesson.keys(*value, "Return")
    lesson.keys("3", "6", "Return")
    shot = wait_for_words(lesson, "key-fact-wrong", "Not quite. What are 5 lots of 7?",
                          lambda s: s.count(look.ENTRY_ERROR_COLOUR, KEY_FACTS_BOX, 60) > 3)
    lesson.keys("3")
    lesson.wait_for_look("key-fact-cleared",
                         lambda s: s.count(look.ENTRY_ERROR_COLOUR, KEY_FACTS_BOX, 60) == 0,
                         "the wrong fact to be cleared")
    for value in ("35", "70", "700"):
        lesson.keys(*value, "Return")
    shot = wait_for_words(lesson, "key-facts-done",
                          "Key facts done. Now take lots of 7 away from 100.")
    expect(textmatch.shows_text(shot, (487, 24, 590, 44), "10 × 7 = 70", FACTS_INK,
                                FACTS_FONT_PIXELS, limit=SMALL_PRINT_LIMIT),
           f'the box does not show "10 × 7 = 70" under the first fact, see {shot.path}')
    expect(look.entry_row_on(shot, 1, look.MULTIPLES_COLUMN)
           and look.ink_width(shot, look.line_box(1, look.MULTIPLES_COLUMN), look.ENTRY_COLOUR) < 60,
           f"the facts' keys reached the working-out, see {shot.path}")

    # Three wrong products for 10 lots: the slip, a hint, then the value to type.
    lesson.keys("1", "0", "Return")
    lesson.wait_for_look("product-asked", lambda s: look.entry_row_on(s, 1, look.AMOUNTS_COLUMN),
                         "the product to be asked for")
    tries = (("7", "That is ten times too small: count the zeros again."),
             ("77", "5 lots of 7 is 35, so 10 lots is double that."),
             ("60", "10 lots of 7 is 70. Type 70."))
    for number, words in tries:
        lesson.keys(*number, "Return")
        shot = wait_for_words(lesson, f"wrong-product-{number}", words,
                              lambda s: look.entry_error_pixels(s) > 40)
        lesson.keys("0")  # clears the wrong product
    expect(not look.tutor_says(shot, "10 lots of 7 is 77. Type 77."),
           "the words check cannot tell 70 from 77")
    lesson.wait_for_look("product-cleared", lambda s: look.entry_error_pixels(s) == 0,
                         "the wrong product to be cleared")

    # The rest right: 70, 30 left, 4 lots, 28, 2 left, 14.
    for value in ("70", "30", "4", "28", "2", "14"):
        lesson.keys(*value, "Return")
    lesson.move_to(*AWAY_FROM_BUTTONS)
    shot = wait_for_words(lesson, "praise",
                          "You spotted your slips and put them right. Well done for keeping "
                          "going. Check: 14 × 7 + 2 = 100.",
                          lambda s: look.shows_quotient(s, "= 14"))
    expect(look.shows_remainder_part(shot, " rem.2"), "the answer's remainder part is missing")
    quit_with_yes(lesson)


SCENARIOS = {"tutor": tutor}
