#!/usr/bin/env python3
"""Checks the files the program ships beside its code: every picture it loads (valid PNG,
exact size, transparent where it must be, frames that really differ), the program icon and
About picture, the resource list, the help page and its links, and the desktop entry.

Usage: check_assets.py ROOT                  check the files in the repository at ROOT
       check_assets.py ROOT --rerender        also render the pictures afresh from art/ and
                                              compare them with the committed ones
       check_assets.py ROOT --installed DIR   check an installed tree under the prefix DIR

Standard library only: PNG, BMP and ICO headers are read here, and PNG pixels decoded here.
"""

import configparser
import html.parser
import os
import posixpath
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import urllib.parse
import xml.etree.ElementTree as ElementTree
import zlib

ROOT = "."
INSTALLED = None

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
BUTTONS = ["btnNewQuestion", "btnCreateQuestion", "btnRestartQuestion", "btnSettings",
           "btnHelp", "btnExit"]
ICON_SIZES = [16, 32, 48, 256]

# Every picture the program loads at run time, with its exact size.
RUNTIME_PICTURES = {f"Resources/{name}.png": (225, 75) for name in BUTTONS}
RUNTIME_PICTURES.update({
    "Resources/Quillmoor_200.png": (200, 80),
    "Resources/Mox_73.png": (73, 73),
    "Resources/balloon.png": (315, 75),
    "Resources/Repeat icon_25.png": (25, 25),
    "Resources/Delete icon_25.png": (25, 25),
    "Resources/Up icon_40.png": (40, 40),
})
ICON_PICTURES = {f"src/resources/icons/bricketing_{n}.png": (n, n) for n in ICON_SIZES}


def doubled_path(relative):
    """Where the twice-as-fine version of a run-time picture is kept."""
    folder, name = posixpath.split(relative)
    return posixpath.join(folder, "2x", name)


# The same pictures at twice the size, for screens with two device pixels per pixel.
DOUBLED_PICTURES = {doubled_path(relative): (width * 2, height * 2)
                    for relative, (width, height) in RUNTIME_PICTURES.items()}


def path_of(relative):
    return os.path.join(ROOT, relative)


def read_bytes(relative):
    with open(path_of(relative), "rb") as file:
        return file.read()


# ---------------------------------------------------------------------------------------
# PNG reading


class Png:
    """A parsed PNG: header fields, and pixels as RGBA bytes once decoded."""

    def __init__(self, data):
        self.chunks = read_png_chunks(data)
        header = self.chunks[0][1]
        (self.width, self.height, self.bit_depth, self.colour_type, _, _,
         self.interlace) = struct.unpack(">IIBBBBB", header)
        self._rgba = None

    def rgba(self):
        if self._rgba is None:
            self._rgba = decode_pixels(self)
        return self._rgba

    def pixel(self, x, y):
        offset = (y * self.width + x) * 4
        return tuple(self.rgba()[offset:offset + 4])

    def region(self, left, top, width, height):
        """The RGBA bytes of a rectangle, row after row."""
        rows = []
        data = self.rgba()
        for y in range(top, top + height):
            start = (y * self.width + left) * 4
            rows.append(data[start:start + width * 4])
        return b"".join(rows)


def read_png_chunks(data):
    """Splits a PNG into its chunks, checking the signature, lengths, CRCs and order."""
    if not data.startswith(PNG_SIGNATURE):
        raise ValueError("no PNG signature")
    chunks = []
    offset = len(PNG_SIGNATURE)
    while offset < len(data):
        if offset + 12 > len(data):
            raise ValueError("truncated chunk header")
        (length,) = struct.unpack(">I", data[offset:offset + 4])
        kind = data[offset + 4:offset + 8]
        body = data[offset + 8:offset + 8 + length]
        if len(body) != length or offset + 12 + length > len(data):
            raise ValueError(f"chunk {kind!r} runs past the end of the file")
        (crc,) = struct.unpack(">I", data[offset + 8 + length:offset + 12 + length])
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise ValueError(f"bad CRC in chunk {kind!r}")
        chunks.append((kind, body))
        offset += 12 + length
        if kind == b"IEND":
            break
    if offset != len(data):
        raise ValueError("data after IEND")
    if not chunks or chunks[0][0] != b"IHDR" or len(chunks[0][1]) != 13:
        raise ValueError("IHDR is not the first chunk")
    if chunks[-1][0] != b"IEND":
        raise ValueError("no IEND chunk")
    if not any(kind == b"IDAT" for kind, _ in chunks):
        raise ValueError("no IDAT chunk")
    return chunks


