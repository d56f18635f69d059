"""Checks that a region of a screenshot shows a given text. The text is rendered with
the same face and pixel size by ImageMagick; both pictures become maps of ink
coverage (0 to 1 per pixel), are cut into glyphs at empty columns, and each glyph is
compared with its counterpart: every solidly inked pixel of one must lie in the
other's faintly inked area. That forgives the thicker or thinner stems two renderers
give the same glyph but not a stroke that is missing or extra, so it tells "345 ÷ 7"
from "346 ÷ 7" without any character recognition."""

import functools
import subprocess
from collections import Counter

from screen import read_netpbm

SOLID = 0.7     # coverage of a glyph's solid core
FAINT = 0.3     # coverage of its faint hull
CUT = 0.5       # coverage that joins pixels into a glyph
# Largest share of solid pixels outside the other glyph's hull. The same glyph from
# two renderers stays below about 0.08 (0.02 at 40 pixels); a different digit gives
# 0.12 or more.
GLYPH_MISMATCH_LIMIT = 0.1
# How far (per channel, root-mean-square) a pixel may lie from the blends of the ink
# and the background and still count as a blend; other colours are other things.
BLEND_DISTANCE = 40


@functools.lru_cache(maxsize=None)
def font_file(family):
    """The face the font system gives for a family name (Arial resolves to a
    metric-compatible face on Linux), as the program's Qt backend gets it."""
    return subprocess.run(["fc-match", "-f", "%{file}", family], check=True,
                          capture_output=True, text=True).stdout.strip()


def glyphs(coverage):
    """The coverage map cut into glyphs at columns without a pixel of at least CUT,
    left to right; each glyph keeps its pixels in place so neighbours can be joined."""
    columns = sorted({x for (x, _), value in coverage.items() if value >= CUT})
    spans, current = [], []
    for x in columns:
        if current and x != current[-1] + 1:
            spans.append((current[0], current[-1]))
            current = []
        current.append(x)
    if current:
        spans.append((current[0], current[-1]))
    return [{point: value for point, value in coverage.items() if left <= point[0] <= right}
            for left, right in spans]


def normalised(coverage):
    """The map moved so that its solid part's box starts at (0, 0)."""
    inked = [point for point, value in coverage.items() if value >= CUT]
    left = min(x for x, _ in inked)
    top = min(y for _, y in inked)
    return {(x - left, y - top): value for (x, y), value in coverage.items()}


def joined(pieces):
    result = {}
    for piece in pieces:
        result.update(piece)
    return result


@functools.lru_cache(maxsize=None)
def reference_glyphs(text, pixel_size, family="Arial"):
    """The glyphs of the text as ImageMagick renders it (72 dots per inch, so points
    are pixels)."""
    pgm = subprocess.run(
        ["convert", "-background", "black", "-fill", "white", "-font", font_file(family),
         "-pointsize", str(pixel_size), "label:" + text, "-depth", "8", "pgm:-"],
        check=True, capture_output=True).stdout
    width, height, _, samples = read_netpbm(pgm)
    coverage = {(i % width, i // width): value / 255
                for i, value in enumerate(samples[:width * height]) if value >= 64}
    return tuple(glyphs(coverage))


def ink_coverage(shot, box, colour, background=None):
    """How much of `colour` over `background` (by default the commonest colour of the
    box) each pixel of the box holds, for pixels that are such blends at all."""
    pixels = list(shot.region(*box))
    if not pixels:
        return {}
    if background is None:
        background = Counter(p for _, _, p in pixels).most_common(1)[0][0]
    span = [c - b for c, b in zip(colour, background)]
    length = sum(s * s for s in span) or 1
    coverage = {}
    for x, y, p in pixels:
        offset = [v - b for v, b in zip(p, background)]
        share = sum(o * s for o, s in zip(offset, span)) / length
        if share < FAINT:
            continue
        share = min(share, 1.0)
        away = sum((o - share * s) ** 2 for o, s in zip(offset, span)) / 3
        if away <= BLEND_DISTANCE ** 2:
            coverage[(x, y)] = share
    return coverage


def ink_glyphs(shot, box, colour, background=None):
    """The glyphs formed by the ink of `colour` in the box."""
    return glyphs(ink_coverage(shot, box, colour, background))


def glyph_mismatch(seen, expected):
    """The share of either glyph's solid pixels outside the other's hull, for the best
    of the nine one-pixel shifts."""
    seen_solid = {p for p, v in seen.items() if v >= SOLID}
    seen_hull = {p for p, v in seen.items() if v >= FAINT}
    best = 1.0
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            moved = {(x + dx, y + dy): v for (x, y), v in expected.items()}
            solid = {p for p, v in moved.items() if v >= SOLID}
            hull = {p for p, v in moved.items() if v >= FAINT}
            outside = len(seen_solid - hull) + len(solid - seen_hull)
            best = min(best, outside / max(1, len(seen_solid) + len(solid)))
    return best


def aligned_mismatch(seen, expected):
    """The worst glyph mismatch of the best pairing of the two lists of glyphs, where
    two neighbouring glyphs of either side may stand for one of the other (one
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
                cost = glyph_mismatch(normalised(joined(seen[i:i + a])),
                                      normalised(joined(expected[j:j + b])))
                key = (i + a, j + b)
                worst[key] = min(worst.get(key, 1.0), max(worst[(i, j)], cost))
    return worst.get((len(seen), len(expected)), 1.0)


def mismatch(shot, box, text, colour, pixel_size, background=None, family="Arial"):
    seen = ink_glyphs(shot, box, colour, background)
    if not seen:
        return 1.0
    return aligned_mismatch(seen, reference_glyphs(text, pixel_size, family))


def shows_text(shot, box, text, colour, pixel_size, background=None, family="Arial",
               limit=GLYPH_MISMATCH_LIMIT):
    """True when the ink of `colour` in the box spells `text` and nothing else."""
    return mismatch(shot, box, text, colour, pixel_size, background, family) <= limit


def glyph_is(seen_glyph, character, pixel_size):
    """True when one glyph seen on the screen is the given character."""
    (expected,) = reference_glyphs(character, pixel_size)
    return glyph_mismatch(normalised(seen_glyph), normalised(expected)) <= GLYPH_MISMATCH_LIMIT


def solid_width(coverage):
    xs = [x for (x, _), value in coverage.items() if value >= CUT]
    return max(xs) - min(xs) + 1 if xs else 0


def line_width_matches(shot, box, text, colour, pixel_size, family, slack=0.03):
    """For small print, where two renderers' glyphs differ too much to compare one by
    one: true when the ink in the box is as wide as the text, within `slack` of its
    width. Enough to tell apart messages of different lengths."""
    seen = solid_width(ink_coverage(shot, box, colour))
    expected = solid_width(joined(reference_glyphs(text, pixel_size, family)))
    return abs(seen - expected) <= slack * expected


def describe(shot, box, text, colour, pixel_size, background=None, family="Arial"):
    """A line for failure messages."""
    seen = ink_glyphs(shot, box, colour, background)
    value = mismatch(shot, box, text, colour, pixel_size, background, family)
    return (f'"{text}" in {box}: {len(seen)} glyphs seen, '
            f"{len(reference_glyphs(text, pixel_size, family))} expected, mismatch {value:.2f}, "
            f"in {shot.path}")
