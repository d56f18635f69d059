#!/usr/bin/env python3
"""The help page names the program's own texts (button captions, dialog texts, the
tutor's notes); each translated page must name them as the program shows them in that
language. For every language with both catalogues, a help message that is wholly one
of the program's texts, or quotes one in <q>...</q>, must carry the program
catalogue's translation of it. Texts the program's catalogue leaves untranslated are
not checked (the program shows them in English). Exits 1 naming each mismatch.
  tests/po/check_help_words.py [ROOT]"""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "po"))
from check_placeholders import entries  # noqa: E402  (the one PO reader)

QUOTED = re.compile(r"<q>(.*?)</q>", re.S)


def shown(text):
    """A program text as the help names it: the quotes around "lots of" are the dialog's."""
    return text[1:-1] if len(text) > 2 and text[0] == text[-1] == '"' else text


def program_words(path):
    """English text -> every translation the catalogue gives it (contexts differ)."""
    words = {}
    for _, fuzzy, entry in entries(path):
        english, translated = entry.get("msgid"), entry.get("msgstr", entry.get("msgstr[0]"))
        if english and translated and not fuzzy and "{" not in english:
            words.setdefault(shown(english), set()).add(shown(translated))
    return words


def mismatches(help_po, words):
    found = []
    for line, fuzzy, entry in entries(help_po):
        english, translated = entry.get("msgid", ""), entry.get("msgstr", "")
        if fuzzy or not english or not translated:
            continue
        if english in words and translated not in words[english]:
            found.append(f"{help_po}:{line}: {english!r} is {translated!r}, the program "
                         f"says {' or '.join(sorted(words[english]))!r}")
        for quote in QUOTED.findall(english):
            wanted = words.get(quote, set())
            if wanted and not any(f"<q>{w}</q>" in translated for w in wanted):
                found.append(f"{help_po}:{line}: <q>{quote}</q> is not quoted as the "
                             f"program says it: {' or '.join(sorted(wanted))!r}")
    return found


def main():
    found = []
    with open(os.path.join(ROOT, "po", "LINGUAS"), encoding="utf-8") as languages:
        codes = [code.strip() for code in languages if re.match(r"^[a-zA-Z_]+$", code.strip())]
    for code in codes:
        help_po = os.path.join(ROOT, "po", "help", f"{code}.po")
        if os.path.exists(help_po):
            found += mismatches(help_po, program_words(os.path.join(ROOT, "po", f"{code}.po")))
    print("\n".join(found) or f"help pages name the program's texts as it does ({len(codes)} languages)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
