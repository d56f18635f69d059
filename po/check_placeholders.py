#!/usr/bin/env python3
"""Checks that every translation in the PO files given keeps its source's {placeholders}:
the same names, none lost, none added, none misspelt. A translation that drops
"{divisor}" would show a sentence without its number; msgfmt cannot see that.
Fuzzy and untranslated entries are skipped, as msgfmt leaves them out of the catalogue.
Exits 1 and names each fault as file:line when any translation differs."""
import re
import sys

PLACEHOLDER = re.compile(r"\{([A-Za-z_][A-Za-z0-9_]*)\}")


def unquote(text):
    body = text.strip()[1:-1]
    return re.sub(r'\\(.)', lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), body)


def entries(path):
    """Yields (line, fuzzy, {field: text}) for each entry; field msgstr[n] for plurals."""
    entry, fuzzy, field, start = {}, False, None, 0
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(list(lines) + [""], 1):
            line = line.rstrip("\n")
            if line.startswith("#,") and "fuzzy" in line:
                fuzzy = True
            elif line.startswith('"') and field:
                entry[field] += unquote(line)
            elif re.match(r"^(msgctxt|msgid|msgid_plural|msgstr(\[\d+\])?) ", line):
                if line.startswith(("msgid ", "msgctxt ")) and "msgstr" in "".join(entry):
                    yield start, fuzzy, entry
                    entry, fuzzy = {}, False
                if not entry:
                    start = number
                field, _, value = line.partition(" ")
                entry[field] = unquote(value)
            elif not line.strip():
                if entry:
                    yield start, fuzzy, entry
                entry, fuzzy, field = {}, False, None


def faults(path):
    for line, fuzzy, entry in entries(path):
        if fuzzy or not entry.get("msgid"):
            continue
        for field, text in entry.items():
            if not field.startswith("msgstr") or not text:
                continue
            source = entry["msgid_plural"] if field not in ("msgstr", "msgstr[0]") and \
                "msgid_plural" in entry else entry["msgid"]
            wanted = sorted(PLACEHOLDER.findall(source))
            found = sorted(PLACEHOLDER.findall(text))
            if wanted != found:
                yield (f"{path}:{line}: {field} has placeholders {found or 'none'}, "
                       f"its source {wanted or 'none'}")


def main(paths):
    problems = [fault for path in paths for fault in faults(path)]
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
