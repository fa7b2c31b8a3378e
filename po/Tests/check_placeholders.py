#!/usr/bin/env python3
"""Checks that every entry of a catalogue is translated and keeps the English text's placeholders.

Whether every text the app shows has an entry is not read from the sources here: the scene test
renders every view in each language and fails on any lookup the catalogue cannot answer.
This check covers what that cannot see: a translation that drops or invents a %1..%9, an entry
left empty or fuzzy, and plural forms that differ from their English.

Usage: check_placeholders.py CATALOGUE.po
"""

import re
import sys
from pathlib import Path

ESCAPES = {"n": "\n", "t": "\t", '"': '"', "\\": "\\"}
FIELD = re.compile(r'^(msgctxt|msgid|msgid_plural|msgstr(?:\[\d+\])?)\s+"(.*)"$')


def unescape(body):
    return re.sub(r"\\(.)", lambda match: ESCAPES.get(match.group(1), match.group(1)), body)


def entries(path):
    """Each entry as a dict of its fields, with whether it is marked fuzzy."""
    found, current, field, fuzzy = [], {}, None, False

    def finish():
        nonlocal current, fuzzy
        if current.get("msgid"):
            found.append((current, fuzzy))
        current, fuzzy = {}, False

    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        match = FIELD.match(line)
        if line.startswith("#,") and "fuzzy" in line:
            fuzzy = True
        elif match:
            if match.group(1) in ("msgctxt", "msgid") and any(key.startswith("msgstr") for key in current):
                finish()
            field = match.group(1)
            current[field] = unescape(match.group(2))
        elif line.startswith('"') and field:
            current[field] += unescape(line[1:-1])
        elif not line:
            finish()
            field = None
    finish()
    return found


def placeholders(text):
    return sorted(set(re.findall(r"%[1-9]", text)))


def problems(path):
    for entry, fuzzy in entries(path):
        english = entry["msgid"]
        wanted = placeholders(english + entry.get("msgid_plural", ""))
        forms = {key: text for key, text in entry.items() if key.startswith("msgstr")}
        if fuzzy or not forms or any(not text for text in forms.values()):
            yield f"{english!r} has no finished translation"
            continue
        for key, text in forms.items():
            if placeholders(text) != wanted:
                yield f"{english!r} {key} has placeholders {placeholders(text)}, the English {wanted}"


def main(arguments):
    found = list(problems(Path(arguments[1])))
    for problem in found:
        print(problem)
    print(f"{len(found)} problems")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
