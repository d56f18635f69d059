"""Checks that a region of a screenshot shows a given text. The text is rendered with
the same face and pixel size by ImageMagick; both pictures are reduced to the pixels
mostly covered by ink and cut into glyphs at empty columns; then each glyph is
compared with its counterpart. Different digits or words differ clearly glyph by
glyph, so this tells "345 ÷ 7" from "346 ÷ 7" without any character recognition,
while the small differences of two font renderers stay well below the limit."""

import functools
import subprocess
from collections import Counter

from screen import read_netpbm

# Largest share of a glyph's ink (of the two renderings together) that may differ.
# The same glyph from two renderers differs by up to about 0.2, different digits by
# 0.35 or more.
GLYPH_MISMATCH_LIMIT = 0.3


@functools.lru_cache(maxsize=None)
def font_file(family):
    """The face the font system gives for a family name (Arial resolves to a
    metric-compatible face on Linux), as the program's Qt backend gets it."""
    return subprocess.run(["fc-match", "-f", "%{file}", family], check=True,
                          capture_output=True, text=True).stdout.strip()


def normalised(points):
    """The points moved so that their bounding box starts at (0, 0)."""
    if not points:
        return frozenset()
    left = min(x for x, _ in points)
    top = min(y for _, y in points)
    return frozenset((x - left, y - top) for x, y in points)


def glyphs(points):
    """The shape cut at empty columns into pieces, left to right, each piece a set of
    points in place (not normalised), so that neighbours can be joined again."""
    columns = sorted({x for x, _ in points})
    pieces, current = [], []
    for x in columns:
        if current and x != current[-1] + 1:
            pieces.append(current)
            current = []
        current.append(x)
    if current:
        pieces.append(current)
    return [frozenset((x, y) for x, y in points if piece[0] <= x <= piece[-1])
            for piece in pieces]


@functools.lru_cache(maxsize=None)
def reference_points(text, pixel_size, family="Arial"):
    """The ink of the text as ImageMagick renders it (72 dots per inch, so points are
    pixels)."""
    pgm = subprocess.run(
        ["convert", "-background", "black", "-fill", "white", "-font", font_file(family),
         "-pointsize", str(pixel_size), "label:" + text, "-depth", "8", "pgm:-"],
        check=True, capture_output=True).stdout
    width, height, _, samples = read_netpbm(pgm)
    return tuple((i % width, i // width) for i, value in enumerate(samples[:width * height])
                 if value >= 128)


def reference_glyphs(text, pixel_size, family="Arial"):
    return glyphs(reference_points(text, pixel_size, family))


def width_of(points):
    return max(x for x, _ in points) - min(x for x, _ in points) + 1 if points else 0


def line_width_matches(shot, box, text, colour, pixel_size, family, slack=0.03):
    """For small print, where two renderers' glyphs differ too much to compare one by
    one: true when the ink in the box is as wide as the text, within `slack` of its
    width. Enough to tell apart messages of different lengths."""
    seen = width_of(ink_points(shot, box, colour))
    expected = width_of(reference_points(text, pixel_size, family))
    return abs(seen - expected) <= slack * expected


# How far (per channel, root-mean-square) a pixel may lie from the blends of the ink
# and the background and still count as a blend; other colours are other things.
BLEND_DISTANCE = 40


def ink_points(shot, box, colour, background=None):
    """The pixels of the box that are blends of `colour` over `background` (by default
    the commonest colour of the box) with at least half of the ink."""
    pixels = list(shot.region(*box))
    if not pixels:
        return []
    if background is None:
        background = Counter(p for _, _, p in pixels).most_common(1)[0][0]
    span = [c - b for c, b in zip(colour, background)]
    length = sum(s * s for s in span) or 1
    points = []
    for x, y, p in pixels:
        offset = [v - b for v, b in zip(p, background)]
        share = sum(o * s for o, s in zip(offset, span)) / length
        if share < 0.5:
            continue
        share = min(share, 1.0)
        away = sum((o - share * s) ** 2 for o, s in zip(offset, span)) / 3
        if away <= BLEND_DISTANCE ** 2:
            points.append((x, y))
    return points


def ink_glyphs(shot, box, colour, background=None):
    """The glyphs formed by the ink of `colour` in the box."""
    return glyphs(ink_points(shot, box, colour, background))


def glyph_mismatch(seen, expected):
    """Pixels in one glyph but not the other over pixels in either, for the best of
    the nine one-pixel shifts."""
    best = 1.0
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            shifted = {(x + dx, y + dy) for x, y in expected}
            best = min(best, len(seen ^ shifted) / len(seen | shifted))
    return best


def aligned_mismatch(seen, expected):
    """The worst glyph mismatch of the best pairing of the two lists of pieces, where
    two neighbouring pieces of either side may stand for one of the other (one
    renderer's letters may touch where the other's do not, as in "tt"); 1.0 when no
    pairing covers both."""
    worst = {(0, 0): 0.0}
    for i in range(len(seen) + 1):
        for j in range(len(expected) + 1):
            if (i, j) not in worst:
                continue
            for a, b in ((1, 1), (1, 2), (2, 1)):
                if i + a > len(seen) or j + b > len(expected):
                    continue
                cost = glyph_mismatch(normalised(frozenset().union(*seen[i:i + a])),
                                      normalised(frozenset().union(*expected[j:j + b])))
                key = (i + a, j + b)
                worst[key] = min(worst.get(key, 1.0), max(worst[(i, j)], cost))
    return worst.get((len(seen), len(expected)), 1.0)


def mismatch(shot, box, text, colour, pixel_size, background=None, family="Arial"):
    """The worst glyph's mismatch over the best pairing of glyphs."""
    seen = ink_glyphs(shot, box, colour, background)
    expected = reference_glyphs(text, pixel_size, family)
    if not seen:
        return 1.0
    return aligned_mismatch(seen, expected)


def shows_text(shot, box, text, colour, pixel_size, background=None, family="Arial"):
    """True when the pixels of `colour` in the box spell `text` and nothing else."""
    return (mismatch(shot, box, text, colour, pixel_size, background, family)
            <= GLYPH_MISMATCH_LIMIT)


def glyph_is(seen_glyph, character, pixel_size):
    """True when one glyph seen on the screen is the given character."""
    (expected,) = reference_glyphs(character, pixel_size)
    return glyph_mismatch(normalised(seen_glyph), normalised(expected)) <= GLYPH_MISMATCH_LIMIT


def describe(shot, box, text, colour, pixel_size, background=None, family="Arial"):
    """A line for failure messages."""
    seen = ink_glyphs(shot, box, colour, background)
    value = mismatch(shot, box, text, colour, pixel_size, background, family)
    return (f'"{text}" in {box}: {len(seen)} glyphs seen, '
            f"{len(reference_glyphs(text, pixel_size, family))} expected, mismatch {value:.2f}, "
            f"in {shot.path}")
