#!/usr/bin/env python3
"""Checks that the faithful view holds every value the reference decoder
printed for a table, for the structure types both decode.

    reference_values.py LABELS RECORDED.txt VIEW.json [RECORDED.txt VIEW.json ...]

LABELS maps each (type, printed label) to the view's key and how the two
values compare, or says why that label is not compared. Every printed line
of a decoded type must be matched by a row, so what is left out stays in
view. A label "Heading/Text" is a line listed under "Heading:"; a "*" ends
a label that is numbered ("Descriptor *").
"""
import json
import re
import sys

# Types the view decodes field by field; the rest it shows as raw bytes.
DECODED = set(range(0, 46)) | {126, 127}
# Words the reference decoder prints where the view holds null.
NULL_WORDS = {"Unknown", "Not Provided", "Unspecified", "Not Specified",
              "None"}
UNITS = {"bytes": 1, "kB": 1 << 10, "MB": 1 << 20, "GB": 1 << 30,
         "TB": 1 << 40}


def read_labels(path):
    """The rows by (type, label), and the texts the view words otherwise."""
    rows, wording = {}, {}
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        if not line.strip() or line.startswith("#"):
            continue
        cells = line.rstrip("\n").split("\t")
        if cells[0] == "=" and len(cells) == 3:
            wording[plain(cells[1])] = plain(cells[2])
        elif len(cells) == 4:
            rows[(int(cells[0]), cells[1])] = (cells[2], cells[3])
        else:
            sys.exit(f"{path}:{number}: want type, label, key, form")
    return rows, wording


def plain(text):
    """A text with case, blanks and punctuation aside."""
    return re.sub(r"[^0-9a-z]", "", text.lower())


def printed_lines(path):
    """(handle, type, label, value) for every line of a decoded type."""
    handle = kind = heading = None
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        found = re.match(r"Handle 0x([0-9A-F]{4}), DMI type (\d+),", line)
        if found:
            handle, kind = int(found[1], 16), int(found[2])
            continue
        if kind not in DECODED or not line.startswith("\t"):
            continue
        if line.startswith("\t\t"):
            yield handle, kind, heading + "/" + line.strip("\t"), None
            continue
        label, _, value = line[1:].partition(": ")
        heading = label.rstrip(":")
        yield handle, kind, heading, value if _ else None


def row_for(rows, kind, label):
    heading = label.split("/", 1)[0]
    for candidate in (label, re.sub(r"\d+$", "*", label), heading + "/*"):
        if (kind, candidate) in rows:
            return rows[(kind, candidate)]
    return None


def number_in(text, suffix=""):
    text = text.removesuffix(suffix).strip()
    return int(text, 16) if text.startswith("0x") else int(text)


def expected(form, value):
    """The value the view must hold for the printed one, as a Python value;
    None where the view holds null."""
    if form == "text":
        return None if value == "Not Specified" else value
    if value in NULL_WORDS:
        return None
    if form == "number":
        return number_in(value)
    if form.startswith("number "):
        return number_in(value, form.split(" ", 1)[1])
    if form == "size":
        amount, unit = value.split(" (")[0].split()
        return int(amount) * UNITS[unit]
    if form == "volts":
        return round(float(value.removesuffix(" V")) * 1000)
    if form == "hex":
        return int(value, 16)
    if form == "hundredths":
        return round(float(value.split()[0]) * 100)
    raise ValueError(f"unknown form {form!r}")


def holds(fields, key, form, value, wording):
    """Whether the view's field holds the printed value. A form may end in
    "; WORD=VALUE" for a word printed for a code the view keeps as it is,
    and in "; /KEY" for a value printed multiplied by another field."""
    form, *options = [part.strip() for part in form.split(";")]
    field = fields[key]
    values = field if isinstance(field, list) else [field]
    if form in ("item", "present", "words", "flag"):
        texts = {plain(v) for v in values if isinstance(v, str)}
        if form == "present":
            return True
        if form == "words":
            return all(word in fields for word in value.split())
        if form == "flag":
            name, _, answer = value.partition(": ")
            return (plain(name) in texts) == (answer == "Yes")
        if value == "None" and field == []:
            return True
        return wording.get(plain(value), plain(value)) in texts
    if form == "jedec":
        found = re.fullmatch(r"Bank (\d+), Hex 0x([0-9A-F]{2})", value)
        return found is not None and isinstance(field, int) and (
            (field & 0x7F) + 1 == int(found[1])
            and field >> 8 == int(found[2], 16))
    wanted = set()
    for option in options:
        if option.startswith("/"):
            value = str(number_in(value.split()[0]) // fields[option[1:]])
        elif option.split("=", 1)[0] == value:
            wanted.add(number_in(option.split("=", 1)[1]))
    try:
        wanted.add(expected(form, value))
    except (ValueError, KeyError):
        pass
    return any(w in values for w in wanted)


def check(labels, recorded, view):
    rows, wording = labels
    structures = {s["handle"]: s for s in json.load(open(view))["structures"]}
    faults = []
    listed = {}
    for handle, kind, label, value in printed_lines(recorded):
        row = row_for(rows, kind, label)
        where = f"{recorded}: handle 0x{handle:04X} type {kind} {label!r}"
        if row is None:
            faults.append(f"{where}: no row says how it compares")
            continue
        key, form = row
        if form.startswith("not compared"):
            continue
        if handle not in structures:
            faults.append(f"{where}: the view has no such structure")
            continue
        fields = structures[handle]["fields"]
        if value is None and "/" in label:
            value = label.split("/", 1)[1]
        if form.startswith("listed"):
            if form == "listed handle":
                value = int(value.split()[0], 16)
            listed.setdefault((handle, key), []).append(value)
        elif key not in fields:
            faults.append(f"{where}: the view has no {key!r}")
        elif value is None and form != "present":
            faults.append(f"{where}: a heading compared as {form}")
        elif not holds(fields, key, form, value, wording):
            faults.append(f"{where}: {value!r} is not in {key!r}: "
                          f"{json.dumps(fields[key])}")
    for (handle, key), values in listed.items():
        field = structures[handle]["fields"].get(key)
        if (field if isinstance(field, list) else [field]) != values:
            faults.append(f"{recorded}: handle 0x{handle:04X}: {key!r} holds "
                          f"{json.dumps(field)}, not {json.dumps(values)}")
    return faults


def main():
    labels = read_labels(sys.argv[1])
    pairs = sys.argv[2:]
    faults = []
    for recorded, view in zip(pairs[0::2], pairs[1::2]):
        faults += check(labels, recorded, view)
    for fault in faults:
        print(fault)
    print(f"{len(faults)} printed values the view does not hold")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
