#!/usr/bin/env python3
"""Checks that a catalogue translates every user-visible English text of the sources.

The texts are the string literals given to localized(), localizedFormat() and to the small
wrappers that forward their argument to them, and both wordings of the Linux vocabulary table.
Each must have a translation in the catalogue that is not empty, not fuzzy, and carries exactly
the placeholders (%1 to %9) of the English text.

Usage: check_catalogue.py SOURCE_ROOT CATALOGUE.po [--missing]
  --missing prints the texts without a translation as catalogue entries to fill in.
"""

import re
import sys
from pathlib import Path

SOURCE_FOLDERS = ("KestrixKit", "KestrixApp", "kestrixctl", "UDisks2")
VOCABULARY_TABLE = "KestrixKit/Text/LinuxWords.cpp"
TRANSLATING_CALLS = {"localized", "localizedFormat"}
# A function of one text parameter whose body hands it on to a translating call.
WRAPPER = re.compile(
    r"\b(\w+)\s*\(\s*(?:const\s+char\s*\*|std::string_view|const\s+std::string\s*&|const\s+QString\s*&)\s*(\w+)\s*\)"
    r"\s*(?:const\s*)?\{[^{}]*?\b(?:localized|localizedFormat)\s*\(\s*\2\b")
ESCAPES = {"n": "\n", "t": "\t", '"': '"', "'": "'", "\\": "\\", "?": "?", "a": "\a", "r": "\r", "0": "\0"}


def unescape(body):
    result, index = [], 0
    while index < len(body):
        char = body[index]
        if char != "\\":
            result.append(char)
            index += 1
            continue
        kind = body[index + 1]
        if kind in "uU":
            width = 4 if kind == "u" else 8
            result.append(chr(int(body[index + 2:index + 2 + width], 16)))
            index += 2 + width
        elif kind == "x":
            digits = re.match(r"[0-9a-fA-F]+", body[index + 2:]).group(0)
            result.append(chr(int(digits, 16)))
            index += 2 + len(digits)
        else:
            result.append(ESCAPES.get(kind, kind))
            index += 2
    return "".join(result)


LITERAL = re.compile(r'(?:u8|L|u|U)?"((?:[^"\\\n]|\\.)*)"')
GAP = re.compile(r"(?:\s|//[^\n]*\n|/\*.*?\*/)*", re.S)


def literal_sequence(text, start):
    """The adjacent string literals at `start` joined, or None when there is no literal."""
    pieces, position = [], GAP.match(text, start).end()
    while True:
        match = LITERAL.match(text, position)
        if not match:
            break
        pieces.append(unescape(match.group(1)))
        position = GAP.match(text, match.end()).end()
    return "".join(pieces) if pieces else None


def source_files(root):
    for folder in SOURCE_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix in (".cpp", ".h") and "Tests" not in path.relative_to(root).parts:
                yield path


def english_texts(root):
    files = {path: path.read_text(encoding="utf-8") for path in source_files(root)}
    shared_wrappers = {match.group(1) for path, text in files.items() if path.suffix == ".h"
                       for match in WRAPPER.finditer(text)}
    texts = {}
    for path, text in files.items():
        calls = TRANSLATING_CALLS | shared_wrappers | {match.group(1) for match in WRAPPER.finditer(text)}
        for match in re.finditer(r"\b(" + "|".join(sorted(calls)) + r")\s*\(", text):
            english = literal_sequence(text, match.end())
            if english:
                texts.setdefault(english, f"{path.relative_to(root)}:{text.count(chr(10), 0, match.start()) + 1}")
    vocabulary = (root / VOCABULARY_TABLE).read_text(encoding="utf-8")
    for english, position in literal_sequences(vocabulary, vocabulary.index("table{")):
        texts.setdefault(english, f"{VOCABULARY_TABLE}:{vocabulary.count(chr(10), 0, position) + 1}")
    return texts


def literal_sequences(text, position):
    """Every run of adjacent string literals in the text from `position`, joined, with where it starts."""
    while (match := LITERAL.search(text, position)):
        english = literal_sequence(text, match.start())
        yield english, match.start()
        position = match.start()
        while (next_literal := LITERAL.match(text, GAP.match(text, position).end())):
            position = next_literal.end()


def catalogue(path):
    """msgid to (msgstr, fuzzy) for every entry of a .po file."""
    entries, current, field, fuzzy = {}, {}, None, False

    def finish():
        nonlocal current, fuzzy
        if "msgid" in current and current["msgid"]:
            entries[current["msgid"]] = (current.get("msgstr", ""), fuzzy)
        current, fuzzy = {}, False

    for line in path.read_text(encoding="utf-8").splitlines():
        line = line.strip()
        if line.startswith("#,") and "fuzzy" in line:
            fuzzy = True
        elif line.startswith("msgid "):
            finish() if "msgstr" in current else None
            field = "msgid"
            current[field] = unescape(line[len("msgid "):].strip()[1:-1])
        elif line.startswith("msgstr "):
            field = "msgstr"
            current[field] = unescape(line[len("msgstr "):].strip()[1:-1])
        elif line.startswith('"') and field:
            current[field] += unescape(line[1:-1])
        elif not line:
            finish()
            field = None
    finish()
    return entries


def placeholders(text):
    return sorted(re.findall(r"%[1-9]", text))


def po_string(text):
    escaped = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n").replace("\t", "\\t")
    return f'"{escaped}"'


def main(arguments):
    root, po = Path(arguments[1]), Path(arguments[2])
    texts, translations = english_texts(root), catalogue(po)
    problems, missing = [], []
    for english, where in sorted(texts.items(), key=lambda item: item[1]):
        translation, fuzzy = translations.get(english, ("", False))
        if not translation or fuzzy:
            missing.append((english, where))
            problems.append(f"{where}: no translation of {english!r}")
        elif placeholders(translation) != placeholders(english):
            problems.append(f"{where}: the translation of {english!r} has placeholders "
                            f"{placeholders(translation)}, the English {placeholders(english)}")
    if "--missing" in arguments:
        for english, where in missing:
            print(f"#: {where}\nmsgid {po_string(english)}\nmsgstr \"\"\n")
        return 0
    for problem in problems:
        print(problem)
    print(f"{len(texts)} texts, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
