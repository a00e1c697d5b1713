#!/usr/bin/env python3
"""tallyvane-convert --column against a model made with Python's csv module.

Generated contact files, with quoted commas, doubled quotes, line breaks inside
fields, text after a closing quote, blank cells, short and long rows, a
byte-order mark and every line end, alone or split over several files, go
through the program; the model reads the same file with the csv module, asks
the program's one-entry-per-line mode for each cell's result, and writes the
rows with csv.writer. The two outputs must be the same bytes.

Usage: test_column_model.py TALLYVANE_CONVERT
"""
import csv
import io
import os
import random
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
random.seed(20261208)

NAMES = ["Ann Smith", "Smith, Ann", 'Bob "The Builder" Jones', "José Müller", " padded ",
         "=HYPERLINK(\"x\")", "two\nlines", "O'Brien"]
PHONES = ["(603) 237-4934", "1-201-555-0142", "+44 20 7946 0958", "867-5309", "",
          "800-555-1212", "212.555.0199", "+1 907 555 0100", "@603", "NH"]
STATES = ["NH", "new jersey", " NH", "Nowhere", "", "Québec"]


MALFORMED = "MALFORMED-NAME"  # written as text after a closing quote: "Bob" Smith


def generated(rows, column_values):
    table = [["Name", "Phone", "Email", "Notes"]]
    for i in range(rows):
        row = [random.choice(NAMES + [MALFORMED]), random.choice(column_values),
               f"p{i}@example.com",
               random.choice(["", "call back", "a, b", 'say "hi"', "line\r\nbreak"])]
        if random.random() < 0.05:
            row = row[:1]  # short: no phone at all
        elif random.random() < 0.05:
            row = row[:2]  # short, with its phone
        elif random.random() < 0.05:
            row = row + ["extra", "more, extra"]  # longer than the header
        table.append(row)
    return table


def render(table, delimiter, end, mark):
    text = io.StringIO()
    csv.writer(text, delimiter=delimiter, lineterminator=end).writerows(table)
    text = text.getvalue().replace(MALFORMED, '"Bob" Smith')
    return (("\ufeff" if mark else "") + text).encode()


def results(cells, direction, reason):
    """The program's own answer for each cell, one entry per line."""
    args = [PROGRAM, "-d", direction, "-f", "tsv"] + (["--reason"] if reason else [])
    out = subprocess.run(args, input="\n".join(cells).encode() + b"\n", capture_output=True,
                         check=True).stdout.decode()
    return [line.split("\t")[1:] for line in out.split("\n")[:-1]]


def read(data, delimiter):
    text = data.decode()
    return list(csv.reader(io.StringIO(text.lstrip("\ufeff"), newline=""), delimiter=delimiter))


def model(files, delimiter, end, column, direction, reason, name):
    """The files as one table: the first file's header and mark, the result
    under its heading, short rows padded, long rows' extra fields after it."""
    header = read(files[0], delimiter)[0]
    body = [row for data in files for row in read(data, delimiter)[1:]]
    at = header.index(column)
    width = len(header)
    asked = [row[at] for row in body if len(row) > at and row[at]]
    answers = iter(results(asked, direction, reason))
    blank = [""] * (2 if reason else 1)
    out = [header + [name] + (["Reason"] if reason else [])]
    for row in body:
        cell = row[at] if len(row) > at else ""
        result = next(answers) if cell else blank
        out.append(row[:width] + [""] * (width - len(row)) + result + row[width:])
    counts = {"no field for": sum(len(row) <= at for row in body),
              "shorter than the header": sum(len(row) < width for row in body),
              "longer than the header": sum(len(row) > width for row in body)}
    return render(out, delimiter, end, files[0].startswith(b"\xef\xbb\xbf")), counts


def check(what, table_values, delimiter, end, mark, column, direction, reason, arguments, name,
          files=1):
    table = generated(400, table_values)
    parts = [table[1 + i * 400 // files:1 + (i + 1) * 400 // files] for i in range(files)]
    # Each file has the header; the first lacks its last line end, a later one has a mark.
    datas = [render([table[0]] + part, delimiter, end, mark if i == 0 else i == 1)
             for i, part in enumerate(parts)]
    if files > 1:
        datas[0] = datas[0][:-len(end)]
    expected, counts = model(datas, delimiter, end, column, direction, reason, name)
    malformed = sum(data.count(b'"Bob" Smith') for data in datas)
    paths = []
    with tempfile.TemporaryDirectory() as folder:
        for i, data in enumerate(datas):
            paths.append(os.path.join(folder, f"part{i}.csv"))
            with open(paths[-1], "wb") as file:
                file.write(data)
        run = subprocess.run([PROGRAM] + arguments + (paths if files > 1 else []),
                             input=datas[0] if files == 1 else None, capture_output=True)
    if run.returncode != 0 or run.stdout != expected:
        got = run.stdout.split(b"\n")
        want = expected.split(b"\n")
        first = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), None)
        sys.exit(f"FAIL {what}: status {run.returncode}, {run.stderr.decode()!r}; "
                 f"first different line {first}: {got[first] if first is not None else ''!r} "
                 f"against {want[first] if first is not None else ''!r}")
    said = run.stderr.decode()
    counts["after a closing quote"] = malformed
    for words, count in counts.items():
        line = next((line for line in said.splitlines() if words in line), "")
        if (count > 0) != line.startswith(f"tallyvane-convert: {count} row"):
            sys.exit(f"FAIL {what}: {count} rows {words}, standard error: {said!r}")
    print(f"PASS {what}")


check("CR LF with a mark, by name", PHONES, ",", "\r\n", True, "Phone", "states", False,
      ["--column", "Phone"], "State")
check("LF, reasons", PHONES, ",", "\n", False, "Phone", "states", True,
      ["--column", "Phone", "--reason"], "State")
check("semicolons, by position", PHONES, ";", "\r\n", False, "Phone", "states", False,
      ["-c", "2", "--header", "--delimiter", ";", "--result-name", "Where"], "Where")
check("tabs", PHONES, "\t", "\n", False, "Phone", "states", False,
      ["--column", "Phone", "--delimiter", "tab"], "State")
check("states to area codes", STATES, ",", "\r\n", False, "Phone", "area-codes", True,
      ["--column", "Phone", "--to", "area-codes", "--reason"], "Area Codes")
check("three files as one table", PHONES, ",", "\r\n", True, "Phone", "states", False,
      ["--column", "Phone"], "State", files=3)
