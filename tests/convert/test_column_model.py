#!/usr/bin/env python3
"""tallyvane-convert --column against a model made with Python's csv module.

Generated contact files, with quoted commas, doubled quotes, line breaks inside
fields, blank cells, ragged rows, a byte-order mark and every line end, go
through the program; the model reads the same file with the csv module, asks
the program's one-entry-per-line mode for each cell's result, and writes the
rows with csv.writer. The two outputs must be the same bytes.

Usage: test_column_model.py TALLYVANE_CONVERT
"""
import csv
import io
import random
import subprocess
import sys

PROGRAM = sys.argv[1]
random.seed(20261208)

NAMES = ["Ann Smith", "Smith, Ann", 'Bob "The Builder" Jones', "José Müller", " padded ",
         "=HYPERLINK(\"x\")", "two\nlines", "O'Brien"]
PHONES = ["(603) 237-4934", "1-201-555-0142", "+44 20 7946 0958", "867-5309", "",
          "800-555-1212", "212.555.0199", "+1 907 555 0100", "@603", "NH"]
STATES = ["NH", "new jersey", " NH", "Nowhere", "", "Québec"]


def generated(rows, column_values):
    table = [["Name", "Phone", "Email", "Notes"]]
    for i in range(rows):
        row = [random.choice(NAMES), random.choice(column_values), f"p{i}@example.com",
               random.choice(["", "call back", "a, b", 'say "hi"', "line\r\nbreak"])]
        if random.random() < 0.05:
            row = row[:1]  # ragged: no phone at all
        table.append(row)
    return table


def render(table, delimiter, end, mark):
    text = io.StringIO()
    csv.writer(text, delimiter=delimiter, lineterminator=end).writerows(table)
    return (("\ufeff" if mark else "") + text.getvalue()).encode()


def results(cells, direction, reason):
    """The program's own answer for each cell, one entry per line."""
    args = [PROGRAM, "-d", direction, "-f", "tsv"] + (["--reason"] if reason else [])
    out = subprocess.run(args, input="\n".join(cells).encode() + b"\n", capture_output=True,
                         check=True).stdout.decode()
    return [line.split("\t")[1:] for line in out.split("\n")[:-1]]


def model(data, delimiter, end, column, direction, reason, name):
    text = data.decode()
    mark = text.startswith("\ufeff")
    rows = list(csv.reader(io.StringIO(text.lstrip("\ufeff"), newline=""),
                           delimiter=delimiter))
    header, body = rows[0], rows[1:]
    at = header.index(column)
    asked = [row[at] for row in body if len(row) > at and row[at]]
    answers = iter(results(asked, direction, reason))
    out = [header + [name] + (["Reason"] if reason else [])]
    for row in body:
        cell = row[at] if len(row) > at else ""
        out.append(row + (next(answers) if cell else [""] * (2 if reason else 1)))
    return render(out, delimiter, end, mark), sum(len(row) <= at for row in body)


def check(what, table_values, delimiter, end, mark, column, direction, reason, arguments, name):
    data = render(generated(400, table_values), delimiter, end, mark)
    expected, lacking = model(data, delimiter, end, column, direction, reason, name)
    run = subprocess.run([PROGRAM] + arguments, input=data, capture_output=True)
    if run.returncode != 0 or run.stdout != expected:
        got = run.stdout.split(b"\n")
        want = expected.split(b"\n")
        first = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), None)
        sys.exit(f"FAIL {what}: status {run.returncode}, {run.stderr.decode()!r}; "
                 f"first different line {first}: {got[first] if first is not None else ''!r} "
                 f"against {want[first] if first is not None else ''!r}")
    said = run.stderr.decode()
    if (lacking > 0) != (str(lacking) in said):
        sys.exit(f"FAIL {what}: {lacking} rows lack the column, standard error: {said!r}")
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