CHANNELS = {0: 1, 2: 3, 4: 2, 6: 4}  # colour type -> samples per pixel (8-bit, no palette)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, bytes_per_pixel):
    """Undoes the per-row filters of non-interlaced image data."""
    stride = width * bytes_per_pixel
    if len(raw) != height * (stride + 1):
        raise ValueError("image data has the wrong length for its size")
    out = bytearray(height * stride)
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(bytes_per_pixel, stride):
                line[i] = (line[i] + line[i - bytes_per_pixel]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - bytes_per_pixel] if i >= bytes_per_pixel else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - bytes_per_pixel] if i >= bytes_per_pixel else 0
                up_left = previous[i - bytes_per_pixel] if i >= bytes_per_pixel else 0
                line[i] = (line[i] + paeth(left, previous[i], up_left)) & 0xFF
        elif kind != 0:
            raise ValueError(f"unknown filter type {kind}")
        out[y * stride:(y + 1) * stride] = line
        previous = line
    return out


def decode_pixels(png):
    """Decodes an 8-bit, non-interlaced PNG without palette into RGBA bytes."""
    if png.bit_depth != 8 or png.colour_type not in CHANNELS or png.interlace != 0:
        raise ValueError(f"unsupported PNG layout: depth {png.bit_depth}, "
                         f"colour type {png.colour_type}, interlace {png.interlace}")
    raw = zlib.decompress(b"".join(body for kind, body in png.chunks if kind == b"IDAT"))
    channels = CHANNELS[png.colour_type]
    samples = unfilter(raw, png.width, png.height, channels)
    if channels == 4:
        return bytes(samples)
    rgba = bytearray()
    for i in range(0, len(samples), channels):
        pixel = samples[i:i + channels]
        if channels == 1:
            rgba += bytes((pixel[0], pixel[0], pixel[0], 255))
        elif channels == 2:
            rgba += bytes((pixel[0], pixel[0], pixel[0], pixel[1]))
        else:
            rgba += bytes((pixel[0], pixel[1], pixel[2], 255))
    return bytes(rgba)


def load_png(relative):
    return Png(read_bytes(relative))


# ---------------------------------------------------------------------------------------
# Measures on RGBA pixels


def opaque_count(rgba, threshold=128):
    return sum(1 for alpha in rgba[3::4] if alpha >= threshold)


def mean_difference(first, second):
    """Mean absolute difference per channel between two equal-sized RGBA regions."""
    return sum(abs(a - b) for a, b in zip(first, second)) / len(first)


def mean_brightness(rgba):
    """Mean of (R + G + B) / 3 over the clearly opaque pixels."""
    total, count = 0, 0
    for i in range(0, len(rgba), 4):
        if rgba[i + 3] >= 200:
            total += (rgba[i] + rgba[i + 1] + rgba[i + 2]) / 3
            count += 1
    return total / count if count else 0


def lowest_opaque_row(rgba, width):
    rows = [i // 4 // width for i in range(3, len(rgba), 4) if rgba[i] >= 128]
    return max(rows) if rows else -1


def halved(png):
    """The RGBA bytes of a picture shrunk to half its size, each pixel the mean of the
    2 x 2 block it stands for (colours weighted by their opacity)."""
    rgba = png.rgba()
    out = bytearray()
    for y in range(0, png.height, 2):
        for x in range(0, png.width, 2):
            offsets = [((y + dy) * png.width + x + dx) * 4 for dy in (0, 1) for dx in (0, 1)]
            alpha = sum(rgba[o + 3] for o in offsets)
            for channel in range(3):
                weighted = sum(rgba[o + channel] * rgba[o + 3] for o in offsets)
                out.append(round(weighted / alpha) if alpha else 0)
            out.append(round(alpha / 4))
    return bytes(out)


def frames_of(png, frame_width):
    return [png.region(x, 0, frame_width, png.height) for x in range(0, png.width, frame_width)]


# ---------------------------------------------------------------------------------------
# Pictures


class PictureFiles(unittest.TestCase):
    """Every picture exists, is a sound PNG of its exact size and has a transparent
    background."""

    def check_picture(self, relative, size):
        with self.subTest(picture=relative):
            self.assertTrue(os.path.isfile(path_of(relative)), f"{relative} is missing")
            png = load_png(relative)
            self.assertEqual((png.width, png.height), size)
            self.assertEqual(png.colour_type, 6, "needs an alpha channel")
            self.assertGreater(opaque_count(png.rgba()), png.width * png.height // 10,
                               "the picture is (nearly) empty")

    def test_runtime_pictures_have_their_exact_sizes(self):
        for relative, size in RUNTIME_PICTURES.items():
            self.check_picture(relative, size)

    def test_doubled_pictures_have_twice_the_size(self):
        for relative, size in DOUBLED_PICTURES.items():
            self.check_picture(relative, size)

    def test_doubled_folder_holds_only_doubled_pictures(self):
        folder = path_of("Resources/2x")
        found = {f"Resources/2x/{name}" for name in os.listdir(folder)}
        self.assertEqual(found, set(DOUBLED_PICTURES))

    def test_doubled_pictures_show_the_same_picture(self):
        # Shrunk back to the plain size, the fine picture differs from the plain one
        # only along its edges.
        for relative in RUNTIME_PICTURES:
            with self.subTest(picture=relative):
                plain = load_png(relative)
                fine = load_png(doubled_path(relative))
                self.assertLess(mean_difference(plain.rgba(), halved(fine)), 4.0)

    def test_a_different_picture_is_told_apart(self):
        # The comparison above must be able to fail: two buttons, or a button and its
        # own strip shifted by one frame, differ far more.
        help_fine = load_png(doubled_path("Resources/btnHelp.png"))
        exit_plain = load_png("Resources/btnExit.png")
        self.assertGreater(mean_difference(exit_plain.rgba(), halved(help_fine)), 4.0)

    def test_program_icon_pngs_have_their_exact_sizes(self):
        for relative, size in ICON_PICTURES.items():
            self.check_picture(relative, size)

    def test_corners_are_transparent(self):
        frame_widths = {f"Resources/{name}.png": 75 for name in BUTTONS}
        frame_widths["Resources/balloon.png"] = 63
        frame_widths.update({doubled_path(relative): 2 * width
                             for relative, width in frame_widths.items()})
        for relative in {**RUNTIME_PICTURES, **DOUBLED_PICTURES, **ICON_PICTURES}:
            png = load_png(relative)
            width, height = png.width, png.height
            step = frame_widths.get(relative, width)
            for left in range(0, width, step):
                for x, y in [(left, 0), (left + step - 1, 0), (left, height - 1),
                             (left + step - 1, height - 1)]:
                    with self.subTest(picture=relative, x=x, y=y):
                        self.assertEqual(png.pixel(x, y)[3], 0)

    def test_corrupted_png_is_refused(self):
        data = bytearray(read_bytes("Resources/btnHelp.png"))
        data[40] ^= 0xFF  # inside the first chunk after IHDR
        with self.assertRaisesRegex(ValueError, "CRC"):
            read_png_chunks(bytes(data))
        with self.assertRaisesRegex(ValueError, "signature"):
            read_png_chunks(b"GIF89a" + bytes(data[6:]))
        with self.assertRaises(ValueError):
            read_png_chunks(bytes(data[:-20]))


class ButtonStrips(unittest.TestCase):
    """Each button strip holds three clearly different looks: normal, lit and pushed in."""

    def test_three_frames_differ_from_each_other(self):
        for name in BUTTONS:
            normal, hover, pressed = frames_of(load_png(f"Resources/{name}.png"), 75)
            with self.subTest(button=name):
                self.assertGreater(mean_difference(normal, hover), 8)
                self.assertGreater(mean_difference(normal, pressed), 8)
                self.assertGreater(mean_difference(hover, pressed), 8)

    def test_hover_is_lit_and_pressed_is_darker(self):
        # Compared over the middle of each frame, where the tile's face is in all three.
        for name in BUTTONS:
            png = load_png(f"Resources/{name}.png")
            normal, hover, pressed = (mean_brightness(png.region(left + 12, 12, 51, 48))
                                      for left in (0, 75, 150))
            with self.subTest(button=name):
                self.assertGreater(hover, normal + 10)
                self.assertLess(pressed, normal - 10)

    def test_buttons_have_different_pictures(self):
        normals = {name: frames_of(load_png(f"Resources/{name}.png"), 75)[0]
                   for name in BUTTONS}
        for i, first in enumerate(BUTTONS):
            for second in BUTTONS[i + 1:]:
                with self.subTest(first=first, second=second):
                    self.assertGreater(mean_difference(normals[first], normals[second]), 8)


class Balloon(unittest.TestCase):
    """The balloon strip: five different frames, growing over the first four, with the
    string hanging free in the last."""

    def setUp(self):
        self.frames = frames_of(load_png("Resources/balloon.png"), 63)

    def test_five_frames_differ(self):
        self.assertEqual(len(self.frames), 5)
        for i in range(5):
            for j in range(i + 1, 5):
                with self.subTest(first=i, second=j):
                    self.assertGreater(mean_difference(self.frames[i], self.frames[j]), 0.5)

    def test_balloon_grows_over_frames_zero_to_three(self):
        sizes = [opaque_count(frame) for frame in self.frames[:4]]
        self.assertEqual(sizes, sorted(set(sizes)), f"opaque pixels per frame: {sizes}")

    def test_last_frame_has_a_longer_string(self):
        self.assertGreater(lowest_opaque_row(self.frames[4], 63),
                           lowest_opaque_row(self.frames[3], 63))


class BoardIcons(unittest.TestCase):
    """The working-out's icons stand out on the board's beige and keep their colours."""

    BEIGE = (0xEE, 0xE2, 0xB7)

    def dominant_channel(self, relative):
        rgba = load_png(relative).rgba()
        totals = [0, 0, 0]
        for i in range(0, len(rgba), 4):
            if rgba[i + 3] >= 200:
                for channel in range(3):
                    totals[channel] += rgba[i + channel]
        return totals.index(max(totals)), totals

    def test_icons_contrast_with_the_beige_board(self):
        for relative in ["Resources/Repeat icon_25.png", "Resources/Delete icon_25.png",
                         "Resources/Up icon_40.png"]:
            rgba = load_png(relative).rgba()
            far = sum(1 for i in range(0, len(rgba), 4)
                      if rgba[i + 3] >= 200
                      and sum(abs(rgba[i + c] - self.BEIGE[c]) for c in range(3)) > 150)
            with self.subTest(icon=relative):
                self.assertGreater(far, len(rgba) // 4 // 4)

    def test_repeat_is_green_delete_red_and_up_blue(self):
        for relative, channel in [("Resources/Repeat icon_25.png", 1),
                                  ("Resources/Delete icon_25.png", 0),
                                  ("Resources/Up icon_40.png", 2)]:
            with self.subTest(icon=relative):
                self.assertEqual(self.dominant_channel(relative)[0], channel)


class ProgramIconFile(unittest.TestCase):
    """bricketing.ico holds the four sizes, each a sound image of its size."""

    def test_ico_holds_16_32_48_and_256(self):
        data = read_bytes("src/resources/bricketing.ico")
        reserved, kind, count = struct.unpack("<HHH", data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        sizes = []
        for index in range(count):
            entry = data[6 + 16 * index:22 + 16 * index]
            width, height, _, _, _, _, length, offset = struct.unpack("<BBBBHHII", entry)
            width, height = width or 256, height or 256
            self.assertLessEqual(offset + length, len(data))
            image = data[offset:offset + length]
            if image.startswith(PNG_SIGNATURE):
                png = Png(image)
                self.assertEqual((png.width, png.height), (width, height))
            else:
                header_size, dib_width, dib_height = struct.unpack("<Iii", image[:12])
                self.assertEqual(header_size, 40)
                self.assertEqual((dib_width, dib_height), (width, 2 * height))
            sizes.append(width)
            self.assertEqual(width, height)
        self.assertEqual(sorted(sizes), ICON_SIZES)


class AboutPicture(unittest.TestCase):
    """about.bmp is a 400 x 173 uncompressed 24-bit BMP with something drawn on it."""

    def test_bmp_header(self):
        data = read_bytes("src/resources/about.bmp")
        self.assertEqual(data[:2], b"BM")
        file_size, _, pixel_offset = struct.unpack("<IIi", data[2:14])
        self.assertEqual(file_size, len(data))
        header_size, width, height, planes, bits, compression = struct.unpack(
            "<IiiHHI", data[14:34])
        self.assertEqual(header_size, 40)
        self.assertEqual((width, abs(height)), (400, 173))
        self.assertEqual((planes, bits, compression), (1, 24, 0))
        stride = (width * 3 + 3) // 4 * 4
        self.assertLessEqual(pixel_offset + stride * abs(height), len(data))

    def test_bmp_is_not_blank(self):
        data = read_bytes("src/resources/about.bmp")
        (pixel_offset,) = struct.unpack("<i", data[10:14])
        colours = {data[i:i + 3] for i in range(pixel_offset, len(data) - 2, 3 * 7)}
        self.assertGreater(len(colours), 50)


class ResourceList(unittest.TestCase):
    """bricketing.qrc offers exactly the resource paths the program asks for."""

    EXPECTED = {"/about.bmp"} | {f"/icons/bricketing_{n}.png" for n in ICON_SIZES}

    def test_paths_and_files(self):
        qrc = path_of("src/resources/bricketing.qrc")
        tree = ElementTree.parse(qrc)
        found = set()
        for resource in tree.getroot().iter("qresource"):
            prefix = resource.get("prefix", "/").rstrip("/")
            for entry in resource.iter("file"):
                self.assertTrue(os.path.isfile(os.path.join(os.path.dirname(qrc), entry.text)),
                                f"{entry.text} is listed but missing")
                found.add(f"{prefix}/{entry.get('alias') or entry.text}")
        self.assertEqual(found, self.EXPECTED)


# ---------------------------------------------------------------------------------------
# Help page

VOID_ELEMENTS = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                 "source", "track", "wbr"}


class PageReader(html.parser.HTMLParser):
    """Collects what the checks need: tag balance problems, headings, title, language,
    ids and every address the page refers to."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open_tags = []
        self.problems = []
        self.doctype = None
        self.h1_count = 0
        self.title = ""
        self.lang = None
        self.ids = set()
        self.references = []
        self.images_without_alt = []
        self.scripts = 0
        self.text = []

    def handle_decl(self, declaration):
        self.doctype = declaration

    def handle_starttag(self, tag, attributes):
        attributes = dict(attributes)
        if tag == "html":
            self.lang = attributes.get("lang")
        if tag == "h1":
            self.h1_count += 1
        if tag == "script":
            self.scripts += 1
        if tag == "img" and not isinstance(attributes.get("alt"), str):
            self.images_without_alt.append(attributes.get("src"))
        if "id" in attributes:
            if attributes["id"] in self.ids:
                self.problems.append(f"duplicate id {attributes['id']}")
            self.ids.add(attributes["id"])
        for name in ("href", "src", "srcset", "action", "data", "poster"):
            if attributes.get(name) is not None:
                self.references.append(attributes[name])
        if tag not in VOID_ELEMENTS:
            self.open_tags.append((tag, self.getpos()))

    def handle_startendtag(self, tag, attributes):
        self.handle_starttag(tag, attributes)
        if tag not in VOID_ELEMENTS:
            self.problems.append(f"<{tag}/> is not a void element")
            self.open_tags.pop()

    def handle_endtag(self, tag):
        if tag in VOID_ELEMENTS:
            self.problems.append(f"end tag for void element {tag} at {self.getpos()}")
        elif not self.open_tags or self.open_tags[-1][0] != tag:
            expected = self.open_tags[-1] if self.open_tags else None
            self.problems.append(f"</{tag}> at {self.getpos()} does not close {expected}")
        else:
            self.open_tags.pop()

    def handle_data(self, data):
        if self.open_tags and self.open_tags[-1][0] == "title":
            self.title += data
        self.text.append(data)

    def close(self):
        super().close()
        for tag, position in self.open_tags:
            self.problems.append(f"<{tag}> at {position} is never closed")


def read_page(relative):
    reader = PageReader()
    with open(path_of(relative), encoding="utf-8") as file:
        reader.feed(file.read())
    reader.close()
    return reader


def local_target_problem(reference, base_folder, ids):
    """Why a reference from a file in base_folder is not a local file inside it, or None."""
    parts = urllib.parse.urlsplit(reference)
    if parts.scheme or parts.netloc or reference.startswith("//"):
        return f"{reference} leaves the help folder (scheme or host)"
    if parts.path.startswith("/"):
        return f"{reference} is an absolute path"
    if not parts.path:
        if parts.fragment and parts.fragment not in ids:
            return f"{reference} points to a missing id"
        return None
    target = posixpath.normpath(posixpath.join(base_folder, urllib.parse.unquote(parts.path)))
    if not (target + "/").startswith(base_folder + "/") or target == base_folder:
        return f"{reference} leaves {base_folder}/"
    if not os.path.isfile(path_of(target)):
        return f"{reference} does not exist"
    return None


def translated_help_pages():
    """Help/help.<code>.html, which po/help/update makes from each language's PO file."""
    return sorted(name for name in os.listdir(path_of("Help"))
                  if re.fullmatch(r"help\.[A-Za-z_]+\.html", name))


class HelpPage(unittest.TestCase):
    """help.html and each translation of it are well-formed HTML5 and self-contained;
    the English page covers what a pupil needs."""

    @classmethod
    def setUpClass(cls):
        cls.page = read_page("Help/help.html")
        cls.pages = {"help.html": cls.page}
        cls.pages.update({name: read_page(f"Help/{name}") for name in translated_help_pages()})

    def test_structure(self):
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertEqual(page.problems, [])
                self.assertEqual((page.doctype or "").lower(), "doctype html")
                self.assertEqual(page.h1_count, 1)
                self.assertTrue(page.title.strip())
                self.assertTrue(page.lang)
                self.assertEqual(page.images_without_alt, [])
                self.assertEqual(page.scripts, 0)

    def test_every_reference_is_a_local_file_inside_help(self):
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertTrue(page.references)
                problems = [local_target_problem(ref, "Help", page.ids)
                            for ref in page.references]
                self.assertEqual([p for p in problems if p], [])

    def test_translations_keep_the_page_and_say_their_language(self):
        with open(path_of("po/LINGUAS"), encoding="utf-8") as file:
            languages = {line.strip() for line in file if re.fullmatch(r"[A-Za-z_]+", line.strip())}
        english = self.pages["help.html"]
        for name in translated_help_pages():
            code = name.split(".")[1]
            page = self.pages[name]
            with self.subTest(page=name):
                self.assertIn(code, languages)
                self.assertEqual(page.lang, code.replace("_", "-"))
                if not code.startswith("en"):
                    self.assertNotEqual(page.title, english.title)
                # Same anchors, pictures and links: a translation changes words only.
                self.assertEqual(page.ids, english.ids)
                self.assertEqual(page.references, english.references)

    def test_stylesheet_refers_to_nothing_outside(self):
        with open(path_of("Help/help.css"), encoding="utf-8") as file:
            css = file.read()
        references = re.findall(r"url\(\s*['\"]?([^'\")]+)", css)
        references += re.findall(r"@import\s+['\"]([^'\"]+)", css)
        problems = [local_target_problem(ref, "Help", set()) for ref in references]
        self.assertEqual([p for p in problems if p], [])

    def test_reference_checks_catch_escapes(self):
        ids = {"keys"}
        self.assertIsNone(local_target_problem("images/mox.png", "Help", ids))
        self.assertIsNone(local_target_problem("#keys", "Help", ids))
        for bad in ["https://example.org/a.png", "//host/a.png", "/etc/passwd",
                    "../Resources/btnHelp.png", "images/../../README.md", "#nowhere",
                    "images/none.png", "file:help.css"]:
            with self.subTest(reference=bad):
                self.assertIsNotNone(local_target_problem(bad, "Help", ids))

    def test_balance_check_catches_unclosed_and_crossed_tags(self):
        for broken in ["<div><p>text</div>", "<main><section>", "<b><i>x</b></i>",
                       "<img src='a.png'></img>"]:
            reader = PageReader()
            reader.feed(broken)
            reader.close()
            with self.subTest(html=broken):
                self.assertNotEqual(reader.problems, [])

    def test_page_covers_the_method_keys_settings_and_files(self):
        text = " ".join(" ".join(self.page.text).split())
        for phrase in ["100 − 70 = 30", "30 − 28 = 2", "10 + 4 = 14", "remainder 2",
                       "Enter", "Backspace", "Space", "right mouse button", "number pad",
                       "_", "Esc", "Mouse wheel", "Repeat", "Delete", "Up", "New Question",
                       "Create Question", "Restart Question", "Settings", "Help", "Exit",
                       "lots of", "AutoProduct", "AutoRemainder", "Beginner", "Expert",
                       "Data/levels.txt", "Data/settings.txt", "END,", "Mox", "balloon"]:
            with self.subTest(phrase=phrase):
                self.assertIn(phrase, text)


# ---------------------------------------------------------------------------------------
# Desktop entry


def read_desktop_entry(relative):
    parser = configparser.ConfigParser(interpolation=None, delimiters=("=",),
                                       comment_prefixes=("#",))
    parser.optionxform = str  # keys are case-sensitive
    with open(path_of(relative), encoding="utf-8") as file:
        parser.read_file(file)
    return parser["Desktop Entry"]


class DesktopEntry(unittest.TestCase):
    """The desktop entry starts the program from the Education menu with its icon."""

    def test_required_keys(self):
        entry = read_desktop_entry("packaging/bricketing.desktop")
        self.assertEqual(entry.get("Type"), "Application")
        self.assertEqual(entry.get("Name"), "Bricketing")
        self.assertEqual(entry.get("Exec"), "bricketing")
        self.assertEqual(entry.get("Icon"), "org.quillmoor.Bricketing")
        self.assertEqual(entry.get("Terminal"), "false")
        self.assertTrue(entry.get("Comment", "").strip())
        categories = entry.get("Categories", "")
        self.assertTrue(categories.endswith(";"))
        self.assertIn("Education", categories.split(";"))
        self.assertIn("Math", categories.split(";"))


# ---------------------------------------------------------------------------------------
# Rendering afresh and the installed tree


def rendered_files():
    """Every file the render script writes, relative to the output root."""
    files = list(RUNTIME_PICTURES) + list(DOUBLED_PICTURES) + list(ICON_PICTURES)
    files += ["src/resources/bricketing.ico", "src/resources/about.bmp"]
    images = os.path.join(ROOT, "Help", "images")
    files += [f"Help/images/{name}" for name in sorted(os.listdir(images))]
    return files


class RenderedFromSources(unittest.TestCase):
    """The committed pictures are what art/render makes from the sources today."""

    def test_committed_pictures_match_a_fresh_render(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run(["bash", path_of("art/render"), "--out", out], check=True,
                           stdout=subprocess.DEVNULL)
            for relative in rendered_files():
                with self.subTest(file=relative):
                    fresh_path = os.path.join(out, relative)
                    self.assertTrue(os.path.isfile(fresh_path), "not made by art/render")
                    with open(fresh_path, "rb") as file:
                        fresh = file.read()
                    committed = read_bytes(relative)
                    if relative.endswith(".png"):
                        first, second = Png(committed), Png(fresh)
                        self.assertEqual((first.width, first.height),
                                         (second.width, second.height))
                        # Small tolerance: another ImageMagick or rsvg build may round
                        # edges differently.
                        self.assertLess(mean_difference(first.rgba(), second.rgba()), 1.0)
                    else:
                        self.assertEqual(len(committed), len(fresh))


class InstalledTree(unittest.TestCase):
    """An installed copy has the program, its folders and its desktop integration."""

    def installed(self, relative):
        return os.path.join(INSTALLED, relative)

    def test_layout(self):
        program = self.installed("bin/bricketing")
        self.assertTrue(os.access(program, os.X_OK), "bin/bricketing is not executable")
        for relative in ["share/bricketing/Help/help.html", "share/bricketing/Help/help.css",
                         "share/bricketing/Help/images/mox.png",
                         "share/applications/bricketing.desktop"]:
            with self.subTest(file=relative):
                self.assertTrue(os.path.isfile(self.installed(relative)))
        for relative in {**RUNTIME_PICTURES, **DOUBLED_PICTURES}:
            with self.subTest(file=relative):
                self.assertTrue(os.path.isfile(self.installed("share/bricketing/" + relative)))
        # What a teacher edits is in etc/bricketing, where the program looks for an
        # installed copy's (the prefix here is not /usr); share's Data has the marker.
        for data in ("levels.txt", "settings.txt"):
            with self.subTest(file=data):
                self.assertTrue(os.path.isfile(self.installed("etc/bricketing/" + data)))
        self.assertEqual(os.listdir(self.installed("share/bricketing/Data")), ["installed.txt"])
        with open(self.installed("etc/bricketing/levels.txt"), "rb") as installed, \
                open(path_of("Data/levels.txt"), "rb") as shipped:
            self.assertEqual(installed.read(), shipped.read())
        # The metainfo, the manual page and the scalable icon, as the Debian package has
        # them, named after the application's id where the desktop looks them up.
        for relative in ["share/metainfo/org.quillmoor.Bricketing.metainfo.xml",
                         "share/man/man1/bricketing.1.gz",
                         "share/icons/hicolor/scalable/apps/org.quillmoor.Bricketing.svg"]:
            with self.subTest(file=relative):
                self.assertTrue(os.path.isfile(self.installed(relative)))
        with open(self.installed("share/metainfo/org.quillmoor.Bricketing.metainfo.xml")) as f:
            metainfo = f.read()
        self.assertNotIn("@VERSION@", metainfo)
        self.assertRegex(metainfo, r'<release version="[\d.]+" date="\d{4}-\d\d-\d\d"/>')

    def test_marked_as_an_installed_copy(self):
        # The marker sends each pupil's settings to their own file; a source tree has none.
        self.assertTrue(os.path.isfile(self.installed("share/bricketing/Data/installed.txt")))
        self.assertFalse(os.path.exists(path_of("Data/installed.txt")))

    def test_icons_in_the_hicolor_theme(self):
        for size in ICON_SIZES:
            relative = f"share/icons/hicolor/{size}x{size}/apps/org.quillmoor.Bricketing.png"
            with self.subTest(icon=relative):
                png = Png(open(self.installed(relative), "rb").read())
                self.assertEqual((png.width, png.height), (size, size))


def main():
    global ROOT, INSTALLED
    arguments = sys.argv[1:]
    if not arguments:
        print(__doc__)
        return 2
    ROOT = os.path.abspath(arguments[0])
    loader = unittest.defaultTestLoader
    if "--installed" in arguments:
        INSTALLED = os.path.abspath(arguments[arguments.index("--installed") + 1])
        suite = loader.loadTestsFromTestCase(InstalledTree)
    elif "--rerender" in arguments:
        suite = loader.loadTestsFromTestCase(RenderedFromSources)
    else:
        cases = [PictureFiles, ButtonStrips, Balloon, BoardIcons, ProgramIconFile,
                 AboutPicture, ResourceList, HelpPage, DesktopEntry]
        suite = unittest.TestSuite(loader.loadTestsFromTestCase(case) for case in cases)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
